// config.dat without a window: where it lives, how damaged path lines and foreign bytes read, and
// that a save that fails leaves the old file as it was.
#include "settings/ConfigLocation.h"
#include "settings/ConfigRecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {
void Put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray Get(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
} // namespace

TEST(ConfigLocation, BesideTheProgramUnlessItsFolderIsNotWritable)
{
    QTemporaryDir program;
    EXPECT_EQ(ChooseConfigPath(program.path(), "/xdg", "/home/u"), program.filePath("config.dat"));
    // A folder that does not exist cannot be written either.
    const QString missing = program.filePath("missing");
    EXPECT_EQ(ChooseConfigPath(missing, "/xdg", "/home/u"), "/xdg/tarvane-le/config.dat");
    EXPECT_EQ(ChooseConfigPath(missing, "relative/xdg", "/home/u"), "/home/u/.config/tarvane-le/config.dat");
    EXPECT_EQ(ChooseConfigPath(missing, "", "/home/u"), "/home/u/.config/tarvane-le/config.dat");
    // A packaged editor never writes beside itself, even where it could (root in /usr/bin), unless
    // there is no user folder at all.
    EXPECT_EQ(ChooseConfigPath(program.path(), "/xdg", "/home/u", false), "/xdg/tarvane-le/config.dat");
    EXPECT_EQ(ChooseConfigPath(program.path(), "", "", false), program.filePath("config.dat"));
}

TEST(ConfigRecord, APathLineCutShortIsNotTaken)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("config.dat");
    Put(path, "C:/Tarvane/Tarvane.exe\r\nD:/ded");
    const TConfigRecord record = TConfigRecord::Load(path);
    EXPECT_EQ(record.gamePath, "C:/Tarvane/Tarvane.exe");
    EXPECT_EQ(record.dediPath, "");
    EXPECT_EQ(record.backR, 255);
    EXPECT_EQ(record.Class(TTokenClass::Keyword), (TClassSetting { 0, 0, 50, 1, 0 }));
}

TEST(ConfigRecord, PathsAreUtf8AndOldOneBytePathsStillRead)
{
    EXPECT_EQ(DecodePath("C:/Spiele/M\xfcll.exe"), QString::fromUtf8("C:/Spiele/Müll.exe"));
    EXPECT_EQ(DecodePath("C:/Spiele/M\xc3\xbcll.exe"), QString::fromUtf8("C:/Spiele/Müll.exe"));
    const QString beyondLatin1 = QString::fromUtf8("/opt/\xe6\xb8\xb8\xe6\x88\x8f/Tarvane \xf0\x9f\x8e\xae.exe");
    EXPECT_EQ(DecodePath(EncodePath(beyondLatin1)), beyondLatin1);
    // A line break in a path would shift every byte after it.
    EXPECT_EQ(EncodePath(QString("/a\r\nb") + QChar(0) + "c"), QByteArray("/abc"));
}

TEST(ConfigRecord, AFailedWriteLeavesTheOldFileAndNoTemporary)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("config.dat");
    TConfigRecord old;
    old.gamePath = "C:/old/Tarvane.exe";
    ASSERT_TRUE(old.Save(path));
    const QByteArray oldBytes = Get(path);

    // Files may not grow past 16 bytes: the new file's write fails half-way, as on a full disk.
    rlimit previous;
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 16;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    TConfigRecord changed;
    changed.gamePath = "C:/Program Files/Tarvane/Tarvane.exe";
    const bool saved = changed.Save(path);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(Get(path), oldBytes);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "config.dat" });
}
