// The recovery folder: the locks that keep two editors from taking each other's files, and a folder or
// files in it that nobody may turn against the user.
#include "resources/RecoveryStore.h"

#include "support/QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
const TRecoverySnapshot Odd { "/home/m\u00f6d/a b.lua", QString("x\r\n\t\u00a9255000000") + QChar(0xD800),
    QDateTime::fromMSecsSinceEpoch(1765234567890) };

class RecoveryStoreTest : public testing::Test {
protected:
    QString Folder() const { return folder.filePath("state/tarvane-le/recovery"); }
    QTemporaryDir folder;
};

// Two editors side by side: each keeps its own file while it runs; once one is gone, the other finds
// its file, the newest first and damaged ones last.
TEST_F(RecoveryStoreTest, AFileIsOfferedOnlyOnceItsEditorIsGone)
{
    TRecoverySnapshot older = Odd;
    older.time = older.time.addSecs(-60);
    QString firstFile;
    QString secondFile;
    auto second = std::make_unique<TRecoveryStore>(Folder(), 100);
    {
        TRecoveryStore first(Folder(), 100);
        ASSERT_TRUE(first.Write(older).kept);
        ASSERT_TRUE(first.Write(Odd).kept) << "a second copy replaces the first";
        firstFile = first.File();
        ASSERT_TRUE(second->Write(older).kept);
        secondFile = second->File();
        EXPECT_NE(firstFile, secondFile);
        TRecoveryStore third(Folder(), 100);
        EXPECT_TRUE(third.FindLeftOver().empty()) << "both editors still run";
        EXPECT_EQ(QDir(Folder()).entryList({ "*.recovery" }).size(), 2);
    }
    QFile damaged(Folder() + "/left.recovery");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(EncodeRecovery(Odd).chopped(3));
    damaged.close();
    second.reset();

    TRecoveryStore third(Folder(), 100);
    const std::vector<TLeftRecovery> left = third.FindLeftOver();
    ASSERT_EQ(left.size(), 3u);
    EXPECT_EQ(left[0].file, firstFile);
    EXPECT_EQ(left[0].snapshot, Odd);
    EXPECT_EQ(left[1].file, secondFile);
    EXPECT_FALSE(left[2].snapshot.has_value());
    // Taken now: an editor starting meanwhile does not offer them again.
    EXPECT_TRUE(TRecoveryStore(Folder(), 100).FindLeftOver().empty());

    EXPECT_EQ(third.SetAside(left[2].file), left[2].file + ".bad");
    third.Remove(left[1].file);
    third.Adopt(left[0].file);
    EXPECT_EQ(third.File(), firstFile);
    third.Discard();
    third.Close();
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden), QStringList { "left.recovery.bad" })
        << "no lock is left without its file";
}
} // namespace
