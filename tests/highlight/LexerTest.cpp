// Tests of the Lua line lexer: hand-checked lines, the class rules, and the join invariant on random input.
#include "highlight/Lexer.h"

#include <QString>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Parts = std::vector<std::pair<QString, int>>;

constexpr int O = TLexer::PT_OTHER;
constexpr int S = TLexer::PT_SIGN;
constexpr int W = TLexer::PT_WORD;
constexpr int N = TLexer::PT_NUMBER;
constexpr int Str = TLexer::PT_STRING;
constexpr int C = TLexer::PT_COMMENT;
constexpr int B = TLexer::PT_BRACKET;

QString Q(const char16_t* text)
{
    return QString::fromUtf16(text);
}

// The parts as the text they cover, so a wrong start or length shows as wrong text.
Parts Lex(const QString& line)
{
    std::vector<TLexerSpan> spans;
    TLexer::ScanLine(line, spans);
    Parts parts;
    for (const TLexerSpan& span : spans)
        parts.emplace_back(line.mid(span.Start, span.Length), span.Type);
    return parts;
}

} // namespace

// Lets a failing comparison print the parts readably.
void PrintTo(const std::pair<QString, int>& part, std::ostream* os)
{
    *os << "(\"" << part.first.toStdString() << "\", " << part.second << ")";
}

TEST(LexerTest, EmptyLineIsOneEmptyOtherPartWhateverTheListHeld)
{
    std::vector<TLexerSpan> spans { { 3, 4, TLexer::PT_WORD }, { 7, 1, TLexer::PT_SIGN } };
    TLexer::ScanLine(QStringView(), spans);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(spans[0].Start, 0);
    EXPECT_EQ(spans[0].Length, 0);
    EXPECT_EQ(spans[0].Type, O);
}

TEST(LexerTest, BlanksAndUnclassedCharactersEachStandAlone)
{
    EXPECT_EQ(Lex("x = 10"), (Parts { { "x", W }, { " ", O }, { "=", S }, { " ", O }, { "10", N } }));
    EXPECT_EQ(Lex("  local"), (Parts { { " ", O }, { " ", O }, { "local", W } }));
    EXPECT_EQ(Lex("\t\r\n"), (Parts { { "\t", O }, { "\r", O }, { "\n", O } }));
    EXPECT_EQ(Lex("??`"), (Parts { { "?", O }, { "?", O }, { "`", O } }));
    // Only ASCII letters are letters: not accented ones, and not the Kelvin sign whose lower case is "k".
    EXPECT_EQ(Lex(Q(u"a\u00E9b")), (Parts { { "a", W }, { Q(u"\u00E9"), O }, { "b", W } }));
    EXPECT_EQ(Lex(Q(u"\u212A1")), (Parts { { Q(u"\u212A"), O }, { "1", N } }));
    EXPECT_EQ(Lex(Q(u"\u0416\u00E9")), (Parts { { Q(u"\u0416"), O }, { Q(u"\u00E9"), O } }));
    // The colouring counts code units, so each half of a surrogate pair is a part of one unit.
    const QString emoji = QString::fromUcs4(U"\U0001F600");
    EXPECT_EQ(Lex(emoji), (Parts { { emoji.left(1), O }, { emoji.mid(1), O } }));
    EXPECT_EQ(Lex(QString(QChar(0)) + "x"), (Parts { { QString(QChar(0)), O }, { "x", W } }));
}

TEST(LexerTest, DigitsContinueWordsButLettersStartNewOnes)
{
    EXPECT_EQ(Lex("123abc"), (Parts { { "123", N }, { "abc", W } }));
    EXPECT_EQ(Lex("abc123 msg2"), (Parts { { "abc123", W }, { " ", O }, { "msg2", W } }));
    EXPECT_EQ(Lex("_x9_Y"), (Parts { { "_x9_Y", W } }));
    EXPECT_EQ(Lex("End END end"), (Parts { { "End", W }, { " ", O }, { "END", W }, { " ", O }, { "end", W } }));
    EXPECT_EQ(Lex("1.5"), (Parts { { "1", N }, { ".", S }, { "5", N } }));
    EXPECT_EQ(Lex("0x1F"), (Parts { { "0", N }, { "x1F", W } }));
    // A digit after a blank does not join the word before the blank.
    EXPECT_EQ(Lex("a 1"), (Parts { { "a", W }, { " ", O }, { "1", N } }));
}

