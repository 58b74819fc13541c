// Loads any bytes as a script is loaded (lines of the text stream joined with "\n") and saves the text
// again, in UTF-8 and in Latin-1. Only what loading itself drops may change: carriage returns, a zero
// ending a line as a line feed does, a line break as the last byte, and in UTF-8 a leading byte-order
// mark.
// Everything else, malformed UTF-8 included, comes back byte for byte.
#include "FuzzCheck.h"

#include "resources/RamStream.h"
#include "resources/TextStream.h"

#include <cstdint>

namespace {
QString Load(const std::uint8_t* data, std::size_t size, TTextEncoding encoding)
{
    TTextStream stream(std::make_unique<TRamStream>(data, qint64(size)), encoding);
    QString text;
    for (bool first = true;; first = false) {
        text += stream.ReadLine();
        if (first && encoding == TTextEncoding::Utf8 && text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        if (stream.Eof())
            break;
        text += QLatin1Char('\n');
    }
    return text;
}

std::vector<unsigned char> Save(const QString& text, TTextEncoding encoding)
{
    auto memory = std::make_unique<TMemoryStream>();
    TMemoryStream* raw = memory.get();
    TTextStream stream(std::move(memory), encoding);
    stream.WriteString(text);
    stream.Flush();
    return raw->Bytes;
}

std::vector<unsigned char> Expected(const std::uint8_t* data, std::size_t size, bool utf8)
{
    // The final line break goes only when it is the very last byte; a carriage return after it leaves
    // an empty last line.
    if (size > 0 && (data[size - 1] == 10 || data[size - 1] == 0))
        --size;
    // The mark counts when it is the first character of the first line, carriage returns aside.
    std::size_t mark = 0;
    while (mark < size && data[mark] == 13)
        ++mark;
    const bool hasMark
        = utf8 && size - mark >= 3 && data[mark] == 0xEF && data[mark + 1] == 0xBB && data[mark + 2] == 0xBF;
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i < size; ++i) {
        if (hasMark && i >= mark && i < mark + 3)
            continue;
        if (data[i] != 13)
            bytes.push_back(data[i] == 0 ? 10 : data[i]);
    }
    return bytes;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString utf8 = Load(data, size, TTextEncoding::Utf8);
    FUZZ_CHECK(Save(utf8, TTextEncoding::Utf8) == Expected(data, size, true));
    // Text that is valid UTF-8 decodes as every other UTF-8 reader decodes it. (A carriage return
    // inside a sequence breaks it, though it is dropped from the text.)
    const std::vector<unsigned char> expected = Expected(data, size, true);
    const QByteArray valid(reinterpret_cast<const char*>(expected.data()), qsizetype(expected.size()));
    const QString strict = QString::fromUtf8(valid);
    if (strict.toUtf8() == valid && std::memchr(data, 13, size) == nullptr)
        FUZZ_CHECK(utf8 == strict);

    const QString latin1 = Load(data, size, TTextEncoding::Latin1);
    FUZZ_CHECK(Save(latin1, TTextEncoding::Latin1) == Expected(data, size, false));
    FUZZ_CHECK(latin1.size() == qsizetype(Expected(data, size, false).size()));
    return 0;
}
