// Reads any bytes as config.dat. Whatever was taken from them must survive being written and read
// again unchanged, the written file must be stable, and the bytes reported read must be enough to read it.
#include "FuzzCheck.h"

#include "settings/ConfigRecord.h"

#include <cstdint>

namespace {
TConfigRecord ReadFrom(std::vector<unsigned char> bytes, QByteArray* taken = nullptr)
{
    TMemoryStream stream(std::move(bytes));
    TConfigRecord record;
    record.Read(stream, taken);
    return record;
}

std::vector<unsigned char> Written(const TConfigRecord& record)
{
    TMemoryStream stream;
    record.Write(stream);
    return stream.Bytes;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray taken;
    const TConfigRecord first = ReadFrom({ data, data + size }, &taken);
    // The bytes reported read are the file's start, and all that the record came from.
    FUZZ_CHECK(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)).startsWith(taken));
    FUZZ_CHECK(ReadFrom({ taken.begin(), taken.end() }) == first);
    const std::vector<unsigned char> file = Written(first);
    FUZZ_CHECK(file.size() >= std::size_t(4 + TConfigRecord::FixedBytes));
    const TConfigRecord second = ReadFrom(file);
    FUZZ_CHECK(second.gamePath == first.gamePath);
    FUZZ_CHECK(second.dediPath == first.dediPath);
    FUZZ_CHECK(second == first);
    FUZZ_CHECK(Written(second) == file);
    return 0;
}
