// Checks the lexer's promises on many random lines and on lines with thousands of parts.
#include "highlight/Lexer.h"

#include <gtest/gtest.h>

#include <random>

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
void ExpectWellFormed(const TLexer& lexer, const QString& line)
{
    const QString where = "line: " + line;
    ASSERT_GE(lexer.Parts, 1) << where.toStdString();
    ASSERT_LE(lexer.Parts, lexer.PartsCount);
    ASSERT_EQ(lexer.Part.size(), lexer.PartsCount);
    ASSERT_EQ(lexer.PartType.size(), lexer.PartsCount);
    ASSERT_EQ(static_cast<qsizetype>(lexer.Spans().size()), lexer.Parts);

    QString joined;
    qsizetype start = 0;
    for (int k = 0; k < lexer.Parts; ++k) {
        const QString& part = lexer.Part[k];
        const int type = lexer.PartType[k];
        SCOPED_TRACE(where.toStdString() + " part " + std::to_string(k));
        joined += part;
        if (!line.isEmpty()) {
            EXPECT_FALSE(part.isEmpty());
        }

        // The ranges are the same parts, placed by adding up lengths.
        EXPECT_EQ(lexer.Spans()[k].Start, start);
        EXPECT_EQ(lexer.Spans()[k].Length, part.size());
        EXPECT_EQ(lexer.Spans()[k].Type, type);
        start += part.size();

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
            EXPECT_EQ(k, lexer.Parts - 1);
            break;
        case TLexer::PT_BRACKET:
            EXPECT_TRUE(All(part, IsBracket));
            break;
        default:
            ADD_FAILURE() << "unknown class " << type;
        }

        if (k > 0) {
            const int before = lexer.PartType[k - 1];
            // Runs of one class are one part; only blanks and other characters stand alone.
            if (type != TLexer::PT_OTHER) {
                EXPECT_NE(before, type);
            }
            // A digit after a word belongs to the word.
            EXPECT_FALSE(before == TLexer::PT_WORD && type == TLexer::PT_NUMBER);
        }
    }
    EXPECT_EQ(joined, line);

    for (int k = lexer.Parts; k < lexer.PartsCount; ++k) {
        ASSERT_TRUE(lexer.Part[k].isEmpty()) << where.toStdString() << " stale part " << k;
        ASSERT_EQ(lexer.PartType[k], TLexer::PT_OTHER);
    }
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
    TLexer reused;
    std::vector<TLexerSpan> scanned;
    for (int round = 0; round < 20000; ++round) {
        const QString line = RandomLine(random, round % 10 == 0 ? 400 : 40);
        TLexer fresh;
        fresh.ParseLine(line);
        ExpectWellFormed(fresh, line);

        // One lexer reused for every line and the allocation-free scan give what a fresh lexer gives.
        reused.ParseLine(line);
        ExpectWellFormed(reused, line);
        ASSERT_EQ(reused.Parts, fresh.Parts) << line.toStdString();
        for (int k = 0; k < fresh.Parts; ++k) {
            ASSERT_EQ(reused.Part[k], fresh.Part[k]);
            ASSERT_EQ(reused.PartType[k], fresh.PartType[k]);
        }
        TLexer::ScanLine(line, scanned);
        ASSERT_EQ(static_cast<int>(scanned.size()), fresh.Parts);
        for (int k = 0; k < fresh.Parts; ++k) {
            ASSERT_EQ(scanned[k].Start, fresh.Spans()[k].Start);
            ASSERT_EQ(scanned[k].Length, fresh.Spans()[k].Length);
            ASSERT_EQ(scanned[k].Type, fresh.Spans()[k].Type);
        }
        if (HasFatalFailure())
            return;
    }
}

TEST(LexerPropertyTest, LongLinesAreLexedToTheirEnd)
{
    TLexer lexer;
    const QString words = QString("ab ").repeated(3000) + "end";
    lexer.ParseLine(words);
    ExpectWellFormed(lexer, words);
    ASSERT_EQ(lexer.Parts, 6001);
    EXPECT_GE(lexer.PartsCount, 6001);
    EXPECT_EQ(lexer.Part[5998], "ab");
    EXPECT_EQ(lexer.PartType[5999], TLexer::PT_OTHER);
    EXPECT_EQ(lexer.Part[6000], "end");
    EXPECT_EQ(lexer.PartType[6000], TLexer::PT_WORD);

    // After the arrays have grown, a short line leaves nothing of the long one behind.
    lexer.ParseLine("x = 1");
    ExpectWellFormed(lexer, "x = 1");
    EXPECT_EQ(lexer.Parts, 5);

    const QString blanks(5000, u' ');
    lexer.ParseLine(blanks);
    ExpectWellFormed(lexer, blanks);
    EXPECT_EQ(lexer.Parts, 5000);

    // A long string or comment stays one part however long it is.
    const QString longString = "s = [[" + QString(100000, u'x') + " -- ]] --" + QString(100000, u'y');
    lexer.ParseLine(longString);
    ExpectWellFormed(lexer, longString);
    ASSERT_EQ(lexer.Parts, 7);
    EXPECT_EQ(lexer.Part[4].size(), 2 + 100000 + 6);
    EXPECT_EQ(lexer.PartType[4], TLexer::PT_STRING);
    EXPECT_EQ(lexer.Part[6].size(), 2 + 100000);
    EXPECT_EQ(lexer.PartType[6], TLexer::PT_COMMENT);
}
