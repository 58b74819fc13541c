#include "TempFolder.h"

#include "resources/Stream.h"
#include "resources/TextStream.h"

#include <random>

using namespace std::string_literals;

namespace {
using TextStreamTest = TempFolderTest;

// Reads a script the way the document loader does: lines joined with "\n", so one final line break
// is dropped.
QString LoadDocument(const QString& url)
{
    auto stream = OpenReadStream(url);
    if (!stream)
        return "<not opened>";
    QString text;
    for (;;) {
        text += stream->ReadLine();
        if (StreamEof(*stream))
            break;
        text += '\n';
    }
    CloseStream(*stream);
    return text;
}

void SaveDocument(const QString& url, const QString& text)
{
    auto stream = OpenWriteStream(url);
    ASSERT_TRUE(stream);
    stream->WriteString(text);
    CloseStream(*stream);
}

QString Escaped(std::initializer_list<unsigned char> bytes)
{
    QString text;
    for (unsigned char b : bytes)
        text += QChar(0xDC00 + b);
    return text;
}
} // namespace

TEST_F(TextStreamTest, ByteOrderMarkIsReadAsACharacterAndNeverAdded)
{
    Put("bom.lua", "\xef\xbb\xbfprint(1)\nend");
    const QString text = LoadDocument("utf8::" + Path("bom.lua"));
    EXPECT_EQ(text, QChar(0xFEFF) + QString("print(1)\nend"));

    // The stream writes no mark of its own: only a U+FEFF still in the text comes back out.
    SaveDocument("utf8::" + Path("plain.lua"), text.mid(1));
    EXPECT_EQ(Fetch("plain.lua"), "print(1)\nend");
    SaveDocument("utf8::" + Path("bom.lua"), text);
    EXPECT_EQ(Fetch("bom.lua"), "\xef\xbb\xbfprint(1)\nend");
    SaveDocument("utf16le::" + Path("plain16.txt"), "x");
    EXPECT_EQ(Fetch("plain16.txt"), std::string("x\0", 2));
}

TEST_F(TextStreamTest, CrLfScriptLoadsWithoutCarriageReturnsAndSavesWithLineFeeds)
{
    Put("crlf.lua", "local a = 1\r\nif a then\r\n\tprint(a)\r\nend\r\n");
    const QString text = LoadDocument("utf8::" + Path("crlf.lua"));
    EXPECT_EQ(text, "local a = 1\nif a then\n\tprint(a)\nend");
    SaveDocument("utf8::" + Path("crlf.lua"), text);
    EXPECT_EQ(Fetch("crlf.lua"), "local a = 1\nif a then\n\tprint(a)\nend");

    // Two final line breaks leave one, as an empty last line.
    Put("two.lua", "x\n\n");
    EXPECT_EQ(LoadDocument("utf8::" + Path("two.lua")), "x\n");
    Put("empty.lua", "");
    EXPECT_EQ(LoadDocument("utf8::" + Path("empty.lua")), "");
}

TEST_F(TextStreamTest, ZeroCharacterSplitsALine)
{
    Put("zero.lua", "ab\0cd\nef"s);
    EXPECT_EQ(LoadDocument("utf8::" + Path("zero.lua")), "ab\ncd\nef");
    Put("zero16.txt", "a\0\0\0b\0"s);
    EXPECT_EQ(LoadDocument("utf16le::" + Path("zero16.txt")), "a\nb");
}

TEST_F(TextStreamTest, CharactersBeyondAsciiRoundTripAsUtf8)
{
    // Two-, three- and four-byte forms: e acute, euro sign, a face beyond U+FFFF (a surrogate pair).
    const QString text = QString::fromUtf8("caf\u00e9 \u20ac \U0001F600!");
    SaveDocument("utf8::" + Path("multi.lua"), text);
    EXPECT_EQ(Fetch("multi.lua"), "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80!");
    EXPECT_EQ(LoadDocument("utf8::" + Path("multi.lua")), text);

    // The largest character and the last one before the surrogates.
    const QString edges = QString::fromUtf8("\U0010FFFF\ud7ff\uffff\u0080\u07ff\u0800");
    SaveDocument("utf8::" + Path("edges.lua"), edges);
    EXPECT_EQ(Fetch("edges.lua"), "\xf4\x8f\xbf\xbf\xed\x9f\xbf\xef\xbf\xbf\xc2\x80\xdf\xbf\xe0\xa0\x80");
    EXPECT_EQ(LoadDocument("utf8::" + Path("edges.lua")), edges);
}

