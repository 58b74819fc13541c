// The script check: small scripts and the problems each must give and must not give, the files a script
// shares its globals with, and the linter's codes as the editor chooses them.
#include "lua/ScriptCheck.h"

#include "support/QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
const QStringList ApiNames = { "addhook", "timer", "parse", "player", "msg", "msg2", "function", "end" };

struct TExpected {
    ProblemSeverity severity;
    QString marked; // the text under the problem's range
    QString message; // a part of its message
};

struct TCase {
    const char* what;
    QString script;
    std::vector<TExpected> given;
    QStringList notGiven; // no message holds any of these
};

TCheckResult CheckText(TScriptChecker& checker, const QString& script, bool linter = false)
{
    TCheckInput input;
    input.text = script;
    input.apiNames = ApiNames;
    input.linter = linter;
    return checker.Check(input);
}

QString Described(const TCheckResult& result, const QString& script)
{
    QString all;
    for (const TProblem& p : result.problems)
        all += QStringLiteral("\n  [%1] %2: %3")
                   .arg(int(p.severity))
                   .arg(script.mid(p.start, p.end - p.start), p.message);
    return all;
}

void ExpectCases(TScriptChecker& checker, const std::vector<TCase>& cases, bool linter)
{
    for (const TCase& c : cases) {
        const TCheckResult result = CheckText(checker, c.script, linter);
        const QString all = Described(result, c.script);
        for (const TExpected& e : c.given) {
            const bool found = std::any_of(result.problems.begin(), result.problems.end(), [&](const TProblem& p) {
                return p.severity == e.severity && c.script.mid(p.start, p.end - p.start) == e.marked
                    && p.message.contains(e.message);
            });
            EXPECT_TRUE(found) << c.what << ": no \"" << e.message.toStdString() << "\" on \"" << e.marked.toStdString()
                               << "\"; got" << all.toStdString();
        }
        for (const QString& absent : c.notGiven) {
            for (const TProblem& p : result.problems)
                EXPECT_FALSE(p.message.contains(absent)) << c.what << ": " << p.message.toStdString();
        }
        for (const TProblem& p : result.problems) {
            EXPECT_TRUE(p.start >= 0 && p.start < p.end && p.end <= c.script.size()) << c.what;
            EXPECT_EQ(c.script.left(p.start).count(u'\n'), p.line) << c.what;
        }
    }
}

bool LinterInstalled()
{
    return QFileInfo::exists(QStringLiteral("/usr/share/lua/5.1/luacheck/init.lua"));
}

TEST(ScriptCheckTest, TheGameRulesFindWhatTheGameWouldFailOnSilently)
{
    const auto W = ProblemSeverity::Warning;
    const auto H = ProblemSeverity::Hint;
    const std::vector<TCase> cases = {
        { "misspelled hook", "addhook(\"joni\", \"onJoin\")\nfunction onJoin(id) end",
            { { W, "\"joni\"", "Unknown hook \"joni\" (not in the editor's list of hooks); did you mean \"join\"?" } },
            {} },
        { "hook far from any", "addhook('qqqqqqqq', 'f') function f() end",
            { { W, "'qqqqqqqq'", "can be added to tarvane-le-hooks.txt" } }, { "did you mean" } },
        { "handler defined after its addhook", "addhook(\"join\", \"onJoin\")\n\nfunction onJoin(id)\nend", {},
            { "" } },
        { "handler never defined", "addhook(\"join\", \"onJoin\")",
            { { W, "\"onJoin\"", "Handler \"onJoin\" is not defined in this script" } }, {} },
        { "dotted handler of a table the script never defines", "addhook(\"hit\", \"zm.onhit\")",
            { { H, "\"zm.onhit\"", "neither is the table \"zm\"" } }, {} },
        { "dotted handler of a table the script defines", "zm = {}\naddhook(\"hit\", \"zm.onhit\")",
            { { W, "\"zm.onhit\"", "is not defined in this script" } }, {} },
        { "every way of defining a handler",
            "function a(id) end\nfunction zm.b(id) end\nfunction zm:c() end\nlocal function d() end\n"
            "e = function(id) end\nzm.f = function(id) end\nlocal t = { g = function() end, s = { h = function() end } "
            "}\n"
            "addhook('join', 'a') addhook('join', 'zm.b') addhook('join', 'zm.c') addhook('join', 'd')\n"
            "addhook('join', 'e') addhook('join', 'zm.f') addhook('join', 't.g') addhook('join', 't.s.h')",
            {}, { "" } },
        { "names built at run time", "addhook(h, handler)\naddhook(\"jo\" .. \"in\", \"f\" .. n)\ntimer(1, name)", {},
            { "" } },
        { "a field named like a handler is not the global",
            "t = { onJoin = 1 }\nlocal zm = { onJoin = function() end }\n"
            "addhook(\"join\", \"onJoin\")",
            { { W, "\"onJoin\"", "is not defined" } }, {} },
        { "more parameters than the hook passes",
            "addhook(\"join\", \"j\")\nfunction j(id, extra, more) end\n"
            "addhook(\"second\", \"s\") function s(n) end\n"
            "addhook(\"join\", \"v\") function v(...) end",
            { { H, "j", "Handler \"j\" takes 3 parameters, but hook \"join\" passes 1: id" },
                { H, "s", "hook \"second\" passes none" } },
            { "\"v\"" } },
        { "a method's self takes the hook's first argument",
            "zm = {}\nfunction zm:onjoin(id) end\naddhook('join', 'zm.onjoin')",
            { { H, "zm:onjoin", "takes 2 parameters" } }, {} },
        { "timer functions",
            "timer(1000, \"tick\")\ntimer(f(1, 2), \"tock\", \"\", 2) function tock() end\n"
            "timer(500, \"parse\", \"say hi\")\nx.timer(1, 'nothing')",
            { { W, "\"tick\"", "Timer function \"tick\" is not defined" } }, { "tock", "parse", "nothing" } },
        { "colour codes",
            "msg(\"\\169255000000ok \u00a9000255000\")\nmsg(\"\u00a925500000x\")\nmsg('\\169300000000')\n"
            "-- \u00a912 in a comment\nmsg([[\\16912]]) msg(\"\\1690\")",
            { { W, "\u00a925500000", "Colour code \"\u00a925500000\" needs nine digits" },
                { W, "\\169300000000", "red is 300, above 255" }, { W, "\\1690", "needs nine digits" } },
            { "\u00a912", "\\16912" } },
        { "a syntax error does not stop the rules", "x = = 1\naddhook('joni', 'f') function f() end",
            { { ProblemSeverity::Error, "=", "unexpected symbol near '='" }, { W, "'joni'", "Unknown hook" } }, {} },
        { "a string left open", "msg(\"abc\nx = 1",
            { { ProblemSeverity::Error, "\"abc", "unfinished string near '\"abc'" } }, {} },
    };
    TScriptChecker checker;
    ExpectCases(checker, cases, false);
    EXPECT_TRUE(CheckText(checker, "x = = 1").syntaxError);
    EXPECT_FALSE(CheckText(checker, "x = 1").syntaxError);
}

