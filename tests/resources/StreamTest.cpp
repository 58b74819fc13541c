#include "TempFolder.h"

#include "resources/CStream.h"
#include "resources/Incbin.h"
#include "resources/Path.h"
#include "resources/RamStream.h"
#include "resources/ReplaceFile.h"
#include "resources/StreamBytes.h"
#include "resources/TextStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>

#include <chrono>
#include <thread>

using namespace std::string_literals;

namespace {
using StreamTest = TempFolderTest;

// The 43 bytes of a settings file holding the defaults: two empty path lines, background, auto indent,
// then R, G, B, bold, italic for text, comment, number, bracket, sign, keyword and string.
const std::string defaultConfig = "\r\n\r\n"s
    + std::string { '\xff', '\xff', '\xff', 1, 0, 0, 0, 0, 0, 0, 100, 0, 0, 0, 0, (char)140, (char)140, 0, 0, 0, 0, 0,
          1, 0, 0, 0, 0, 0, 0, 0, 0, 50, 1, 0, (char)150, 0, 0, 0, 0 };

std::vector<QString> ReadAllLines(TStream& stream)
{
    std::vector<QString> lines;
    while (!stream.Eof())
        lines.push_back(stream.ReadLine());
    return lines;
}
} // namespace

TEST_F(StreamTest, ConfigStyleFileRoundTripsThroughPlainStream)
{
    auto out = OpenWriteStream(Path("config.dat"));
    ASSERT_TRUE(out);
    out->WriteLine("");
    out->WriteLine("");
    for (size_t i = 4; i < defaultConfig.size(); ++i)
        out->WriteByte((unsigned char)defaultConfig[i]);
    out->Close();
    EXPECT_EQ(Fetch("config.dat"), defaultConfig);

    Put("config.dat", "C:\\Games\\My Tarvane\\Tarvane.exe\r\n/opt/t\xe9st/dedicated\r\n"s + defaultConfig.substr(4));
    auto in = OpenReadStream(Path("config.dat"));
    ASSERT_TRUE(in);
    EXPECT_EQ(in->ReadLine(), QString("C:\\Games\\My Tarvane\\Tarvane.exe"));
    EXPECT_EQ(in->ReadLine(), QString::fromUtf8("/opt/t\u00e9st/dedicated"));
    std::string rest;
    for (int i = 0; i < 39; ++i)
        rest.push_back(char(in->ReadByte()));
    EXPECT_EQ(rest, defaultConfig.substr(4));
    EXPECT_TRUE(StreamEof(*in));
    // A settings file cut short is reported, not read as zeros.
    EXPECT_THROW(in->ReadByte(), TStreamReadException);
    CloseStream(*in);
}

TEST_F(StreamTest, PlainLinesEndAtLineFeedOrZeroAndDropCarriageReturns)
{
    const std::string bytes = "one\r\ntw\ro\rx\nthree\0four\n\nlast"s;
    Put("lines.txt", bytes);
    const std::vector<QString> expected { "one", "twox", "three", "four", "", "last" };

    auto file = OpenReadStream(Path("lines.txt"));
    ASSERT_TRUE(file);
    EXPECT_EQ(ReadAllLines(*file), expected);
    EXPECT_EQ(file->ReadLine(), QString());

    TRamStream memory(reinterpret_cast<const unsigned char*>(bytes.data()), qint64(bytes.size()));
    EXPECT_EQ(ReadAllLines(memory), expected);

    // A final line feed ends the last line: nothing follows it.
    TRamStream ending(reinterpret_cast<const unsigned char*>("a\r\n"), 3);
    EXPECT_EQ(ReadAllLines(ending), std::vector<QString> { "a" });
}

TEST_F(StreamTest, PlainWritesKeepTheLowEightBitsOfEachCharacter)
{
    auto out = OpenWriteStream(Path("bytes.bin"));
    ASSERT_TRUE(out);
    out->WriteString(QString::fromUtf8("A\u00e9\u0141\u20ac"));
    out->WriteLine(QString::fromUtf8("\u00ff"));
    out->Close();
    EXPECT_EQ(Fetch("bytes.bin"), "A\xe9\x41\xac\xff\r\n"s);

    auto in = OpenReadStream(Path("bytes.bin"));
    EXPECT_EQ(in->ReadLine(), QString::fromUtf8("A\u00e9A\u00ac\u00ff"));
}