TEST(LexerTest, SignsAndBracketsRunTogether)
{
    EXPECT_EQ(Lex("a==b"), (Parts { { "a", W }, { "==", S }, { "b", W } }));
    EXPECT_EQ(Lex("~=..=-"), (Parts { { "~=..=-", S } }));
    EXPECT_EQ(Lex("f()})"), (Parts { { "f", W }, { "()})", B } }));
    // "<" and ">" are brackets, so "<=" is a bracket and a sign.
    EXPECT_EQ(Lex("<="), (Parts { { "<", B }, { "=", S } }));
    EXPECT_EQ(Lex("[=["), (Parts { { "[", B }, { "=", S }, { "[", B } }));
    EXPECT_EQ(Lex(Q(u"\u00A9255000000")), (Parts { { Q(u"\u00A9"), S }, { "255000000", N } }));
    EXPECT_EQ(Lex("\\|@#$%^&!;:,*/+"), (Parts { { "\\|@#$%^&!;:,*/+", S } }));
}

TEST(LexerTest, DoubleDashCommentsRunToTheEndOfTheLine)
{
    EXPECT_EQ(Lex("a --b"), (Parts { { "a", W }, { " ", O }, { "--b", C } }));
    EXPECT_EQ(Lex("-- x = 'y'"), (Parts { { "-- x = 'y'", C } }));
    EXPECT_EQ(Lex("=--x"), (Parts { { "=", S }, { "--x", C } }));
    EXPECT_EQ(Lex("--[[ not long\n"), (Parts { { "--[[ not long\n", C } }));
    EXPECT_EQ(Lex("a-b-"), (Parts { { "a", W }, { "-", S }, { "b", W }, { "-", S } }));
    EXPECT_EQ(Lex("x--"), (Parts { { "x", W }, { "--", C } }));
}

TEST(LexerTest, QuotedStringsCloseOnlyOnTheirOwnQuote)
{
    EXPECT_EQ(Lex("print('a'..'b')"),
        (Parts { { "print", W }, { "(", B }, { "'a'", Str }, { "..", S }, { "'b'", Str }, { ")", B } }));
    EXPECT_EQ(Lex("'say \"hi\"' x"), (Parts { { "'say \"hi\"'", Str }, { " ", O }, { "x", W } }));
    EXPECT_EQ(Lex("\"it's\" y"), (Parts { { "\"it's\"", Str }, { " ", O }, { "y", W } }));
    EXPECT_EQ(Lex("\"\""), (Parts { { "\"\"", Str } }));
    EXPECT_EQ(Lex("\"-- no comment\" z"), (Parts { { "\"-- no comment\"", Str }, { " ", O }, { "z", W } }));
    // Not closed on its line: the rest of the line, line break included, is the string.
    EXPECT_EQ(
        Lex("s = \"abc -- d\n"), (Parts { { "s", W }, { " ", O }, { "=", S }, { " ", O }, { "\"abc -- d\n", Str } }));
    EXPECT_EQ(Lex("'"), (Parts { { "'", Str } }));
}

TEST(LexerTest, BackslashEscapesAQuoteOnlyWhenAlone)
{
    // "a\"b" then a comment: the escaped quote stays inside.
    EXPECT_EQ(Lex(R"("a\"b"--c)"), (Parts { { R"("a\"b")", Str }, { "--c", C } }));
    // "a\\" is closed by its last quote.
    EXPECT_EQ(Lex(R"("a\\"--c)"), (Parts { { R"("a\\")", Str }, { "--c", C } }));
    // Without a real closing quote the comment marker is string text.
    EXPECT_EQ(Lex(R"("a\"--c)"), (Parts { { R"("a\"--c)", Str } }));
    EXPECT_EQ(Lex(R"('\'' x)"), (Parts { { R"('\'')", Str }, { " ", O }, { "x", W } }));
    // Only the two characters before the quote are looked at, so three backslashes close as two do.
    EXPECT_EQ(Lex(R"("\\\"x)"), (Parts { { R"("\\\")", Str }, { "x", W } }));
    // A backslash outside a string is a sign.
    EXPECT_EQ(Lex(R"(\"a")"), (Parts { { "\\", S }, { "\"a\"", Str } }));
}

