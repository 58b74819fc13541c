#include "highlight/BracketMatch.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {
struct TMatchCase {
    const char* what;
    // The caret stands at "|", which is not part of the text.
    const char* script;
    std::optional<TMatchPart> at;
    std::optional<TMatchPart> partner;
};

class BracketMatchTest : public testing::TestWithParam<TMatchCase> { };

TEST_P(BracketMatchTest, FindsThePartnerOutsideStringsAndComments)
{
    const TMatchCase& c = GetParam();
    QStringList lines = QString::fromUtf8(c.script).split(u'\n');
    int caretLine = 0;
    int caretColumn = 0;
    for (int i = 0; i < lines.size(); ++i) {
        if (const qsizetype at = lines[i].indexOf(u'|'); at >= 0) {
            caretLine = i;
            caretColumn = int(at);
            lines[i].remove(at, 1);
        }
    }
    const auto match
        = MatchAtCaret([&lines](int line) { return lines[line]; }, int(lines.size()), caretLine, caretColumn);
    ASSERT_EQ(match.has_value(), c.at.has_value()) << c.what;
    if (!match)
        return;
    EXPECT_EQ(match->at, *c.at) << c.what;
    EXPECT_EQ(match->partner, c.partner) << c.what;
}

INSTANTIATE_TEST_SUITE_P(LuaSnippets, BracketMatchTest,
    testing::Values(TMatchCase { "after an opener", "f(|a, g(b))", TMatchPart { 0, 1, 1 }, TMatchPart { 0, 9, 1 } },
        TMatchCase { "after a closer, nested", "f(a, g(b)|)", TMatchPart { 0, 8, 1 }, TMatchPart { 0, 6, 1 } },
        TMatchCase {
            "a bracket in a string is skipped", "t = {|\"}\", 1}", TMatchPart { 0, 4, 1 }, TMatchPart { 0, 11, 1 } },
        TMatchCase {
            "a bracket in a comment is skipped", "x = (|1 -- )\n)", TMatchPart { 0, 4, 1 }, TMatchPart { 1, 0, 1 } },
        TMatchCase {
            "a long string's brackets are skipped", "f(|[[ ) ]])", TMatchPart { 0, 1, 1 }, TMatchPart { 0, 9, 1 } },
        TMatchCase { "unmatched", "print(|(1)", TMatchPart { 0, 5, 1 }, std::nullopt },
        TMatchCase { "over lines of other brackets and of none", "t = {|\n\tf(a[1])\n\n\tx = 2\n}",
            TMatchPart { 0, 4, 1 }, TMatchPart { 4, 0, 1 } },
        TMatchCase { "over a line whose bracket is in a string", "f(|\n\ts = \")\"\n)", TMatchPart { 0, 1, 1 },
            TMatchPart { 2, 0, 1 } },
        TMatchCase { "a bracket inside a string has none", "s = \"(|\"", std::nullopt, std::nullopt },
        TMatchCase { "function to end across ifs and loops",
            "|function f()\n\tif a then\n\t\tfor i = 1, 2 do end\n\tend\nend", TMatchPart { 0, 0, 8 },
            TMatchPart { 4, 0, 3 } },
        TMatchCase {
            "end back to its for", "for i = 1, 2 do\n\tx()\ne|nd", TMatchPart { 2, 0, 3 }, TMatchPart { 0, 0, 3 } },
        TMatchCase { "while to its end", "wh|ile x do y() end", TMatchPart { 0, 0, 5 }, TMatchPart { 0, 15, 3 } },
        TMatchCase { "repeat to until", "repeat| x() until done", TMatchPart { 0, 0, 6 }, TMatchPart { 0, 11, 5 } },
        TMatchCase { "a keyword in a comment does not pair", "-- function| f()", std::nullopt, std::nullopt },
        TMatchCase { "an end without its opener", "x()\n|end", TMatchPart { 1, 0, 3 }, std::nullopt }),
    [](const testing::TestParamInfo<TMatchCase>& info) {
        std::string name;
        for (const char* c = info.param.what; *c; ++c)
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });
} // namespace
