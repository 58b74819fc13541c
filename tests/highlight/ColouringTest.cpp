// Tests of the syntax colouring on a text area without a window: keyword rules, unformatted blanks,
// and a full re-colouring that agrees with colouring line by line.
#include "ClassScheme.h"
#include "FakeTextArea.h"
#include "highlight/SyntaxColouring.h"
#include "resources/EmbeddedFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

QString Q(const char16_t* text)
{
    return QString::fromUtf16(text);
}

QStringList RealKeywords()
{
    RegisterEmbeddedFiles();
    const std::optional<QStringList> keywords = LoadKeywordList();
    return keywords.value_or(QStringList {});
}

// The class each character of [pos, pos + length) was formatted with; all must agree.
QString ClassAt(const TFakeTextArea& area, int pos, int length)
{
    const QString first = ClassName(area.StyleAt(pos));
    for (int i = pos + 1; i < pos + length; ++i) {
        if (ClassName(area.StyleAt(i)) != first)
            return QStringLiteral("mixed");
    }
    return first;
}

QString ClassOfWord(const TFakeTextArea& area, const QString& word)
{
    const qsizetype at = area.Text().indexOf(word);
    return at < 0 ? QStringLiteral("missing") : ClassAt(area, static_cast<int>(at), static_cast<int>(word.size()));
}

std::vector<TStyleCall> Sorted(std::vector<TStyleCall> calls)
{
    std::sort(calls.begin(), calls.end(), [](const TStyleCall& a, const TStyleCall& b) {
        return std::tie(a.pos, a.length, a.r) < std::tie(b.pos, b.length, b.r);
    });
    return calls;
}

// Lua-ish text with every construct the lexer knows, unclosed strings and odd characters included.
QString RandomScript(std::mt19937& rng, int pieces)
{
    static const char16_t* const fragments[] = { u"function", u"end", u"End", u"nil", u"msg2", u"endx", u"x1", u"local",
        u"if", u"then", u"12", u"0x1F", u"1.5", u" ", u"  ", u"\t", u"\n", u"\n", u"\n\t", u"\"", u"'", u"\\", u"\\\"",
        u"[[", u"]]", u"[", u"]", u"(", u")", u"{", u"}", u"--", u"-", u"=", u"==", u"..", u"~=", u"\u00A9255",
        u"\u00E9", u"?", u"`", u"#", u"print", u"addhook", u"\"s\"", u"'c'", u"--[[ x ]]" };
    std::uniform_int_distribution<size_t> pick(0, std::size(fragments) - 1);
    QString text;
    for (int k = 0; k < pieces; ++k)
        text += QString::fromUtf16(fragments[pick(rng)]);
    return text;
}

} // namespace

TEST(ColouringTest, KeywordsAreWholeWordsInExactCase)
{
    const QStringList keywords = RealKeywords();
    ASSERT_EQ(keywords.size(), 109);
    TSyntaxColouring colouring(keywords);
    TFakeTextArea area(Q(u"End NIL nil end msg2 endx ai_say2 ai_say"));
    colouring.ColourAll(area, ClassScheme());

    EXPECT_EQ(ClassOfWord(area, "End"), "word");
    EXPECT_EQ(ClassOfWord(area, "NIL"), "word");
    EXPECT_EQ(ClassOfWord(area, "nil"), "word");
    EXPECT_EQ(ClassAt(area, 12, 3), "keyword"); // end
    EXPECT_EQ(ClassOfWord(area, "msg2"), "keyword");
    EXPECT_EQ(ClassOfWord(area, "endx"), "word");
    EXPECT_EQ(ClassOfWord(area, "ai_say2"), "word");
    EXPECT_EQ(ClassAt(area, static_cast<int>(area.Text().size()) - 6, 6), "keyword"); // ai_say

    // Without a keyword list every word is plain text.
    TSyntaxColouring bare;
    TFakeTextArea plain(Q(u"end msg2"));
    bare.ColourAll(plain, ClassScheme());
    EXPECT_EQ(ClassAt(plain, 0, 3), "word");
    EXPECT_EQ(ClassAt(plain, 4, 4), "word");
}

