// Reads any bytes as a recovery file: a file it accepts must be exactly one that the writer makes, and
// what the writer makes from any text must read back whole.
#include "FuzzCheck.h"

#include "resources/RecoveryFile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr qsizetype Capacity = 1 << 16;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto snapshot = DecodeRecovery(bytes, Capacity)) {
        FUZZ_CHECK(snapshot->text.size() <= Capacity);
        FUZZ_CHECK(EncodeRecovery(*snapshot) == bytes);
    }

    // The input as a script of any UTF-16 units, odd ones included, and as its path.
    TRecoverySnapshot made;
    made.text = QString(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    made.path = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(std::min<std::size_t>(size, 64)));
    made.time = QDateTime::fromMSecsSinceEpoch(qint64(size) * 1000);
    const auto back = DecodeRecovery(EncodeRecovery(made), Capacity);
    FUZZ_CHECK(back.has_value() && *back == made);
    return 0;
}
