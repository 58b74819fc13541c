// Saves that the system refuses: a read-only folder, a read-only file and a full disk. Each runs the
// editor in a child process, as an unprivileged user (permission bits do not stop root) or under a
// file-size limit, and checks that the old file and the document come through intact.
#include "support/Unprivileged.h"

#include <QFileInfo>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class SaveFailureTest : public testing::Test {
protected:
    enum class Child { Unprivileged, FileSizeLimit };

    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        Chmod(root.path(), 0755);
        home = Folder("home", 0755);
        probe = ReachableCopy(TLE_SAVE_PROBE, root.path());
        ASSERT_FALSE(probe.isEmpty()) << "cannot copy " TLE_SAVE_PROBE;
    }

    // Everything is opened up again so that the temporary folder can be removed.
    void TearDown() override
    {
        for (const QString& path : made)
            Chmod(path, 0755);
    }

    static void Chmod(const QString& path, mode_t mode) { ::chmod(QFile::encodeName(path).constData(), mode); }

    // A folder owned by the unprivileged user when the test runs as root.
    QString Folder(const QString& name, mode_t mode, bool giveAway = true)
    {
        const QString path = root.filePath(name);
        QDir().mkpath(path);
        made << path;
        if (giveAway)
            GiveAway(path);
        Chmod(path, mode);
        return path;
    }

    QString Script(const QString& path, const QByteArray& bytes, mode_t mode)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        made << path;
        GiveAway(path);
        Chmod(path, mode);
        return path;
    }

    static void GiveAway(const QString& path) { EXPECT_TRUE(GiveToNobody(path)) << qPrintable(path); }

    // Runs the probe on the script and returns what it printed.
    QString Save(const QString& script, Child child)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("HOME", home);
        environment.insert("XDG_CONFIG_HOME", home);
        environment.insert("XDG_STATE_HOME", home);
        // Qt wants a private runtime folder of the user it runs as.
        const bool unprivileged = child == Child::Unprivileged;
        const QString runtime = Folder(unprivileged ? "runtime-unprivileged" : "runtime", 0700, unprivileged);
        environment.insert("XDG_RUNTIME_DIR", runtime);
        ShareSanitizerFiles(environment, QFileInfo(probe).absolutePath());
        process.setProcessEnvironment(environment);
        // The settings file lands in the probe's own folder.
        process.setWorkingDirectory(home);
        if (unprivileged) {
            DropToNobody(process);
        } else {
            // Room for the settings file, not for the script.
            process.setChildProcessModifier([] {
                const rlimit limit { 100, 100 };
                if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                    ::_exit(126);
            });
        }
        process.start(probe, { script });
        EXPECT_TRUE(process.waitForFinished(60000)) << qPrintable(process.errorString());
        const QString output = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << qPrintable(output + process.readAllStandardError());
        return output;
    }

    static void ExpectFailedSave(const QString& output, const QString& name)
    {
        EXPECT_TRUE(output.contains("loaded=1\n")) << qPrintable(output);
        EXPECT_TRUE(output.contains("saved=0\n")) << qPrintable(output);
        EXPECT_TRUE(output.contains("modified=1\n")) << qPrintable(output);
        EXPECT_TRUE(output.contains("title=Tarvane:LE - " + name + "*\n")) << qPrintable(output);
        EXPECT_TRUE(output.contains("request=Notify|Tarvane Lua Editor|Failed to save script!|1\n"))
            << qPrintable(output);
    }

    static void ExpectNoLeftovers(const QString& folder)
    {
        const QStringList hidden = QDir(folder).entryList(QStringList { ".*" }, QDir::Files | QDir::Hidden);
        EXPECT_TRUE(hidden.isEmpty()) << qPrintable(hidden.join(' '));
    }

    QTemporaryDir root { ReachableTempPath() + "/tle-save-XXXXXX" };
    QStringList made;
    QString home;
    QString probe;
};

TEST_F(SaveFailureTest, AReadOnlyFolderKeepsTheOldFile)
{
    const QString folder = Folder("scripts", 0755);
    const QString script = Script(folder + "/locked.lua", "print('old')\n", 0644);
    Chmod(folder, 0555);
    ExpectFailedSave(Save(script, Child::Unprivileged), "locked.lua");
    EXPECT_EQ(Bytes(script), "print('old')\n");
    EXPECT_EQ(
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList { "locked.lua" });
}

TEST_F(SaveFailureTest, AReadOnlyFileKeepsItsBytes)
{
    const QString folder = Folder("scripts", 0755);
    const QString script = Script(folder + "/readonly.lua", "print('old')", 0444);
    ExpectFailedSave(Save(script, Child::Unprivileged), "readonly.lua");
    EXPECT_EQ(Bytes(script), "print('old')");
    ExpectNoLeftovers(folder);
}

TEST_F(SaveFailureTest, AFullDiskKeepsTheOldFile)
{
    const QString folder = Folder("scripts", 0755);
    const QByteArray old = QByteArray(300, '-') + "\nprint('old')";
    const QString script = Script(folder + "/big.lua", old, 0644);
    const QString output = Save(script, Child::FileSizeLimit);
    ExpectFailedSave(output, "big.lua");
    EXPECT_EQ(Bytes(script), old);
    ExpectNoLeftovers(folder);
}

// The same probe succeeds where nothing stands in its way, so the failures above are the system's.
TEST_F(SaveFailureTest, TheUnprivilegedSaveWorksInAWritableFolder)
{
    const QString folder = Folder("scripts", 0755);
    const QString script = Script(folder + "/open.lua", "print('old')", 0644);
    const QString output = Save(script, Child::Unprivileged);
    EXPECT_TRUE(output.contains("saved=1\n")) << qPrintable(output);
    EXPECT_TRUE(output.contains("title=Tarvane:LE - open.lua\n")) << qPrintable(output);
    EXPECT_EQ(Bytes(script), "print('old')\n-- edited");
    ExpectNoLeftovers(folder);
}
} // namespace