TEST(ColouringTest, KeywordInsideStringOrCommentTakesThatColour)
{
    TSyntaxColouring colouring(RealKeywords());
    TFakeTextArea area(Q(u"s = \"end\" .. 'function' -- end of it\nx = [[then]]"));
    colouring.ColourAll(area, ClassScheme());
    EXPECT_EQ(ClassOfWord(area, "\"end\""), "string");
    EXPECT_EQ(ClassOfWord(area, "'function'"), "string");
    // The comment runs to the end of its line, the line break included.
    EXPECT_EQ(ClassOfWord(area, "-- end of it\n"), "comment");
    EXPECT_EQ(ClassOfWord(area, "[[then]]"), "string");
}

TEST(ColouringTest, BlanksBetweenPartsStayUnformatted)
{
    TSyntaxColouring colouring(RealKeywords());
    TFakeTextArea area(Q(u"x = \"s\" -- c"));
    colouring.ColourLine(area, 0, ClassScheme());

    ASSERT_EQ(area.calls.size(), 4u);
    EXPECT_EQ(area.calls[0], (TStyleCall { 3, 30, 130, 0, 0, 1 })); // x
    EXPECT_EQ(area.calls[1], (TStyleCall { 1, 10, 100, 0, 2, 1 })); // =
    EXPECT_EQ(area.calls[2], (TStyleCall { 5, 50, 150, 0, 4, 3 })); // "s"
    EXPECT_EQ(area.calls[3], (TStyleCall { 6, 60, 160, 2, 8, 4 })); // -- c
    for (int blank : { 1, 3, 7 })
        EXPECT_EQ(area.StyleAt(blank), TFakeStyle {}) << blank;
}

TEST(ColouringTest, EmptyTextFormatsNothing)
{
    TSyntaxColouring colouring(RealKeywords());
    TFakeTextArea area;
    colouring.ColourAll(area, ClassScheme());
    colouring.ColourLine(area, -1, ClassScheme());
    colouring.ColourLine(area, 0, ClassScheme());
    colouring.ColourLine(area, 5, ClassScheme());
    EXPECT_TRUE(area.calls.empty());

    // Blank lines only: nothing either.
    TFakeTextArea blanks(Q(u"\n \n\t\n"));
    colouring.ColourAll(blanks, ClassScheme());
    EXPECT_TRUE(blanks.calls.empty());
}

TEST(ColouringTest, NegativeLineMeansTheCursorLine)
{
    TSyntaxColouring colouring(RealKeywords());
    TFakeTextArea area(Q(u"a = 1\nif b then\nc()"));
    area.SetSelection(9, 4, TextUnit::Chars); // from line 1 into line 2
    colouring.ColourLine(area, -1, ClassScheme());

    ASSERT_EQ(area.calls.size(), 3u);
    EXPECT_EQ(ClassAt(area, 6, 2), "keyword"); // if, at the start of line 1
    EXPECT_EQ(ClassAt(area, 9, 1), "word"); // b
    EXPECT_EQ(ClassAt(area, 11, 4), "keyword"); // then
    EXPECT_EQ(ClassAt(area, 0, 5), "none"); // line 0 untouched
    EXPECT_EQ(ClassAt(area, 16, 3), "none"); // line 2 untouched
}

TEST(ColouringTest, ClassZeroCharactersKeepEarlierFormatting)
{
    TSyntaxColouring colouring(RealKeywords());
    TFakeTextArea area(Q(u"local\t x ? 1\n"));
    area.SetStyle(0, -1, TPartColour { 9, 9, 9, 8 });
    colouring.ColourLine(area, 0, ClassScheme());
    const TFakeStyle earlier { 9, 9, 9, 8 };
    for (int pos : { 5, 6, 8, 9, 10, 12 })
        EXPECT_EQ(area.StyleAt(pos), earlier) << pos;
    EXPECT_EQ(ClassAt(area, 0, 5), "keyword");
    EXPECT_EQ(ClassAt(area, 7, 1), "word");
    EXPECT_EQ(ClassAt(area, 11, 1), "number");

    // Colouring again with new colours replaces every formatted part and still skips the rest.
    TColourScheme changed = ClassScheme();
    changed[TTokenClass::Keyword] = { 200, 0, 0, 3 };
    colouring.ColourLine(area, 0, changed);
    EXPECT_EQ(area.StyleAt(0), (TFakeStyle { 200, 0, 0, 3 }));
    EXPECT_EQ(area.StyleAt(6), earlier);
}