TEST(LexerTest, AdjacentStringsMergeIntoOnePart)
{
    EXPECT_EQ(Lex("\"a\"\"b\""), (Parts { { "\"a\"\"b\"", Str } }));
    EXPECT_EQ(Lex("'a'\"b\"[[c]]d"), (Parts { { "'a'\"b\"[[c]]", Str }, { "d", W } }));
    EXPECT_EQ(Lex("\"a\" \"b\""), (Parts { { "\"a\"", Str }, { " ", O }, { "\"b\"", Str } }));
}

TEST(LexerTest, DoubleBracketStringsEndAtDoubleClosingBracket)
{
    EXPECT_EQ(Lex("t[[x]]y"), (Parts { { "t", W }, { "[[x]]", Str }, { "y", W } }));
    EXPECT_EQ(Lex("[[a]b]]c"), (Parts { { "[[a]b]]", Str }, { "c", W } }));
    EXPECT_EQ(Lex("[[]]"), (Parts { { "[[]]", Str } }));
    EXPECT_EQ(
        Lex("a = [[open -- 'x"), (Parts { { "a", W }, { " ", O }, { "=", S }, { " ", O }, { "[[open -- 'x", Str } }));
    EXPECT_EQ(Lex("[["), (Parts { { "[[", Str } }));
    EXPECT_EQ(Lex("x["), (Parts { { "x", W }, { "[", B } }));
}

TEST(LexerTest, LinesOfTypicalScriptsSplitAsExpected)
{
    const std::vector<std::pair<QString, Parts>> table = {
        { "local function f(a, b) return a .. b end",
            { { "local", W }, { " ", O }, { "function", W }, { " ", O }, { "f", W }, { "(", B }, { "a", W }, { ",", S },
                { " ", O }, { "b", W }, { ")", B }, { " ", O }, { "return", W }, { " ", O }, { "a", W }, { " ", O },
                { "..", S }, { " ", O }, { "b", W }, { " ", O }, { "end", W } } },
        { "if x ~= nil then print(\"x = \" .. x) end -- done",
            { { "if", W }, { " ", O }, { "x", W }, { " ", O }, { "~=", S }, { " ", O }, { "nil", W }, { " ", O },
                { "then", W }, { " ", O }, { "print", W }, { "(", B }, { "\"x = \"", Str }, { " ", O }, { "..", S },
                { " ", O }, { "x", W }, { ")", B }, { " ", O }, { "end", W }, { " ", O }, { "-- done", C } } },
        { "addhook(\"say\", \"onSay\")\n",
            { { "addhook", W }, { "(", B }, { "\"say\"", Str }, { ",", S }, { " ", O }, { "\"onSay\"", Str },
                { ")", B }, { "\n", O } } },
        { Q(u"msg(\"\u00A9255000000Hello\")"),
            { { "msg", W }, { "(", B }, { Q(u"\"\u00A9255000000Hello\""), Str }, { ")", B } } },
        { "t[#t+1]={x=1.5}",
            { { "t", W }, { "[", B }, { "#", S }, { "t", W }, { "+", S }, { "1", N }, { "]", B }, { "=", S },
                { "{", B }, { "x", W }, { "=", S }, { "1", N }, { ".", S }, { "5", N }, { "}", B } } },
        { "\tif a<=b and c>=0x1F then",
            { { "\t", O }, { "if", W }, { " ", O }, { "a", W }, { "<", B }, { "=", S }, { "b", W }, { " ", O },
                { "and", W }, { " ", O }, { "c", W }, { ">", B }, { "=", S }, { "0", N }, { "x1F", W }, { " ", O },
                { "then", W } } },
        { R"(s = 'it\'s' .. [[long]]..)",
            { { "s", W }, { " ", O }, { "=", S }, { " ", O }, { R"('it\'s')", Str }, { " ", O }, { "..", S },
                { " ", O }, { "[[long]]", Str }, { "..", S } } },
        { "x = y--comment\r\n",
            { { "x", W }, { " ", O }, { "=", S }, { " ", O }, { "y", W }, { "--comment\r\n", C } } },
    };
    for (const auto& [line, expected] : table)
        EXPECT_EQ(Lex(line), expected) << line.toStdString();
}
