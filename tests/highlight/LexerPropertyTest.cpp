// Checks the lexer's promises on many random lines and on lines with thousands of parts.
#include "highlight/Lexer.h"

#include <QString>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

bool IsLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}
bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}
bool IsBracket(QChar c)
{
    return QStringView(u"<>()[]{}").contains(c);
}
bool IsSign(QChar c)
{
    return QStringView(u"=+-*/:~!;.,\\|@#$%^&\u00A9").contains(c);
}

template <typename Pred> bool All(const QString& text, Pred pred)
{
    for (QChar c : text) {
        if (!pred(c))
            return false;
    }
    return true;
}

// Everything the colouring and the class rules promise about the parts of one line.
void ExpectWellFormed(const std::vector<TLexerSpan>& spans, const QString& line)
{
    const QString where = "line: " + line;
    ASSERT_GE(spans.size(), 1u) << where.toStdString();

    QString joined;
    qsizetype start = 0;
    for (std::size_t k = 0; k < spans.size(); ++k) {
        // Each part starts where the one before it ended.
        ASSERT_EQ(spans[k].Start, start) << where.toStdString() << " part " << k;
        ASSERT_LE(spans[k].Length, line.size() - start) << where.toStdString() << " part " << k;
        const QString part = line.mid(spans[k].Start, spans[k].Length);
        const int type = spans[k].Type;
        SCOPED_TRACE(where.toStdString() + " part " + std::to_string(k));
        joined += part;
        start += part.size();
        if (!line.isEmpty()) {
            EXPECT_FALSE(part.isEmpty());
        }

        switch (type) {
        case TLexer::PT_OTHER:
            if (!line.isEmpty()) {
                ASSERT_EQ(part.size(), 1);
                const QChar c = part[0];
                EXPECT_FALSE(IsLetter(c) || IsDigit(c) || IsBracket(c) || IsSign(c) || c == u'"' || c == u'\'');
            }
            break;
        case TLexer::PT_SIGN:
            EXPECT_TRUE(All(part, IsSign));
            EXPECT_FALSE(part.contains(QStringView(u"--")));
            break;
        case TLexer::PT_WORD:
            EXPECT_TRUE(IsLetter(part[0]));
            EXPECT_TRUE(All(part, [](QChar c) { return IsLetter(c) || IsDigit(c); }));
            break;
        case TLexer::PT_NUMBER:
            EXPECT_TRUE(All(part, IsDigit));
            break;
        case TLexer::PT_STRING:
            EXPECT_TRUE(part.startsWith(u'"') || part.startsWith(u'\'') || part.startsWith(QStringView(u"[[")));
            break;
        case TLexer::PT_COMMENT:
            EXPECT_TRUE(part.startsWith(QStringView(u"--")));
            EXPECT_EQ(k, spans.size() - 1);
            break;
        case TLexer::PT_BRACKET:
            EXPECT_TRUE(All(part, IsBracket));
            break;
        default:
            ADD_FAILURE() << "unknown class " << type;
        }

        if (k > 0) {
            const int before = spans[k - 1].Type;
            // Runs of one class are one part; only blanks and other characters stand alone.
            if (type != TLexer::PT_OTHER) {
                EXPECT_NE(before, type);
            }
            // A digit after a word belongs to the word.
            EXPECT_FALSE(before == TLexer::PT_WORD && type == TLexer::PT_NUMBER);
        }
    }
    EXPECT_EQ(joined, line);
}

QString RandomLine(std::mt19937& random, int maxLength)
{
    // Weighted towards the characters that switch the lexer's state.
    static const char16_t alphabet[]
        = u"aZ_q09 \t\r\n\"\"''\\\\[[]]({<>-----=.~,#?`\u00A9\u00E9\u0416\u212A\xD83D\xDE00";
    constexpr int size = sizeof(alphabet) / sizeof(alphabet[0]) - 1;
    std::uniform_int_distribution<int> length(0, maxLength);
    std::uniform_int_distribution<int> pick(0, size); // size itself stands for a NUL code unit
    QString line;
    const int n = length(random);
    for (int i = 0; i < n; ++i) {
        const int k = pick(random);
        line += k == size ? QChar(0) : QChar(alphabet[k]);
    }
    return line;
}

} // namespace

TEST(LexerPropertyTest, RandomLinesJoinBackAndKeepTheClassRules)
{
    std::mt19937 random(20240611);
    std::vector<TLexerSpan> reused;
    for (int round = 0; round < 20000; ++round) {
        const QString line = RandomLine(random, round % 10 == 0 ? 400 : 40);
        std::vector<TLexerSpan> fresh;
        TLexer::ScanLine(line, fresh);
        ExpectWellFormed(fresh, line);

        // A list reused line after line, as the colouring reuses it, holds what a fresh one holds.
        TLexer::ScanLine(line, reused);
        ASSERT_EQ(reused.size(), fresh.size()) << line.toStdString();
        for (std::size_t k = 0; k < fresh.size(); ++k) {
            ASSERT_EQ(reused[k].Start, fresh[k].Start);
            ASSERT_EQ(reused[k].Length, fresh[k].Length);
            ASSERT_EQ(reused[k].Type, fresh[k].Type);
        }
        if (HasFatalFailure())
            return;
    }
}

TEST(LexerPropertyTest, LongLinesAreLexedToTheirEnd)
{
    std::vector<TLexerSpan> spans;
    const QString words = QString("ab ").repeated(3000) + "end";
    TLexer::ScanLine(words, spans);
    ExpectWellFormed(spans, words);
    ASSERT_EQ(spans.size(), 6001u);
    EXPECT_EQ(words.mid(spans[5998].Start, spans[5998].Length), "ab");
    EXPECT_EQ(spans[5999].Type, TLexer::PT_OTHER);
    EXPECT_EQ(words.mid(spans[6000].Start, spans[6000].Length), "end");
    EXPECT_EQ(spans[6000].Type, TLexer::PT_WORD);

    // After the list has grown, a short line leaves nothing of the long one behind.
    TLexer::ScanLine(u"x = 1", spans);
    ExpectWellFormed(spans, "x = 1");
    EXPECT_EQ(spans.size(), 5u);

    const QString blanks(5000, u' ');
    TLexer::ScanLine(blanks, spans);
    ExpectWellFormed(spans, blanks);
    EXPECT_EQ(spans.size(), 5000u);

    // A long string or comment stays one part however long it is.
    const QString longString = "s = [[" + QString(100000, u'x') + " -- ]] --" + QString(100000, u'y');
    TLexer::ScanLine(longString, spans);
    ExpectWellFormed(spans, longString);
    ASSERT_EQ(spans.size(), 7u);
    EXPECT_EQ(spans[4].Length, 2 + 100000 + 6);
    EXPECT_EQ(spans[4].Type, TLexer::PT_STRING);
    EXPECT_EQ(spans[6].Length, 2 + 100000);
    EXPECT_EQ(spans[6].Type, TLexer::PT_COMMENT);
}