TEST(ColouringTest, FullColouringEqualsColouringEveryLine)
{
    TSyntaxColouring colouring(RealKeywords());
    std::mt19937 rng(20240611);
    for (int round = 0; round < 300; ++round) {
        const QString text = RandomScript(rng, 1 + round % 120);
        TFakeTextArea whole(text);
        TFakeTextArea byLine(text);
        // Earlier formatting that class-0 parts must keep.
        whole.SetStyle(0, -1, TPartColour { 11, 12, 13, 4 });
        byLine.SetStyle(0, -1, TPartColour { 11, 12, 13, 4 });
        whole.calls.clear();
        byLine.calls.clear();
        // Every other round the colouring reads the text where it lies, split by the buffer's gap at
        // some place, often inside a line, and colours a stretch of lines before the whole.
        const int lines = byLine.AreaLen(TextUnit::Lines);
        if (round % 2 == 1) {
            whole.lendsText = true;
            whole.ReplaceText(static_cast<int>(rng() % (text.size() + 1)), 0, QString(), TextUnit::Chars);
            const int first = static_cast<int>(rng() % (lines + 1));
            const int last = first + static_cast<int>(rng() % 4);
            TFakeTextArea part(text);
            part.lendsText = true;
            part.ReplaceText(static_cast<int>(rng() % (text.size() + 1)), 0, QString(), TextUnit::Chars);
            TFakeTextArea partByLine(text);
            colouring.ColourLines(part, first, last, ClassScheme());
            for (int line = first; line <= std::min(last, lines); ++line)
                colouring.ColourLine(partByLine, line, ClassScheme());
            ASSERT_EQ(part.calls, partByLine.calls) << text.toStdString();
        }

        colouring.ColourAll(whole, ClassScheme());
        for (int line = 0; line <= lines; ++line)
            colouring.ColourLine(byLine, line, ClassScheme());

        ASSERT_EQ(Sorted(whole.calls), Sorted(byLine.calls)) << text.toStdString();
        ASSERT_EQ(whole.Styles(), byLine.Styles()) << text.toStdString();
        // Every formatting call lies inside the text and formats at least one character.
        for (const TStyleCall& call : whole.calls) {
            ASSERT_GE(call.pos, 0);
            ASSERT_GE(call.length, 1);
            ASSERT_LE(call.pos + call.length, text.size());
        }
    }
}

TEST(ColouringTest, KeywordListReadsTheResourceAndKeepsTheListWhenMissing)
{
    const QStringList keywords = RealKeywords();
    ASSERT_EQ(keywords.size(), 109);
    EXPECT_EQ(keywords.first(), "function");
    EXPECT_EQ(keywords.last(), "vars");
    EXPECT_TRUE(keywords.contains("msg2"));
    for (const QString& keyword : keywords)
        EXPECT_FALSE(keyword.contains(u'\r') || keyword.contains(u'\n')) << keyword.toStdString();

    EXPECT_FALSE(LoadKeywordList("incbin::incbins/no-such-list.txt").has_value());

    // A list on disk with mixed line ends and no final line break.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile file(folder.filePath("words.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("alpha\r\nbeta\ngamma");
    file.close();
    EXPECT_EQ(LoadKeywordList(file.fileName()), (QStringList { "alpha", "beta", "gamma" }));
    EXPECT_FALSE(LoadKeywordList(folder.filePath("absent.txt")).has_value());
}
