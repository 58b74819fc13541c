// The recovery folder: the locks that keep two editors from taking each other's files, and a folder or
// files in it that nobody may turn against the user.
#include "resources/RecoveryStore.h"

#include "support/QStringPrinter.h"
#include "support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace {
const TRecoverySnapshot Odd { "/home/m\u00f6d/a b.lua", QString("x\r\n\t\u00a9255000000") + QChar(0xD800),
    QDateTime::fromMSecsSinceEpoch(1765234567890) };

class RecoveryStoreTest : public testing::Test {
protected:
    void TearDown() override { RecoveryWriteFault = nullptr; }

    QString Folder() const { return folder.filePath("state/tarvane-le/recovery"); }
    static QByteArray Name(const QString& path) { return QFile::encodeName(path); }

    static void Put(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
        file.write(bytes);
    }
    static QByteArray Fetch(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static void MakeOld(const QString& path)
    {
        const timeval longAgo[2] = { { 1000, 0 }, { 1000, 0 } };
        ASSERT_EQ(::lutimes(Name(path).constData(), longAgo), 0);
    }
    static mode_t Mode(const QString& path)
    {
        struct stat info { };
        ::lstat(Name(path).constData(), &info);
        return info.st_mode;
    }
    // A copy in the folder as a store that is gone would have left it, and its text.
    std::optional<TRecoverySnapshot> LeftCopy() const
    {
        TRecoveryStore next(Folder(), 100);
        const std::vector<TLeftRecovery> left = next.FindLeftOver();
        return left.size() == 1 ? left[0].snapshot : std::nullopt;
    }

    QTemporaryDir folder { ReachableTempPath() + "/tle-recovery-XXXXXX" };
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

// A folder that is not this user's own is neither written nor read: copies would be another user's to
// read, and what it offers back another user's to choose.
TEST_F(RecoveryStoreTest, AFolderThatIsNotTheUsersOwnKeepsNoCopies)
{
    ASSERT_TRUE(QDir().mkpath(folder.filePath("elsewhere")));
    ASSERT_TRUE(QDir().mkpath(folder.filePath("state/tarvane-le")));
    Put(folder.filePath("elsewhere/planted.recovery"), EncodeRecovery(Odd));
    ASSERT_TRUE(QFile::link(folder.filePath("elsewhere"), Folder()));
    {
        TRecoveryStore store(Folder(), 100);
        EXPECT_TRUE(store.FindLeftOver().empty()) << "a link in place of the folder";
        EXPECT_TRUE(store.Problem().contains("is a symbolic link")) << store.Problem().toStdString();
        const TRecoveryWrite write = store.Write(Odd);
        EXPECT_FALSE(write.kept);
        EXPECT_EQ(write.problem, store.Problem());
        EXPECT_EQ(QDir(folder.filePath("elsewhere")).entryList(QDir::Files | QDir::Hidden),
            QStringList { "planted.recovery" });
    }
    ASSERT_TRUE(QFile::remove(Folder()));

    // A file where a folder above should be.
    Put(folder.filePath("blocked"), "");
    TRecoveryStore blocked(folder.filePath("blocked/tarvane-le/recovery"), 100);
    EXPECT_TRUE(blocked.Write(Odd).problem.startsWith("cannot create the folder")) << blocked.Problem().toStdString();

    // A folder of this user's that others may enter is closed to them.
    ASSERT_TRUE(QDir().mkpath(Folder()));
    ::chmod(Name(Folder()).constData(), 0777);
    TRecoveryStore open(Folder(), 100);
    EXPECT_TRUE(open.Write(Odd).kept);
    EXPECT_EQ(Mode(Folder()) & 0777, 0700u);
    open.Discard();
    open.Close();

    if (!RunningAsRoot())
        GTEST_SKIP() << "a folder of another user needs root to make";
    Put(Folder() + "/planted.recovery", EncodeRecovery(Odd));
    ASSERT_TRUE(GiveToNobody(Folder() + "/planted.recovery"));
    ASSERT_TRUE(GiveToNobody(Folder()));
    TRecoveryStore foreign(Folder(), 100);
    EXPECT_TRUE(foreign.FindLeftOver().empty());
    EXPECT_TRUE(foreign.Problem().contains("belongs to another user")) << foreign.Problem().toStdString();
    EXPECT_FALSE(foreign.Write(Odd).kept);
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden), QStringList { "planted.recovery" });
}

