#include "resources/StreamFactory.h"

#include "resources/CStream.h"
#include "resources/Incbin.h"
#include "resources/RamStream.h"
#include "resources/TextStream.h"

#include <optional>
#include <vector>

namespace {
class TIncbinStreamFactory : public TStreamFactory {
public:
    std::unique_ptr<TStream> CreateStream(
        const QString& protocol, const QString& location, bool readable, bool writeable) override
    {
        // Embedded files are part of the executable and never change.
        if (protocol != QLatin1String("incbin") || writeable)
            return nullptr;
        const TIncbin entry = FindIncbin(location);
        if (!entry.bytes)
            return nullptr;
        return std::make_unique<TRamStream>(entry.bytes, entry.size);
    }
};

class TTextStreamFactory : public TStreamFactory {
public:
    std::unique_ptr<TStream> CreateStream(
        const QString& protocol, const QString& location, bool readable, bool writeable) override
    {
        const std::optional<TTextEncoding> encoding = EncodingOf(protocol);
        if (!encoding)
            return nullptr;
        std::unique_ptr<TStream> inner = OpenStream(location, readable, writeable);
        if (!inner)
            return nullptr;
        return std::make_unique<TTextStream>(std::move(inner), *encoding);
    }

private:
    static std::optional<TTextEncoding> EncodingOf(const QString& protocol)
    {
        if (protocol == QLatin1String("latin1"))
            return TTextEncoding::Latin1;
        if (protocol == QLatin1String("utf8"))
            return TTextEncoding::Utf8;
        if (protocol == QLatin1String("utf16be"))
            return TTextEncoding::Utf16BE;
        if (protocol == QLatin1String("utf16le"))
            return TTextEncoding::Utf16LE;
        return std::nullopt;
    }
};

std::vector<std::unique_ptr<TStreamFactory>>& Factories()
{
    static std::vector<std::unique_ptr<TStreamFactory>> factories = [] {
        std::vector<std::unique_ptr<TStreamFactory>> builtIn;
        builtIn.push_back(std::make_unique<TIncbinStreamFactory>());
        builtIn.push_back(std::make_unique<TTextStreamFactory>());
        return builtIn;
    }();
    return factories;
}
} // namespace

void RegisterStreamFactory(std::unique_ptr<TStreamFactory> factory)
{
    Factories().push_back(std::move(factory));
}

std::unique_ptr<TStream> OpenStream(const QString& url, bool readable, bool writeable)
{
    if (!readable && !writeable)
        return nullptr;
    const qsizetype separator = url.indexOf(QLatin1String("::"));
    if (separator < 0) {
        QString path = url;
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        const TCStream::Mode mode = !writeable ? TCStream::Mode::Read
            : !readable                        ? TCStream::Mode::Write
                                               : TCStream::Mode::ReadWrite;
        return TCStream::Open(path, mode);
    }
    const QString protocol = url.left(separator).toLower();
    const QString location = url.mid(separator + 2);
    for (const std::unique_ptr<TStreamFactory>& factory : Factories()) {
        if (std::unique_ptr<TStream> stream = factory->CreateStream(protocol, location, readable, writeable))
            return stream;
    }
    return nullptr;
}