TEST_F(StreamTest, PathsOpenWithTheRequestedAccess)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("sub"));
    Put("sub/file.txt", "abcdef");

    // Backslashes are path separators.
    QString windowsStyle = Path("sub/file.txt");
    windowsStyle.replace('/', '\\');
    auto read = OpenReadStream(windowsStyle);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Size(), 6);
    EXPECT_THROW(read->WriteByte('x'), TStreamWriteException);
    read->Close();

    EXPECT_FALSE(OpenReadStream(Path("missing.txt")));
    EXPECT_FALSE(OpenReadStream(Path("sub")));
    EXPECT_FALSE(OpenStream(Path("sub/file.txt"), false, false));
    EXPECT_FALSE(OpenReadStream("nosuchprotocol::" + Path("sub/file.txt")));

    // Read and write: reads and writes may follow each other at the current position.
    auto both = OpenStream(Path("sub/file.txt"), true, true);
    ASSERT_TRUE(both);
    EXPECT_EQ(both->ReadByte(), 'a');
    EXPECT_EQ(both->ReadByte(), 'b');
    both->WriteString("XY");
    EXPECT_EQ(both->Pos(), 4);
    EXPECT_EQ(both->ReadByte(), 'e');
    both->Seek(6);
    both->WriteLine("g");
    EXPECT_EQ(both->Size(), 9);
    both->Seek(0);
    EXPECT_EQ(both->ReadLine(), "abXYefg");
    both->Close();
    EXPECT_EQ(Fetch("sub/file.txt"), "abXYefg\r\n");

    // Writing alone truncates.
    auto write = OpenWriteStream(Path("sub/file.txt"));
    ASSERT_TRUE(write);
    EXPECT_EQ(write->Size(), 0);
    EXPECT_THROW(write->ReadByte(), TStreamReadException);
    write->WriteString("z");
    write->Close();
    EXPECT_EQ(Fetch("sub/file.txt"), "z");
}

TEST(IncbinRegistryTest, KeepsTheFirstFileOfAName)
{
    static const unsigned char first[] = "alpha\r\nbeta";
    static const unsigned char second[] = "other";
    TIncbinRegistry registry;
    EXPECT_EQ(registry.Register("test/words.txt", first, 11), 1);
    EXPECT_EQ(registry.Register("test/words.txt", second, 5), 0);
    EXPECT_EQ(registry.Register("test/Words.txt", second, 5), 1);

    const TIncbin found = registry.Find("test/words.txt");
    EXPECT_EQ(found.bytes, first);
    EXPECT_EQ(found.size, 11);
    const TIncbin absent = registry.Find("test/words.tx");
    EXPECT_EQ(absent.bytes, nullptr);
    EXPECT_EQ(absent.size, 0);

    std::vector<QString> names;
    for (const TIncbin& entry : registry.Entries())
        names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<QString> { "test/words.txt", "test/Words.txt" }));
}

TEST_F(StreamTest, EmbeddedFilesOpenForReadingOnlyUnderTheirExactName)
{
    static const unsigned char bytes[] = "function\r\nend";
    RegisterIncbin("test/keywords.txt", bytes, 13);

    auto stream = OpenReadStream("incbin::test/keywords.txt");
    ASSERT_TRUE(stream);
    EXPECT_EQ(ReadAllLines(*stream), (std::vector<QString> { "function", "end" }));
    EXPECT_THROW(stream->WriteByte(0), TStreamWriteException);
    stream->Close();

    // The protocol is not case-sensitive; the name is.
    EXPECT_TRUE(OpenReadStream("InCbIn::test/keywords.txt"));
    EXPECT_FALSE(OpenReadStream("incbin::test/Keywords.txt"));
    EXPECT_FALSE(OpenReadStream("incbin::test/keywords.txt "));
    EXPECT_FALSE(OpenWriteStream("incbin::test/keywords.txt"));
    EXPECT_FALSE(OpenStream("incbin::test/keywords.txt", true, true));
    EXPECT_FALSE(OpenWriteStream("utf8::incbin::test/keywords.txt"));

    auto text = OpenReadStream("utf8::incbin::test/keywords.txt");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->ReadLine(), "function");
}

TEST_F(StreamTest, WritesThatTheDeviceRefusesThrow)
{
    // /dev/full takes the bytes into the C library's buffer and fails when they are handed over.
    auto full = OpenWriteStream("/dev/full");
    ASSERT_TRUE(full);
    EXPECT_THROW(
        {
            full->WriteString(QString(100000, 'x'));
            full->Close();
        },
        TStreamWriteException);

    auto small = OpenWriteStream("/dev/full");
    small->WriteByte(1);
    EXPECT_THROW(small->Flush(), TStreamWriteException);

    auto synced = TCStream::Open("/dev/full", TCStream::Mode::Write);
    ASSERT_TRUE(synced);
    synced->WriteByte(1);
    EXPECT_THROW(synced->Sync(), TStreamWriteException);

    auto text = OpenWriteStream("utf8::/dev/full");
    ASSERT_TRUE(text);
    text->WriteString("short");
    EXPECT_THROW(text->Close(), TStreamWriteException);

    // A saver writes text through the encoding and syncs the file beneath before replacing anything.
    std::unique_ptr<TCStream> owned = TCStream::Open(Path("synced.lua"), TCStream::Mode::Write);
    ASSERT_TRUE(owned);
    TCStream* file = owned.get();
    TTextStream saver(std::move(owned), TTextEncoding::Utf8);
    saver.WriteString(QString::fromUtf8("saved \u00e9"));
    saver.Flush();
    file->Sync();
    EXPECT_EQ(Fetch("synced.lua"), "saved \xc3\xa9");
    saver.Close();
}

