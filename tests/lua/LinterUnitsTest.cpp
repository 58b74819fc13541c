// The script cut into parts the linter checks one by one: which statements stand alone, and that the
// parts, and a check that reuses what it said of unchanged parts, give exactly the whole script's warnings.
#include "lua/LinterUnits.h"
#include "lua/LuaLinter.h"

#include "support/QStringPrinter.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {
QStringList PartTexts(const QString& script)
{
    QStringList parts;
    for (const TLinterUnit& unit : SplitForLinter(script, ReadLuaTokens(script))) {
        QString part;
        for (const TLinterSegment& segment : unit.segments) {
            EXPECT_EQ(script.left(segment.start).count(u'\n'), segment.line);
            part += script.mid(segment.start, segment.end - segment.start);
        }
        parts << part;
    }
    return parts;
}

TEST(LinterUnitsTest, TopLevelFunctionsThatShareNoLocalStandAlone)
{
    const struct {
        const char* what;
        QString script;
        QStringList parts;
    } cases[] = {
        { "handlers and their addhooks",
            "addhook('join', 'a')\nfunction a(id)\n  return id\nend\n-- b\nfunction b() end\n",
            { "addhook('join', 'a')\n-- b\n", "function a(id)\n  return id\nend\n", "function b() end\n" } },
        { "a function that uses a top-level local stays with it",
            "local n = 0\nfunction up() n = n + 1 end\nfunction other() end",
            { "local n = 0\nfunction up() n = n + 1 end\n", "function other() end" } },
        { "local functions, function values and nested functions stay",
            "local function f() end\nx = function() end\ndo\n  function g() end\nend\n",
            { "local function f() end\nx = function() end\ndo\n  function g() end\nend\n" } },
        { "two statements on a line, a long comment after the end, a call after it",
            "function a() end function b() end\nfunction c() end --[[ goes\non ]]\nfunction d() end\n(f)()\n"
            "function e() end -- short\n",
            { "function a() end function b() end\nfunction c() end --[[ goes\non ]]\nfunction d() end\n(f)()\n",
                "function e() end -- short\n" } },
        { "the linter's options, a top-level return", "-- luacheck: ignore\nfunction a() end\n",
            { "-- luacheck: ignore\nfunction a() end\n" } },
        { "a top-level return", "function a() end\nif x then return end\n",
            { "function a() end\nif x then return end\n" } },
        { "empty", "", { "" } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(PartTexts(c.script), c.parts) << c.what;
}

QString Listed(const TLinterOutcome& outcome)
{
    QStringList lines;
    for (const TLinterIssue& issue : outcome.issues)
        lines << QStringLiteral("%1:%2-%3 %4 %5")
                     .arg(issue.line)
                     .arg(issue.column)
                     .arg(issue.endColumn)
                     .arg(issue.code, issue.message);
    lines.sort();
    return lines.join(u'\n');
}

TLinterOutcome Lint(TLuaLinter& linter, const QString& script, bool split)
{
    const QStringList readGlobals = { "addhook", "player", "msg" };
    const QStringList globals = { "shared", "onhit" };
    const std::vector<TLinterUnit> units = split ? SplitForLinter(script, ReadLuaTokens(script))
                                                 : std::vector<TLinterUnit> { { { { 0, int(script.size()), 0 } } } };
    return linter.Check(script.toLatin1(), units, readGlobals, globals, nullptr);
}

TEST(LinterUnitsTest, ThePartsAndAReusedCheckSayWhatTheWholeScriptGives)
{
    if (!QFileInfo::exists(QStringLiteral("/usr/share/lua/5.1/luacheck/init.lua")))
        GTEST_SKIP() << "lua-check is not installed";
    // Warnings that name a second line (redefined, overwritten), in a part and in the rest; globals the
    // script defines and one it does not; a top-level local seen from a function.
    const QString script = "local count = 0\n"
                           "local count = 1\n"
                           "addhook('hit', 'onhit')\n"
                           "function onhit(id)\n"
                           "  local a = 1\n"
                           "  a = 2\n"
                           "  local a = shared + undefinedname\n"
                           "  return a\n"
                           "end\n"
                           "function bump() count = count + 1 end\n"
                           "local t = { x = 1, x = 2 }\n"
                           "function tick()\n"
                           "  if shared then end\n"
                           "  local unused\n"
                           "end\n"
                           "print(t)\n";
    TLuaLinter whole;
    const QString expected = Listed(Lint(whole, script, false));
    ASSERT_TRUE(expected.contains("on line 5")) << expected.toStdString();
    ASSERT_TRUE(expected.contains("undefinedname")) << expected.toStdString();
    ASSERT_FALSE(expected.contains("'shared'")) << expected.toStdString();
    ASSERT_GE(PartTexts(script).size(), 3);

    TLuaLinter parts;
    EXPECT_EQ(Listed(Lint(parts, script, true)), expected);
    // The same linter again, after edits that move the unchanged parts and change one of them.
    const QString edits[] = { "\n\n" + script, QString(script).replace("local unused", "local unused = 2"),
        QString(script).replace("count = 1", "count = 1\nlocal other") };
    for (const QString& edited : edits) {
        TLuaLinter fresh;
        EXPECT_EQ(Listed(Lint(parts, edited, true)), Listed(Lint(fresh, edited, false))) << edited.toStdString();
    }
}
} // namespace