TEST_F(TextStreamTest, InvalidUtf8BytesLoadAsEscapesAndSaveBackUnchanged)
{
    struct Case {
        std::string bytes;
        QString text;
    };
    const std::vector<Case> cases {
        { "a\xe9z", "a" + Escaped({ 0xe9 }) + "z" }, // Latin-1 text
        { "\xc0\x80", Escaped({ 0xc0, 0x80 }) }, // overlong zero
        { "\xe0\x80\xaf", Escaped({ 0xe0, 0x80, 0xaf }) }, // overlong slash
        { "\xed\xa0\x80\xed\xb0\x80", Escaped({ 0xed, 0xa0, 0x80, 0xed, 0xb0, 0x80 }) }, // encoded surrogates
        { "\xf4\x90\x80\x80", Escaped({ 0xf4, 0x90, 0x80, 0x80 }) }, // above U+10FFFF
        { "\xf8\x88\x80\x80\x80", Escaped({ 0xf8, 0x88, 0x80, 0x80, 0x80 }) }, // five-byte form
        { "\x80x\xbf", Escaped({ 0x80 }) + "x" + Escaped({ 0xbf }) }, // stray continuation bytes
        { "\xe2\x82x", Escaped({ 0xe2, 0x82 }) + "x" }, // sequence cut short
        { "ok\xf0\x9f\x98", "ok" + Escaped({ 0xf0, 0x9f, 0x98 }) }, // cut short by the end of the file
        { "\xff\xfe", Escaped({ 0xff, 0xfe }) },
    };
    for (const Case& c : cases) {
        Put("bad.lua", c.bytes);
        EXPECT_EQ(LoadDocument("utf8::" + Path("bad.lua")), c.text) << c.bytes;
        SaveDocument("utf8::" + Path("bad.lua"), c.text);
        EXPECT_EQ(Fetch("bad.lua"), c.bytes);
    }

    // A lone surrogate typed into the text keeps its three-byte form; loading that gives escapes that
    // save back to the same bytes.
    SaveDocument("utf8::" + Path("lone.lua"), QString(QChar(0xD83D)) + "x" + QChar(0xDE00));
    EXPECT_EQ(Fetch("lone.lua"), "\xed\xa0\xbdx\xed\xb8\x80");
    const QString reloaded = LoadDocument("utf8::" + Path("lone.lua"));
    SaveDocument("utf8::" + Path("lone.lua"), reloaded);
    EXPECT_EQ(Fetch("lone.lua"), "\xed\xa0\xbdx\xed\xb8\x80");
}

TEST_F(TextStreamTest, RandomBytesSurviveLoadAndSave)
{
    std::mt19937 random(20240611);
    // Mostly bytes that form or break multi-byte sequences, some line feeds, never CR or 0.
    const std::string alphabet = "ab\n\x80\x8f\x90\xa0\xbf\xc0\xc1\xc2\xdf\xe0\xe1\xed\xef\xf0\xf1\xf4\xf5\xff"s;
    for (int round = 0; round < 200; ++round) {
        std::string bytes(random() % 300, ' ');
        for (char& b : bytes)
            b = random() % 3 == 0 ? char(1 + random() % 255) : alphabet[random() % alphabet.size()];
        std::erase_if(bytes, [](char b) { return b == '\r'; });
        Put("random.lua", bytes);
        SaveDocument("utf8::" + Path("random.lua"), LoadDocument("utf8::" + Path("random.lua")));
        // The loader drops exactly one final line break.
        if (!bytes.empty() && bytes.back() == '\n')
            bytes.pop_back();
        ASSERT_EQ(Fetch("random.lua"), bytes) << "round " << round;
    }
}

