// The colour codes of a script in both of their forms, and where a "\169" is an escape and where not.
#include "resources/ColourCodeScanner.h"

#include <QString>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {
using Form = TColourCodeForm;
using Place = TColourCodePlace;
// start, length, r, g, b, form, place
using TFound = std::tuple<qsizetype, qsizetype, int, int, int, Form, Place>;

std::vector<TFound> Found(const QString& script)
{
    std::vector<TFound> found;
    for (const TColourCode& c : FindColourCodes(script))
        found.emplace_back(c.start, c.length, c.r, c.g, c.b, c.form, c.place);
    return found;
}

TEST(ColourCodeScannerTest, FindsBothFormsWhereLuaMakesThem)
{
    const std::pair<QString, std::vector<TFound>> cases[] = {
        { "msg(\"\u00a9255000000Red\")", { { 5, 10, 255, 0, 0, Form::Sign, Place::String } } },
        { "msg('\\169000255000Green')", { { 5, 13, 0, 255, 0, Form::Escape, Place::String } } },
        // Eight digits: the last component is missing.
        { "s = \"\\16925500000\"", { { 5, 12, 255, 0, -1, Form::Escape, Place::String } } },
        { "s = \"\u00a9300000000\"", { { 5, 10, 300, 0, 0, Form::Sign, Place::String } } },
        { "x = \u00a9", { { 4, 1, -1, -1, -1, Form::Sign, Place::Code } } },
        // A decimal escape ends after three digits: the fourth is the code's first.
        { "\"\\1690002550000\"", { { 1, 13, 0, 255, 0, Form::Escape, Place::String } } },
        { "\"\\0169000000000\"", {} },
        // An escaped backslash, then plain text.
        { "\"\\\\169255000000\"", {} },
        { "x = \\169255000000", {} },
        // Nothing is escaped in a long string, whose "]]" does not close a level-2 bracket.
        { "s = [[\\169255000000]]", {} },
        { "s = [==[ ]] \u00a9000000255 ]==] .. \"\\169000000001\"",
            { { 12, 10, 0, 0, 255, Form::Sign, Place::String }, { 32, 13, 0, 0, 1, Form::Escape, Place::String } } },
        { "-- \u00a9255255000 \"\\169255255000\"", { { 3, 10, 255, 255, 0, Form::Sign, Place::Comment } } },
        { "--[[ \"\\169000000000\" ]] f(\"\\169000000001\")", { { 27, 13, 0, 0, 1, Form::Escape, Place::String } } },
        // A string left open ends with its line; one whose break is escaped goes on.
        { "a = \"x\nb = \"\\169000000255\"", { { 12, 13, 0, 0, 255, Form::Escape, Place::String } } },
        { "a = \"x\\\n\\169000000255\"", { { 8, 13, 0, 0, 255, Form::Escape, Place::String } } },
        { "'\u00a9255000000\u00a9000255000'",
            { { 1, 10, 255, 0, 0, Form::Sign, Place::String }, { 11, 10, 0, 255, 0, Form::Sign, Place::String } } },
    };
    for (const auto& [script, found] : cases)
        EXPECT_EQ(Found(script), found) << script.toStdString();
}

TEST(ColourCodeScannerTest, OnlyNineDigitsUpTo255MakeAValidCode)
{
    const std::tuple<const char16_t*, bool, bool> cases[] = {
        { u"\"\u00a9255255255\"", true, true },
        { u"\"\u00a925525525\"", false, false },
        { u"\"\u00a9255256255\"", true, false },
        { u"\"\\169000000999\"", true, false },
    };
    for (const auto& [script, complete, valid] : cases) {
        SCOPED_TRACE(QString::fromUtf16(script).toStdString());
        const std::vector<TColourCode> codes = FindColourCodes(QString::fromUtf16(script));
        ASSERT_EQ(codes.size(), 1u);
        EXPECT_EQ(codes[0].Complete(), complete);
        EXPECT_EQ(codes[0].Valid(), valid);
    }
}
} // namespace
