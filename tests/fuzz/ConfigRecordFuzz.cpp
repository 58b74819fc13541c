// Reads any bytes as config.dat. Whatever was taken from them must survive being written and read
// again unchanged, and the written file must be stable.
#include "FuzzCheck.h"

#include "settings/ConfigRecord.h"

#include <cstdint>

namespace {
TConfigRecord ReadFrom(std::vector<unsigned char> bytes)
{
    TMemoryStream stream(std::move(bytes));
    TConfigRecord record;
    record.Read(stream);
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
    const TConfigRecord first = ReadFrom({ data, data + size });
    const std::vector<unsigned char> file = Written(first);
    FUZZ_CHECK(file.size() >= std::size_t(4 + TConfigRecord::FixedBytes));
    const TConfigRecord second = ReadFrom(file);
    FUZZ_CHECK(second.gamePath == first.gamePath);
    FUZZ_CHECK(second.dediPath == first.dediPath);
    FUZZ_CHECK(second == first);
    FUZZ_CHECK(Written(second) == file);
    return 0;
}
