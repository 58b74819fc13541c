// tarvane-le --check: the real executable, copied into a folder of its own with the user's added hooks
// beside it, prints the problems of the scripts named and says with its exit status whether any has an
// error, without a display and without creating a file.
#include "support/QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(CheckCommandTest, ProblemsArePrintedAsCompilersPrintThem)
{
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const QString folder = temporary.filePath("with blanks");
    ASSERT_TRUE(QDir().mkpath(folder + "/scripts"));
    const QString editor = folder + "/tarvane-le";
    ASSERT_TRUE(QFile::copy(TLE_EDITOR, editor));
    Write(folder + "/tarvane-le-hooks.txt", "# hooks the game gained\nkey(id, key, state)\n");
    // Latin-1, as Windows editors save scripts: the "\xa9" is a colour code that lacks a digit.
    Write(folder + "/scripts/good.lua",
        "addhook(\"key\", \"onKey\")\nfunction onKey(id, key, state) end\n"
        "msg(\"\xa9"
        "25500000 \xe9\") addhook(\"joni\", \"onKey\")\n");
    Write(folder + "/scripts/bad.lua", "local s = \"\xc3\xa9\xf0\x9f\x98\x80\" x = = 1\n");
    const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    const auto run = [&](const QStringList& arguments, int expected, const QString& out, const QString& err) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("XDG_CONFIG_HOME", folder + "/config");
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(folder);
        process.start(editor, arguments);
        ASSERT_TRUE(process.waitForFinished(20000)) << arguments.join(' ').toStdString();
        EXPECT_EQ(process.exitCode(), expected) << arguments.join(' ').toStdString();
        EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()), out) << arguments.join(' ').toStdString();
        EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()), err) << arguments.join(' ').toStdString();
    };
    const QString good = "scripts/good.lua:3:6: warning: Colour code \"\u00a925500000\" needs nine digits, three "
                         "each for red, green and blue\n"
                         "scripts/good.lua:3:28: warning: Unknown hook \"joni\" (not in the editor's list of "
                         "hooks); did you mean \"join\"?\n";
    run({ "--check", "scripts/good.lua" }, 0, good, "");
    // The column counts characters: the emoji is one.
    const QString bad = "scripts/bad.lua:1:20: error: unexpected symbol near '=' (the first syntax error: Lua "
                        "reads no further)\n";
    run({ "--check", "scripts/bad.lua", "scripts/good.lua" }, 1, bad + good, "");
    run({ "--check", "scripts/missing.lua", "scripts", "scripts/good.lua" }, 2, good,
        "tarvane-le: cannot read scripts/missing.lua: No such file or directory\n"
        "tarvane-le: cannot read scripts: it is a folder\n");
    run({ "--check" }, 2, "",
        "tarvane-le: --check needs the scripts to check.\nTry 'tarvane-le --help' for more information.\n");
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}
} // namespace
