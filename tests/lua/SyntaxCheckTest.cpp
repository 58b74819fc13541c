// The Lua 5.1 compiler on valid and broken scripts: the line it names and its message without the
// script's name; hostile scripts give a message, never a crash.
#include "lua/SyntaxCheck.h"

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {
TEST(SyntaxCheckTest, BrokenScriptsGiveTheirLineAndMessage)
{
    const std::pair<QByteArray, std::optional<TSyntaxError>> cases[] = {
        { "", std::nullopt },
        { "function f(a)\n\treturn loadstring(a), math.atan2(1, 2)\nend\n", std::nullopt },
        { "msg(\"\xc2\xa9"
          "255000000Gr\xc3\xbc\xc3\x9f"
          "e\")\n",
            std::nullopt },
        { "local s = [==[\nline ]] still\n]==]\nx = = 1\n", TSyntaxError { 4, "unexpected symbol near '='" } },
        { "function f()\n\tif a then\n\t\tb()\n\tend\n",
            TSyntaxError { 5, "'end' expected (to close 'function' at line 1) near '<eof>'" } },
        { "print(\"open\n", TSyntaxError { 1, "unfinished string near '\"open'" } },
        // goto is a name in Lua 5.1, and a name alone is no statement.
        { "goto done\n::done::\n", TSyntaxError { 1, "'=' expected near 'done'" } },
    };
    for (const auto& [script, error] : cases)
        EXPECT_EQ(CheckLuaSyntax(script, "my: script.lua"), error) << script.toStdString();
    // However long the script's name, the line is found.
    const QString longName = QString(100, QChar(0x00e9)) + ".lua";
    EXPECT_EQ(CheckLuaSyntax("x = = 1", longName), (TSyntaxError { 1, "unexpected symbol near '='" }));
}

TEST(SyntaxCheckTest, HostileScriptsGiveAMessage)
{
    const QByteArray deep = QByteArray(200000, '(') + "1" + QByteArray(200000, ')');
    const auto nested = CheckLuaSyntax("x = " + deep, "deep.lua");
    ASSERT_TRUE(nested.has_value());
    EXPECT_EQ(nested->line, 1);
    EXPECT_TRUE(nested->message.contains("overflow") || nested->message.contains("levels"))
        << nested->message.toStdString();

    // A table constructor of many constants needs more than a small budget allows.
    QByteArray big = "t = {";
    for (int i = 0; i < 100000; ++i)
        big += QByteArray::number(i) + ".5,";
    big += "}";
    const auto hungry = CheckLuaSyntax(big, "big.lua", std::size_t(1) << 20);
    ASSERT_TRUE(hungry.has_value());
    EXPECT_EQ(hungry->message, "not enough memory");
    EXPECT_FALSE(CheckLuaSyntax(big, "big.lua").has_value()) << "with the usual budget it compiles";
}
} // namespace
