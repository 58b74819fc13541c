// An installed copy: when the program's folder cannot be written the settings live in the user's
// configuration folder, and with nothing writable the editor runs on the defaults. The probe runs as
// an unprivileged user because permission bits do not stop root.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr uid_t Nobody = 65534;

class ReadOnlyFolderTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        ::chmod(QFile::encodeName(root.path()).constData(), 0755);
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
        const QByteArray native = QFile::encodeName(path);
        if (probeWrites && ::geteuid() == 0) {
            EXPECT_EQ(::chown(native.constData(), Nobody, Nobody), 0);
        }
        ::chmod(native.constData(), probeWrites ? 0755 : 0555);
        return path;
    }

    QString RunProbe(const QString& program, const QString& configHome)
    {
        QProcess probe;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", configHome);
        environment.insert("HOME", configHome);
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        // Qt wants a private runtime folder; without one it would make one in /tmp.
        const QString runtime = Folder("runtime", true);
        ::chmod(QFile::encodeName(runtime).constData(), 0700);
        environment.insert("XDG_RUNTIME_DIR", runtime);
        probe.setProcessEnvironment(environment);
        if (::geteuid() == 0) {
            probe.setChildProcessModifier([] {
                if (::setgroups(0, nullptr) != 0 || ::setresgid(Nobody, Nobody, Nobody) != 0
                    || ::setresuid(Nobody, Nobody, Nobody) != 0)
                    ::_exit(126);
            });
        }
        probe.start(TLE_SETTINGS_PROBE, { program });
        EXPECT_TRUE(probe.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(probe.readAllStandardOutput());
        EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(probe.exitCode(), 0) << qPrintable(output + probe.readAllStandardError());
        return output;
    }

    QTemporaryDir root;
    QStringList folders;
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
