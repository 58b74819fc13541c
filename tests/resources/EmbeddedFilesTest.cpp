#include "TempFolder.h"

#include "resources/EmbeddedFiles.h"
#include "resources/Incbin.h"
#include "resources/Stream.h"

namespace {
using EmbeddedFilesTest = TempFolderTest;

QStringList ReadLines(const QString& url)
{
    QStringList lines;
    auto stream = OpenReadStream(url);
    if (!stream)
        return lines;
    while (!StreamEof(*stream))
        lines << stream->ReadLine();
    return lines;
}
} // namespace

TEST_F(EmbeddedFilesTest, SevenFilesAreRegisteredInOrderWithTheirContent)
{
    RegisterEmbeddedFiles();
    const QString source = QStringLiteral(TLE_SOURCE_DIR);
    const QStringList names { "incbins/keywords.txt", "incbins/toolbar.png", "incbins/items.txt",
        "incbins/gradient.png", "incbins/icon.png", "incbins/hudtxt.jpg", "incbins/arial.ttf" };
    const std::vector<TIncbin>& registered = RegisteredIncbins();
    ASSERT_EQ(registered.size(), size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        EXPECT_EQ(registered[i].name, names[i]);
        const QString disk = names[i] == "incbins/arial.ttf" ? QString(TLE_HUD_FONT) : source + "/" + names[i];
        const std::string expected = FetchFile(disk);
        ASSERT_FALSE(expected.empty()) << disk.toStdString();
        EXPECT_EQ(registered[i].size, qint64(expected.size())) << names[i].toStdString();
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(registered[i].bytes), size_t(registered[i].size)), expected)
            << names[i].toStdString();
    }

    // Registering again changes nothing.
    RegisterEmbeddedFiles();
    EXPECT_EQ(RegisteredIncbins().size(), size_t(names.size()));
    EXPECT_EQ(FindIncbin("incbins/keywords.txt").size, 988);
    EXPECT_EQ(FindIncbin("incbins/items.txt").size, 877);
}

TEST_F(EmbeddedFilesTest, KeywordAndItemListsReadAsLines)
{
    RegisterEmbeddedFiles();
    const QStringList keywords = ReadLines("incbin::incbins/keywords.txt");
    EXPECT_EQ(keywords.size(), 109);
    EXPECT_EQ(keywords.value(0), "function");
    EXPECT_EQ(keywords.value(43), "addhook");
    EXPECT_EQ(keywords.value(108), "vars");
    EXPECT_FALSE(keywords.contains("nil"));

    const QStringList items = ReadLines("incbin::incbins/items.txt");
    EXPECT_EQ(items.size(), 71);
    EXPECT_EQ(items.value(0), "1|USP");
    EXPECT_EQ(items.value(38), "58|Kevlar+Helm");
    EXPECT_EQ(items.value(70), "91|FN F2000");

    EXPECT_FALSE(OpenReadStream("incbin::incbins/Keywords.txt"));
    EXPECT_FALSE(OpenWriteStream("incbin::incbins/keywords.txt"));
}