TEST_F(StreamTest, StripDirKeepsTheLastPathComponent)
{
    EXPECT_EQ(StripDir("C:\\Scripts\\sample.lua"), "sample.lua");
    EXPECT_EQ(StripDir("/home/me/lua/test.lua"), "test.lua");
    EXPECT_EQ(StripDir("mixed/dir\\name.lua"), "name.lua");
    EXPECT_EQ(StripDir("plain.lua"), "plain.lua");
    EXPECT_EQ(StripDir("dir/"), "");
}

TEST_F(StreamTest, ReadStreamBytesReadsAnyReadableUrl)
{
    std::string big(200000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = char(i * 7919 % 251);
    Put("image.bin", big);
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(ReadStreamBytes(QFile::encodeName(Path("image.bin")).toStdString(), bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), big);

    static const unsigned char embedded[] = { 0x89, 'P', 'N', 'G', 0 };
    RegisterIncbin("test/tiny.png", embedded, 5);
    ASSERT_TRUE(ReadStreamBytes("incbin::test/tiny.png", bytes));
    EXPECT_EQ(bytes, (std::vector<unsigned char> { 0x89, 'P', 'N', 'G', 0 }));

    EXPECT_FALSE(ReadStreamBytes("incbin::test/absent.png", bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ReadStreamBytes(QFile::encodeName(Path("absent.bin")).toStdString(), bytes));
}

// A named pipe that nobody writes to opens and reads as empty instead of freezing whoever opened it.
TEST_F(StreamTest, ANamedPipeWithoutAWriterDoesNotBlock)
{
    const QByteArray fifo = QFile::encodeName(Path("pipe"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    auto stream = OpenReadStream(QStringLiteral("utf8::") + Path("pipe"));
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->ReadLine(), QString());
    EXPECT_TRUE(StreamEof(*stream));
}

// A script read from a pipe arrives whole, however its writer's blocks fall; devices are not read at all.
TEST_F(StreamTest, APipeIsReadToItsEndAndDevicesAreRefused)
{
    const QByteArray fifo = QFile::encodeName(Path("pipe"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    // The writer is there before the reader, as a shell's process substitution has it (a pipe without
    // one reads as empty). Lines end exactly on the 64 KiB read blocks; the rest follows a pause.
    const int out = ::open(fifo.constData(), O_RDWR);
    ASSERT_GE(out, 0);
    const std::string block = std::string(65535, 'a') + "\n";
    std::thread writer([&] {
        const auto put = [&](const std::string& bytes) { return ::write(out, bytes.data(), bytes.size()); };
        put(block);
        put(block);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        put("last");
        ::close(out);
    });
    auto stream = OpenReadStream(QStringLiteral("utf8::") + Path("pipe"));
    ASSERT_NE(stream, nullptr);
    QStringList lines;
    while (true) {
        lines << stream->ReadLine();
        if (StreamEof(*stream))
            break;
    }
    writer.join();
    EXPECT_EQ(lines, (QStringList { QString(65535, 'a'), QString(65535, 'a'), "last" }));

    for (const char* device : { "/dev/zero", "/dev/null", "utf8::/dev/zero" })
        EXPECT_EQ(OpenReadStream(QString::fromLatin1(device)), nullptr) << device;
}

// Saving replaces a file only: a pipe, or a link to one, stays what it is and the save fails.
TEST_F(StreamTest, SavingOverAPipeFailsAndLeavesItAlone)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(Path("pipe"), Path("link.lua")));
    const auto write = [](std::unique_ptr<TCStream> file) {
        file->WriteByte('x');
        file->Close();
    };
    for (const char* name : { "pipe", "link.lua" }) {
        EXPECT_FALSE(ReplaceFileSafely(Path(name), write)) << name;
        struct stat info { };
        ASSERT_EQ(::stat(QFile::encodeName(Path("pipe")).constData(), &info), 0);
        EXPECT_TRUE(S_ISFIFO(info.st_mode)) << name;
    }
    EXPECT_EQ(
        QDir(folder.path()).entryList(QDir::Files | QDir::System | QDir::Hidden), (QStringList { "link.lua", "pipe" }));
    Put("plain.lua", "old");
    ASSERT_TRUE(QFile::link(Path("plain.lua"), Path("to-plain.lua")));
    EXPECT_TRUE(ReplaceFileSafely(Path("to-plain.lua"), write));
    EXPECT_EQ(Fetch("plain.lua"), "x");
}