// Entries that are no copy of this user's are set aside unread: however they came there, they must not
// hold up the start, fill the memory or be offered back.
TEST_F(RecoveryStoreTest, LeftOverEntriesThatAreNoCopiesAreSetAsideUnread)
{
    TRecoveryStore mine(Folder(), 100);
    ASSERT_TRUE(mine.Write(Odd).kept);
    const QString copy = mine.File();
    mine.Close();
    ASSERT_TRUE(QFile::rename(copy, folder.filePath("copy-elsewhere")));

    const auto entry = [&](const QString& name) { return Folder() + "/" + name; };
    ASSERT_TRUE(QFile::link(folder.filePath("copy-elsewhere"), entry("link.recovery")));
    ASSERT_TRUE(QFile::link("/dev/zero", entry("zero.recovery")));
    ASSERT_EQ(::mkfifo(Name(entry("fifo.recovery")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(entry("fifo.recovery"), entry("to-fifo.recovery")));
    ASSERT_TRUE(QDir().mkdir(entry("folder.recovery")));
    // Sparse: bigger than any copy, without taking the room.
    Put(entry("huge.recovery"), EncodeRecovery(Odd));
    ASSERT_TRUE(QFile::resize(entry("huge.recovery"), MaxRecoveryFileSize(100) + 1));
    QStringList expected { "fifo.recovery", "folder.recovery", "huge.recovery", "link.recovery", "to-fifo.recovery",
        "zero.recovery" };
    if (RunningAsRoot()) {
        Put(entry("foreign.recovery"), EncodeRecovery(Odd));
        ASSERT_TRUE(GiveToNobody(entry("foreign.recovery")));
        expected << "foreign.recovery";
    }
    expected.sort();

    TRecoveryStore store(Folder(), 100);
    QStringList found;
    for (const TLeftRecovery& left : store.FindLeftOver()) {
        found << QFileInfo(left.file).fileName();
        EXPECT_FALSE(left.snapshot.has_value()) << qPrintable(left.file);
        EXPECT_EQ(store.SetAside(left.file), left.file + ".bad");
    }
    found.sort();
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(QFileInfo(entry("fifo.recovery.bad")).isSymLink() == false);
    EXPECT_TRUE(S_ISFIFO(Mode(entry("fifo.recovery.bad")))) << "set aside, not replaced";
    EXPECT_TRUE(TRecoveryStore(Folder(), 100).FindLeftOver().empty());
}

// A link planted in place of the editor's own copy is replaced by the next copy, never written through.
TEST_F(RecoveryStoreTest, ALinkInPlaceOfTheOwnCopyIsReplacedNotFollowed)
{
    TRecoveryStore store(Folder(), 100);
    ASSERT_TRUE(store.Write(Odd).kept);
    const QString secret = folder.filePath("secret");
    Put(secret, "root only");
    ASSERT_TRUE(QFile::remove(store.File()));
    ASSERT_TRUE(QFile::link(secret, store.File()));
    TRecoverySnapshot newer = Odd;
    newer.text = "newer";
    EXPECT_TRUE(store.Write(newer).kept);
    EXPECT_EQ(Fetch(secret), "root only");
    EXPECT_TRUE(S_ISREG(Mode(store.File())));
    EXPECT_EQ(DecodeRecovery(Fetch(store.File()), 100), newer);
}

// A kill while a copy was written leaves its temporary file; the next start removes it once its editor
// is surely gone, never one that a running editor is writing.
TEST_F(RecoveryStoreTest, TemporaryFilesOfAKilledEditorGoAtTheNextStart)
{
    TRecoveryStore running(Folder(), 100);
    ASSERT_TRUE(running.Write(Odd).kept);
    const QString runningId = QFileInfo(running.File()).completeBaseName();
    const QString gone = Folder() + "/.0b5e1e7e-dead-4bad-8000-000000000001.recovery.AbC123";
    const QString ofRunning = Folder() + "/." + runningId + ".recovery.XyZ789";
    const QString fresh = Folder() + "/.0b5e1e7e-dead-4bad-8000-000000000002.recovery.New123";
    for (const QString& path : { gone, ofRunning, fresh })
        Put(path, EncodeRecovery(Odd).left(10));
    MakeOld(gone);
    MakeOld(ofRunning);

    TRecoveryStore next(Folder(), 100);
    EXPECT_TRUE(next.FindLeftOver().empty());
    EXPECT_FALSE(QFile::exists(gone));
    EXPECT_TRUE(QFile::exists(ofRunning)) << "its editor still runs";
    EXPECT_TRUE(QFile::exists(fresh)) << "written since this process started";
    next.Close();
    EXPECT_FALSE(QFile::exists(Folder() + "/0b5e1e7e-dead-4bad-8000-000000000001.lock")) << "no lock left behind";
}

// With no room for a second copy beside the old one, the old one is overwritten where it stands; with
// no room at all, the old copy stays whole and the write says why.
TEST_F(RecoveryStoreTest, AFullDiskOverwritesTheOldCopyInPlaceOrSaysWhy)
{
    TRecoveryStore store(Folder(), 100);
    ASSERT_TRUE(store.Write(Odd).kept);
    TRecoverySnapshot longer = Odd;
    longer.text = Odd.text + "typed on";
    RecoveryWriteFault = [](bool inPlace) { return inPlace ? 0 : ENOSPC; };
    EXPECT_TRUE(store.Write(longer).kept);
    EXPECT_EQ(DecodeRecovery(Fetch(store.File()), 100), longer);
    EXPECT_EQ(QDir(Folder()).entryList({ ".*.recovery.*" }, QDir::Files | QDir::Hidden), QStringList {});

    RecoveryWriteFault = [](bool) { return ENOSPC; };
    TRecoverySnapshot lost = longer;
    lost.text = "lost";
    const TRecoveryWrite full = store.Write(lost);
    EXPECT_FALSE(full.kept);
    EXPECT_TRUE(full.problem.startsWith("cannot write to the folder: No space left on device"))
        << full.problem.toStdString();
    EXPECT_EQ(DecodeRecovery(Fetch(store.File()), 100), longer);

    // Room again; a copy that ends after a newer one was placed does not replace it.
    RecoveryWriteFault = nullptr;
    EXPECT_TRUE(store.Write(Odd, 10).kept);
    EXPECT_TRUE(store.Write(lost, 9).kept) << "dropped, the newer copy stands";
    EXPECT_EQ(store.Problem(), "");
    store.Close();
    EXPECT_EQ(LeftCopy(), Odd);
}
} // namespace
