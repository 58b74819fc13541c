// The command line: the real executable answers --help, --version and mistakes without a display and
// without touching its settings; the parser takes one script, after "--" too.
#include "app/CommandLine.h"

#include "support/QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {
struct TRun {
    int status;
    QString out;
    QString err;
};

TEST(CommandLineTest, TheEditorAnswersWithoutAWindow)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString editor = folder.filePath("tarvane-le");
    ASSERT_TRUE(QFile::copy(TLE_EDITOR, editor));
    const auto run = [&](const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("XDG_CONFIG_HOME", folder.filePath("config"));
        environment.insert("XDG_STATE_HOME", folder.filePath("state"));
        process.setProcessEnvironment(environment);
        process.start(editor, arguments);
        EXPECT_TRUE(process.waitForFinished(10000)) << arguments.join(' ').toStdString();
        return TRun { process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError()) };
    };

    for (const char* option : { "--help", "-h" }) {
        const TRun help = run({ option });
        EXPECT_EQ(help.status, 0) << option;
        EXPECT_TRUE(help.out.startsWith("Usage: tarvane-le [options] [script]\n")) << help.out.toStdString();
        EXPECT_TRUE(help.out.contains("--version")) << help.out.toStdString();
        EXPECT_EQ(help.err, "") << option;
    }
    for (const QStringList& asked : { QStringList { "--version" }, QStringList { "-style", "Fusion", "--version" } }) {
        const TRun version = run(asked);
        EXPECT_EQ(version.status, 0) << version.err.toStdString();
        EXPECT_EQ(version.out, "tarvane-le " TLE_VERSION "\n");
    }
    const std::pair<QStringList, QString> mistakes[] = {
        { { "-x" }, "Unknown option" },
        { { "--frobnicate", "a.lua" }, "Unknown option" },
        { { "a.lua", "-style" }, "Missing value after '-style'." },
    };
    for (const auto& [wrong, message] : mistakes) {
        const TRun error = run(wrong);
        EXPECT_EQ(error.status, 2) << wrong.join(' ').toStdString();
        EXPECT_EQ(error.out, "");
        EXPECT_TRUE(error.err.startsWith("tarvane-le: " + message)) << error.err.toStdString();
        EXPECT_TRUE(error.err.endsWith("Try 'tarvane-le --help' for more information.\n")) << error.err.toStdString();
    }
    // Nothing was read or written: no settings beside the program or in the config folder.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList { "tarvane-le" });
}

TEST(CommandLineTest, OneScriptIsTakenAndTheRestNamed)
{
    const auto parse = [](std::vector<QByteArray> arguments) {
        arguments.insert(arguments.begin(), "tarvane-le");
        std::vector<char*> argv;
        for (QByteArray& argument : arguments)
            argv.push_back(argument.data());
        return ParseCommandLine(int(argv.size()), argv.data());
    };
    const TCommandLine none = parse({});
    EXPECT_EQ(none.action, TCommandLine::Action::Run);
    EXPECT_EQ(none.script, "");
    EXPECT_EQ(none.output, "");

    const TCommandLine dashed = parse({ "--", "-x.lua", "b.lua", "--help" });
    EXPECT_EQ(dashed.action, TCommandLine::Action::Run);
    EXPECT_EQ(dashed.script, "-x.lua");
    EXPECT_TRUE(dashed.scriptNameExact);
    EXPECT_EQ(dashed.output, "tarvane-le: the editor holds one script; ignored: b.lua --help\n");

    EXPECT_TRUE(parse({ "caf\xc3\xa9.lua" }).scriptNameExact);
    EXPECT_FALSE(parse({ "caf\xe9.lua" }).scriptNameExact);
}

// Qt's options go to Qt with their values, in one form or another; after "--" they are names.
TEST(CommandLineTest, QtsOwnOptionsAreLeftToQt)
{
    std::vector<QByteArray> arguments { "tarvane-le", "-style", "Fusion", "--platform", "offscreen", "-reverse",
        "-stylesheet=a.qss", "a.lua", "-geometry", "640x480", "--", "-style", "b.lua" };
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    const TCommandLine line = ParseCommandLine(int(argv.size()), argv.data());
    EXPECT_EQ(line.action, TCommandLine::Action::Run) << line.output.toStdString();
    EXPECT_EQ(line.script, "a.lua");
    EXPECT_EQ(line.output, "tarvane-le: the editor holds one script; ignored: -style b.lua\n");
    const std::vector<char*> qt { argv[0], argv[1], argv[2], argv[3], argv[4], argv[5], argv[6], argv[8], argv[9] };
    EXPECT_EQ(line.guiArguments, qt);
}
} // namespace
