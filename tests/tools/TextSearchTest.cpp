// Finding and replacing over a text stored in two parts: every case runs with the text split at every
// place, so that matches straddling the split are found as well as those on either side, and with the
// text held in UTF-16 and, when it can be, a byte per character.
#include "tools/TextSearch.h"

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {
struct TSplitText {
    QString whole;
    int split;
    QByteArray latin1; // the text a byte per character, when it is held so
    TTextParts Parts() const
    {
        if (!latin1.isNull())
            return TTextParts::Narrow(QLatin1StringView(latin1).first(split), QLatin1StringView(latin1).sliced(split));
        return TTextParts::Wide(QStringView(whole).first(split), QStringView(whole).sliced(split));
    }
};

std::vector<TSplitText> EverySplit(const QString& text)
{
    const bool latin1 = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 256; });
    std::vector<TSplitText> splits;
    for (int split = 0; split <= text.size(); ++split) {
        splits.push_back({ text, split, {} });
        if (latin1)
            splits.push_back({ text, split, text.toLatin1() });
    }
    return splits;
}

struct TFindCase {
    const char* text;
    const char* needle;
    bool matchCase;
    bool wholeWord;
    std::vector<int> forward; // every match, left to right, each found from just after the one before
};

const TFindCase FindCases[] = {
    { "Player player PLAYER", "player", false, false, { 0, 7, 14 } },
    { "Player player PLAYER", "player", true, false, { 7 } },
    { "Player player PLAYER", "Player", true, false, { 0 } },
    { "if x then\n  x = x_1 + xx end", "x", false, true, { 3, 12 } },
    { "if x then\n  x = x_1 + xx end", "X", false, false, { 3, 12, 16, 22, 23 } },
    { "score_2 score2 score .score", "score", true, true, { 15, 22 } },
    { "score_2 score2 score .score", "score", true, false, { 0, 8, 15, 22 } },
    { "aaaa", "aa", true, false, { 0, 1, 2 } },
    { "\u00e9t\u00e9 \u00c9T\u00c9", "\u00e9t\u00e9", false, false, { 0, 4 } },
    { "msg(\"\u00a9255000000hi \u00a9255000000\")", "\u00a9255", true, false, { 5, 18 } },
    { "\u20ac and \u20ac", "\u20ac", true, false, { 0, 6 } },
    { "costs 5 euro", "\u20ac", false, false, {} },
    { "abc", "abcd", false, false, {} },
    { "", "a", false, false, {} },
    { "abc", "", false, false, {} },
};

TEST(TextSearchTest, FindsEachMatchForwardAndBackwardWhereverTheTextIsSplit)
{
    for (const TFindCase& c : FindCases) {
        for (const TSplitText& text : EverySplit(QString::fromUtf8(c.text))) {
            SCOPED_TRACE(testing::Message() << c.text << " / " << c.needle << " split at " << text.split
                                            << (text.latin1.isNull() ? "" : ", a byte each"));
            const TSearchOptions options { .matchCase = c.matchCase, .wholeWord = c.wholeWord };
            const QString needle = QString::fromUtf8(c.needle);
            std::vector<int> forward;
            for (int at = FindForward(text.Parts(), needle, 0, options); at >= 0;
                 at = FindForward(text.Parts(), needle, at + 1, options))
                forward.push_back(at);
            EXPECT_EQ(forward, c.forward);

            std::vector<int> backward;
            for (int at = FindBackward(text.Parts(), needle, int(text.whole.size()), options); at >= 0;
                 at = FindBackward(text.Parts(), needle, at - 1, options))
                backward.insert(backward.begin(), at);
            EXPECT_EQ(backward, c.forward);

            for (int at : c.forward)
                EXPECT_TRUE(IsMatchAt(text.Parts(), needle, at, int(needle.size()), options)) << at;
        }
    }
}

TEST(TextSearchTest, IsMatchAtWantsTheWholeSelectionToBeAMatch)
{
    const QString text = QStringLiteral("xvalue value values");
    const TTextParts parts = TTextParts::Wide(QStringView(text), {});
    const TSearchOptions whole { .matchCase = true, .wholeWord = true };
    EXPECT_TRUE(IsMatchAt(parts, u"value", 7, 5, whole));
    EXPECT_FALSE(IsMatchAt(parts, u"value", 7, 6, whole)) << "a selection longer than the match";
    EXPECT_FALSE(IsMatchAt(parts, u"value", 1, 5, whole)) << "inside a longer word";
    EXPECT_FALSE(IsMatchAt(parts, u"value", 13, 5, whole));
    EXPECT_TRUE(IsMatchAt(parts, u"VALUE", 13, 5, { .matchCase = false, .wholeWord = false }));
    EXPECT_FALSE(IsMatchAt(parts, u"value", 16, 5, whole)) << "running past the end";
}

TEST(TextSearchTest, ReplaceAllRewritesOnlyTheStretchFromTheFirstMatchToTheLast)
{
    struct TCase {
        const char* text;
        const char* needle;
        const char* replacement;
        bool wholeWord;
        int count;
        const char* result;
    };
    const TCase cases[] = {
        { "a = a + ab + a", "a", "value", true, 3, "value = value + ab + value" },
        { "aaa", "a", "aa", false, 3, "aaaaaa" },
        { "aaaa", "aa", "b", false, 2, "bb" },
        { "keep x keep", "x", "", false, 1, "keep  keep" },
        { "nothing here", "zz", "y", false, 0, "nothing here" },
    };
    for (const TCase& c : cases) {
        for (const TSplitText& text : EverySplit(QString::fromUtf8(c.text))) {
            SCOPED_TRACE(testing::Message()
                << c.text << " split at " << text.split << (text.latin1.isNull() ? "" : ", a byte each"));
            const TReplacement r = ReplaceAllMatches(text.Parts(), QString::fromUtf8(c.needle),
                QString::fromUtf8(c.replacement), { .matchCase = true, .wholeWord = c.wholeWord });
            EXPECT_EQ(r.count, c.count);
            QString result = text.whole;
            if (r.count > 0)
                result.replace(r.start, r.end - r.start, r.text);
            EXPECT_EQ(result, QString::fromUtf8(c.result));
        }
    }
}
} // namespace
