#include "resources/StreamBytes.h"

#include "resources/Stream.h"

#include <algorithm>

bool ReadStreamBytes(const std::string& url, std::vector<unsigned char>& bytes)
{
    bytes.clear();
    try {
        std::unique_ptr<TStream> stream = OpenReadStream(QString::fromStdString(url));
        if (!stream)
            return false;
        bytes.resize(size_t(std::max<qint64>(stream->Size() - stream->Pos(), 0)));
        size_t filled = 0;
        for (;;) {
            // Devices that report no size up front are read on in blocks until they end.
            if (filled == bytes.size()) {
                if (stream->Eof())
                    break;
                bytes.resize(bytes.size() + 64 * 1024);
            }
            const qint64 got = stream->Read(bytes.data() + filled, qint64(bytes.size() - filled));
            if (got <= 0)
                break;
            filled += size_t(got);
        }
        bytes.resize(filled);
        stream->Close();
        return true;
    } catch (const TStreamException&) {
        bytes.clear();
        return false;
    }
}