TEST(ScriptCheckTest, HooksTheUserAddedAreKnown)
{
    QStringList errors;
    const std::vector<TGameHook> added = ParseExtraHooks(u"# since 2.1\n\nkey(id, key, state)\r\nrain()\nbad hook\n"
                                                         u"  weather  \nx(1)\n",
        &errors);
    ASSERT_EQ(added.size(), 3u);
    EXPECT_EQ(added[0].name, "key");
    EXPECT_EQ(added[0].parameters, QStringList({ "id", "key", "state" }));
    EXPECT_EQ(added[1].parameters, QStringList());
    EXPECT_EQ(added[2].name, "weather");
    EXPECT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors.value(0).startsWith("line 5: \"bad hook\"")) << errors.value(0).toStdString();
    EXPECT_TRUE(errors.value(1).startsWith("line 7: ")) << errors.value(1).toStdString();

    TScriptChecker checker;
    TCheckInput input;
    input.text = "addhook(\"key\", \"k\") function k(id, key, state, extra) end\naddhook(\"kex\", \"k\")";
    input.linter = false;
    input.extraHooks = added;
    const TCheckResult result = checker.Check(input);
    ASSERT_EQ(result.problems.size(), 2u) << Described(result, input.text).toStdString();
    EXPECT_EQ(
        result.problems[0].message, "Handler \"k\" takes 4 parameters, but hook \"key\" passes 3: id, key, state");
    EXPECT_TRUE(result.problems[1].message.endsWith("did you mean \"key\"?"))
        << result.problems[1].message.toStdString();
    input.extraHooks.clear();
    EXPECT_TRUE(checker.Check(input).problems[0].message.startsWith("Unknown hook \"key\""));
}

void Write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

TEST(ScriptCheckTest, NamesOfTheFolderAndOfDofilesCount)
{
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const QString mod = temporary.filePath("my mod");
    const QString game = temporary.filePath("game");
    // A Latin-1 sibling with CR LF lines, as Windows editors write them.
    Write(mod + "/shared.lua", "-- \xa9\r\nfunction fromSibling(id)\r\nend\r\nzm = {}\r\n");
    Write(mod + "/lib/helpers.lua", "function fromDofile() end dofile('sys/lua/deeper.lua')");
    Write(game + "/sys/lua/deeper.lua", "function fromGameFolder() end");
    Write(mod + "/main.lua", "function fromTheFileOnDisk() end");
    TCheckInput input;
    input.scriptPath = mod + "/main.lua";
    input.gameFolder = game;
    input.linter = false;
    input.text = "dofile(\"lib/helpers.lua\")\naddhook('join', 'fromSibling') addhook('join', 'fromDofile')\n"
                 "addhook('join', 'fromGameFolder') addhook('hit', 'zm.onhit') addhook('join', 'fromTheFileOnDisk')";
    TScriptChecker checker;
    TCheckResult result = checker.Check(input);
    ASSERT_EQ(result.problems.size(), 2u) << Described(result, input.text).toStdString();
    EXPECT_TRUE(result.problems[0].message.startsWith("Handler \"zm.onhit\" is not defined in this script"));
    EXPECT_EQ(result.problems[0].severity, ProblemSeverity::Warning); // the sibling defines the table
    EXPECT_TRUE(result.problems[1].message.startsWith("Handler \"fromTheFileOnDisk\""));

    // A changed file is read again; one that went away counts no more.
    Write(mod + "/shared.lua", "function somethingElse() end");
    QFile::remove(mod + "/lib/helpers.lua");
    QFile(mod + "/shared.lua").setFileTime(QDateTime::currentDateTime().addSecs(10), QFileDevice::FileModificationTime);
    result = checker.Check(input);
    EXPECT_EQ(result.problems.size(), 5u) << Described(result, input.text).toStdString();
}

