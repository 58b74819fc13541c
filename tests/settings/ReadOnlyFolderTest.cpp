// An installed copy: when the program's folder cannot be written the settings live in the user's
// configuration folder, and with nothing writable the editor runs on the defaults. The probe runs as
// an unprivileged user because permission bits do not stop root.
#include "support/Unprivileged.h"

#include <QFileInfo>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {
class ReadOnlyFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ::chmod(QFile::encodeName(root.path()).constData(), 0755);
        probe = ReachableCopy(TLE_SETTINGS_PROBE, root.path());
        ASSERT_FALSE(probe.isEmpty()) << "cannot copy " TLE_SETTINGS_PROBE;
    }

    // Read-only folders are opened up again so that the temporary folder can be removed.
    void TearDown() override
    {
        for (const QString& folder : folders)
            ::chmod(QFile::encodeName(folder).constData(), 0755);
    }

    QString Folder(const QString& name, bool probeWrites)
    {
        const QString path = root.filePath(name);
        QDir().mkpath(path);
        folders.push_back(path);
        if (probeWrites) {
            EXPECT_TRUE(GiveToNobody(path)) << qPrintable(path);
        }
        ::chmod(QFile::encodeName(path).constData(), probeWrites ? 0755 : 0555);
        return path;
    }

    QString RunProbe(const QString& program, const QString& configHome)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", configHome);
        environment.insert("HOME", configHome);
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        // Qt wants a private runtime folder; without one it would make one in /tmp.
        const QString runtime = Folder("runtime", true);
        ::chmod(QFile::encodeName(runtime).constData(), 0700);
        environment.insert("XDG_RUNTIME_DIR", runtime);
        ShareSanitizerFiles(environment, QFileInfo(probe).absolutePath());
        process.setProcessEnvironment(environment);
        DropToNobody(process);
        process.start(probe, { program });
        EXPECT_TRUE(process.waitForFinished(60000)) << qPrintable(process.errorString());
        const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << qPrintable(output + process.readAllStandardError());
        return output;
    }

    QTemporaryDir root { ReachableTempPath() + "/tle-settings-XXXXXX" };
    QStringList folders;
    QString probe;
};

QByteArray Get(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
} // namespace

TEST_F(ReadOnlyFolderTest, AnInstalledCopyKeepsItsSettingsInTheUserConfigFolder)
{
    const QString program = Folder("program", false);
    const QString configHome = Folder("config", true);
    const QString output = RunProbe(program, configHome);
    const QString configFile = configHome + "/tarvane-le/config.dat";
    EXPECT_TRUE(output.contains("path=" + configFile + "\n")) << qPrintable(output);
    EXPECT_TRUE(output.contains("back=255,255,255\n")) << qPrintable(output);
    EXPECT_EQ(Get(configFile).mid(4, 3), QByteArray("\x01\x02\x03"));
    EXPECT_EQ(Get(configFile).size(), 43);
    EXPECT_FALSE(QFile::exists(program + "/config.dat"));
}

TEST_F(ReadOnlyFolderTest, WithNothingWritableTheEditorRunsOnTheDefaults)
{
    const QString program = Folder("program", false);
    const QString configHome = Folder("config", false);
    const QString output = RunProbe(program, configHome);
    EXPECT_TRUE(output.contains("back=255,255,255\n")) << qPrintable(output);
    EXPECT_FALSE(QFile::exists(program + "/config.dat"));
    EXPECT_FALSE(QFile::exists(configHome + "/tarvane-le"));
}
