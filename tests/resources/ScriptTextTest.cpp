#include "resources/ScriptText.h"

#include <gtest/gtest.h>

namespace {
struct TDetectionCase {
    const char* name;
    QByteArray bytes;
    QString text;
    TCharset charset;
    bool mark;
    TLineEnding ending;
    bool finalBreak;
    bool mixed;
};

QByteArray Bytes(const char* data)
{
    return QByteArray(data);
}

class ScriptTextDetection : public testing::TestWithParam<TDetectionCase> { };

TEST_P(ScriptTextDetection, FindsTheFormatAndSavesTheSameBytes)
{
    const TDetectionCase& c = GetParam();
    const TDecodedScript script = DecodeScript(c.bytes);
    EXPECT_EQ(script.text, c.text);
    EXPECT_EQ(script.format.charset, c.charset);
    EXPECT_EQ(script.format.byteOrderMark, c.mark);
    EXPECT_EQ(script.format.lineEnding, c.ending);
    EXPECT_EQ(script.format.finalLineBreak, c.finalBreak);
    EXPECT_EQ(script.format.mixedLineEndings, c.mixed);
    EXPECT_EQ(EncodeScript(script.text, script.format), c.bytes);
}

const QString Copyright = QString(QChar(0xA9));
const TCharset U = TCharset::Utf8;
const TCharset L = TCharset::Latin1;
const TLineEnding Lf = TLineEnding::Lf;
const TLineEnding CrLf = TLineEnding::CrLf;

INSTANTIATE_TEST_SUITE_P(Scripts, ScriptTextDetection,
    testing::Values(TDetectionCase { "Empty", Bytes(""), "", U, false, Lf, false, false },
        TDetectionCase { "OnlyABreak", Bytes("\n"), "", U, false, Lf, true, false },
        TDetectionCase { "Utf8",
            Bytes("msg(\"\xC2\xA9"
                  "255000000hi\")\nend\n"),
            "msg(\"" + Copyright + "255000000hi\")\nend", U, false, Lf, true, false },
        TDetectionCase { "Utf8WithMark", Bytes("\xEF\xBB\xBF-- x\nend"), "-- x\nend", U, true, Lf, false, false },
        TDetectionCase { "OnlyTheMark", Bytes("\xEF\xBB\xBF"), "", U, true, Lf, false, false },
        TDetectionCase { "Latin1ColourCode",
            Bytes("msg(\"\xA9"
                  "255000000hi\")\r\nend\r\n"),
            "msg(\"" + Copyright + "255000000hi\")\nend", L, false, CrLf, true, false },
        // Windows-1252 shows the euro sign and typographic quotes of 0x80..0x9F as they were written.
        TDetectionCase { "Windows1252", Bytes("-- \x80 \x93q\x94 \x81"),
            QString::fromUtf16(u"-- \u20AC \u201Cq\u201D \u0081"), L, false, Lf, false, false },
        TDetectionCase { "ControlCharacter", Bytes("a\x01b\r\n"), "a\x01b", U, false, CrLf, true, false },
        TDetectionCase { "TwoFinalBreaks", Bytes("a\r\n\r\n"), "a\n", U, false, CrLf, true, false },
        // A UTF-8 file with one stray byte among many good sequences stays UTF-8; the byte is kept.
        TDetectionCase { "DamagedUtf8", Bytes("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xA9"),
            QString::fromUtf16(u"\u00E9\u00E9\u00E9\u00E9\xDCA9"), U, false, Lf, false, false },
        TDetectionCase {
            "ZeroByte", QByteArray("a\0b", 3), QString::fromUtf16(u"a\0b", 3), U, false, Lf, false, false }),
    [](const testing::TestParamInfo<TDetectionCase>& info) { return std::string(info.param.name); });

// A file whose lines end in both ways takes the kind most of them have; a lone carriage return ends a
// line, as Lua reads it. Saved again, such a file is then stable.
TEST(ScriptText, MixedLineEndsTakeTheMostCommonKind)
{
    const struct {
        QByteArray bytes;
        QString text;
        TLineEnding ending;
        QByteArray saved;
    } cases[] = {
        { "a\r\nb\r\nc\n", "a\nb\nc", CrLf, "a\r\nb\r\nc\r\n" },
        { "a\nb\nc\r\n", "a\nb\nc", Lf, "a\nb\nc\n" },
        { "a\rb\r\nc\r\n", "a\nb\nc", CrLf, "a\r\nb\r\nc\r\n" },
        { "a\rb\r", "a\nb", Lf, "a\nb\n" },
    };
    for (const auto& c : cases) {
        const TDecodedScript script = DecodeScript(c.bytes);
        EXPECT_EQ(script.text, c.text) << c.bytes.toStdString();
        EXPECT_EQ(script.format.lineEnding, c.ending) << c.bytes.toStdString();
        EXPECT_TRUE(script.format.mixedLineEndings) << c.bytes.toStdString();
        EXPECT_EQ(EncodeScript(script.text, script.format), c.saved) << c.bytes.toStdString();
        EXPECT_EQ(DecodeScript(c.saved).text, c.text);
    }
}

TEST(ScriptText, NewTextTakesTheFormatsBreaks)
{
    const TScriptFormat crLf { TCharset::Latin1, false, TLineEnding::CrLf, true, false };
    EXPECT_EQ(EncodeScript("a\n" + Copyright, crLf), QByteArray("a\r\n\xA9\r\n"));
    EXPECT_EQ(EncodeScript("a\n" + Copyright, TScriptFormat {}), QByteArray("a\n\xC2\xA9\n"));
}

TEST(ScriptText, FindsWhatLatin1CannotHold)
{
    EXPECT_EQ(FirstUnencodable(QString::fromUtf16(u"ab\u20AC\u00FF"), TCharset::Latin1), std::nullopt);
    EXPECT_EQ(FirstUnencodable(QString::fromUtf16(u"ab\u0080"), TCharset::Latin1), 2);
    EXPECT_EQ(FirstUnencodable(QString::fromUtf16(u"ab\u4E2D"), TCharset::Latin1), 2);
    EXPECT_EQ(FirstUnencodable(QString::fromUtf16(u"ab\u4E2D"), TCharset::Utf8), std::nullopt);
    EXPECT_EQ(EncodeScript(QString::fromUtf16(u"\u4E2D\u20AC"), { TCharset::Latin1, false, TLineEnding::Lf, false }),
        QByteArray("?\x80"));
}
} // namespace