TEST(ScriptCheckTest, TheLinterReportsTheChosenCodes)
{
    if (!LinterInstalled())
        GTEST_SKIP() << "lua-check is not installed";
    const auto W = ProblemSeverity::Warning;
    const auto H = ProblemSeverity::Hint;
    const std::vector<TCase> cases = {
        { "unused local", "local x = 1", { { H, "x", "unused variable 'x'" } }, {} },
        { "columns after wide characters", "local s = \"\u00e9\u20ac\U0001F600\" local y = 2 print(s)",
            { { H, "y", "unused variable 'y'" } }, {} },
        { "undefined global, read-only game name", "print(nothere)\nplayer = 1",
            { { H, "nothere", "accessing undefined variable 'nothere'" },
                { W, "player", "setting read-only global variable 'player'" } },
            {} },
        { "left out: unused arguments, whitespace, the globals the game calls",
            "function onhit(id, src)   \n\treturn id\nend\nfunction later() return onhit(1) end", {},
            { "unused argument", "whitespace", "unused global", "undefined" } },
        { "shadowing, unreachable code, empty blocks",
            "local a = 1\nfunction f()\n  local a = 2\n  if a then end\n  do return a end\n  print(a)\nend\nprint(a)",
            { { H, "a", "shadowing upvalue 'a'" }, { H, "then", "empty if branch" },
                { H, "print(a)", "unreachable code" } },
            {} },
    };
    TScriptChecker checker;
    ExpectCases(checker, cases, true);
    const TCheckResult off = CheckText(checker, "local x = 1", false);
    EXPECT_TRUE(off.problems.empty());
    const TCheckResult broken = CheckText(checker, "local x = = 1", true);
    ASSERT_EQ(broken.problems.size(), 1u) << "the linter stays out of a script that does not compile";
}

TEST(ScriptCheckTest, WhatIsFoundBeforeTheLinterIsHandedOverWhenMuchIsToBeLintedAnew)
{
    if (!LinterInstalled())
        GTEST_SKIP() << "lua-check is not installed";
    TScriptChecker checker;
    checker.earlyLintLength = 60;
    int earlyResults = 0;
    std::vector<TProblem> early;
    const auto check = [&](const QString& script) {
        TCheckInput input;
        input.text = script;
        input.apiNames = ApiNames;
        return checker.Check(input, nullptr, [&](TCheckResult first) {
            ++earlyResults;
            early = first.problems;
        });
    };
    // 81 units: the rest of the script and two functions, each linted on its own.
    const QString script = "addhook('joni', 'f')\nfunction f() local unused = 1 end\nfunction g() return 1 end\n";
    const TCheckResult whole = check(script);
    ASSERT_EQ(earlyResults, 1);
    ASSERT_EQ(early.size(), 1u);
    EXPECT_TRUE(early[0].message.startsWith("Unknown hook"));
    ASSERT_EQ(whole.problems.size(), 2u);
    EXPECT_EQ(whole.problems[0], early[0]);
    EXPECT_TRUE(whole.problems[1].message.contains("unused variable 'unused'"));

    check(script);
    check(QString(script).replace("return 1", "return 2"));
    EXPECT_EQ(earlyResults, 1) << "only 26 units were to be linted anew";
}

TEST(ScriptCheckTest, AMissingLinterIsSaidAndNothingElseChanges)
{
    TScriptChecker checker;
    TCheckInput input;
    input.text = "local x = 1 addhook('joni', 'f') function f() end";
    input.linterModules = QStringLiteral("/nonexistent/lua");
    const TCheckResult result = checker.Check(input);
    EXPECT_EQ(result.linterNote, "The Lua linter (Debian package lua-check) is not installed: no linter warnings.");
    ASSERT_EQ(result.problems.size(), 1u);
    EXPECT_TRUE(result.problems[0].message.startsWith("Unknown hook"));

    const std::atomic<bool> cancel { true };
    const TCheckResult cancelled = checker.Check(input, &cancel);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_TRUE(cancelled.problems.empty());
}
} // namespace
