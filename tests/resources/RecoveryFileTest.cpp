// Recovery files: the exact text back, and damage recognised.
#include "resources/RecoveryFile.h"

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {
const TRecoverySnapshot Odd { "/home/m\u00f6d/a b.lua",
    QString("x\r\n\t\u00a9255000000") + QChar(0xD800) + QChar(0) + QString::fromUtf8("\xf0\x9f\x98\x80"),
    QDateTime::fromMSecsSinceEpoch(1765234567890) };

TEST(RecoveryFileTest, TheTextComesBackExactlyAndDamageIsNeverLoaded)
{
    const QByteArray bytes = EncodeRecovery(Odd);
    EXPECT_EQ(DecodeRecovery(bytes, 100), Odd);
    const TRecoverySnapshot empty { {}, {}, Odd.time };
    EXPECT_EQ(DecodeRecovery(EncodeRecovery(empty), 0), empty);

    QByteArray flipped = bytes;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 1);
    const std::pair<const char*, QByteArray> damaged[] = {
        { "empty", {} },
        { "cut short", bytes.chopped(1) },
        { "cut in the header", bytes.left(20) },
        { "one bit flipped", flipped },
        { "grown", bytes + "x" },
        { "another format", "tarvane-le recovery 2" + bytes.mid(21) },
    };
    for (const auto& [name, data] : damaged)
        EXPECT_FALSE(DecodeRecovery(data, 100).has_value()) << name;
    EXPECT_FALSE(DecodeRecovery(bytes, Odd.text.size() - 1).has_value()) << "over capacity";
}
} // namespace