TEST_F(TextStreamTest, LongScriptsDecodeAcrossBufferBoundaries)
{
    // Almost only multi-byte characters, shifted by 0 to 3 leading bytes, so that whatever block size the
    // stream reads in, sequences of every length straddle its block ends at every offset.
    const QStringList pieces { QString::fromUtf8("\u00e9"), QString::fromUtf8("\u20ac"),
        QString::fromUtf8("\U0001F600"), QString(QChar(0xDC80)) };
    QString body;
    for (int i = 0; i < 150000; ++i)
        body += i % 37 == 36 ? QString("\n") : pieces[i % 11 % pieces.size()];
    body += QChar(0xDCFF);
    for (int shift = 0; shift < 4; ++shift) {
        const QString text = QString(shift, 'x') + body;
        for (const char* encoding : { "utf8::", "utf16be::", "utf16le::" }) {
            SaveDocument(encoding + Path("long.lua"), text);
            EXPECT_EQ(LoadDocument(encoding + Path("long.lua")), text) << encoding << shift;
        }
    }
}

TEST_F(TextStreamTest, Utf16InBothByteOrders)
{
    const QString text = QString::fromUtf8("A\u00e9\u20ac\U0001F600");
    auto be = OpenWriteStream("utf16be::" + Path("be.txt"));
    be->WriteLine(text);
    be->WriteString("\r");
    be->Close();
    EXPECT_EQ(Fetch("be.txt"), "\0A\0\xe9\x20\xac\xd8\x3d\xde\x00\0\r\0\n\0\r"s);

    auto le = OpenWriteStream("utf16le::" + Path("le.txt"));
    le->WriteLine(text);
    le->Close();
    EXPECT_EQ(Fetch("le.txt"), "A\0\xe9\0\xac\x20\x3d\xd8\x00\xde\r\0\n\0"s);

    auto in = OpenReadStream("UTF16BE::" + Path("be.txt"));
    EXPECT_EQ(in->ReadLine(), text);
    EXPECT_EQ(in->ReadLine(), ""); // a lone CR ends nothing and is dropped
    EXPECT_TRUE(in->Eof());
    EXPECT_EQ(LoadDocument("utf16le::" + Path("le.txt")), text);

    // Half a character at the end is a read error.
    Put("odd.txt", "a\0b"s);
    auto odd = OpenReadStream("utf16le::" + Path("odd.txt"));
    EXPECT_THROW(odd->ReadLine(), TStreamReadException);
}

TEST_F(TextStreamTest, Latin1ReadsBytesAsCharactersAndWritesLowBits)
{
    Put("latin.txt",
        "gr\xfc\xdf\r\n\xa9"
        "255000000");
    auto in = OpenReadStream("latin1::" + Path("latin.txt"));
    EXPECT_EQ(in->ReadLine(), QString::fromUtf8("gr\u00fc\u00df"));
    EXPECT_EQ(in->ReadLine(), QString::fromUtf8("\u00a9255000000"));

    SaveDocument("latin1::" + Path("out.txt"), QString::fromUtf8("\u00fc\u20ac"));
    EXPECT_EQ(Fetch("out.txt"), "\xfc\xac");
}

TEST_F(TextStreamTest, ByteOperationsStayInStepWithBufferedText)
{
    Put("mixed.txt", "first\nsecond\nthird");
    auto stream = OpenStream("utf8::" + Path("mixed.txt"), true, true);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream->ReadLine(), "first");
    EXPECT_EQ(stream->Pos(), 6);
    EXPECT_EQ(stream->ReadByte(), 's');
    // Writing goes where reading stopped, not where the read-ahead reached.
    stream->WriteString(QString::fromUtf8("\u00e9"));
    EXPECT_EQ(stream->Pos(), 9);
    EXPECT_EQ(stream->ReadLine(), "ond");
    EXPECT_EQ(stream->Size(), 18);
    stream->Seek(0);
    EXPECT_EQ(stream->ReadLine(), "first");
    EXPECT_EQ(stream->ReadLine(), QString::fromUtf8("s\u00e9ond"));
    EXPECT_EQ(stream->ReadLine(), "third");
    EXPECT_TRUE(stream->Eof());
    stream->WriteLine("!");
    stream->Close();
    EXPECT_EQ(Fetch("mixed.txt"), "first\ns\xc3\xa9ond\nthird!\r\n");
}
