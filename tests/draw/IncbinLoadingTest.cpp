#include "TestFiles.h"

#include "draw/Image.h"
#include "draw/ImageFont.h"
#include "resources/Incbin.h"

#include <gtest/gtest.h>

TEST(IncbinLoadingTest, ImagesAndFontsLoadFromEmbeddedBytes)
{
    TTestFolder folder;
    std::vector<unsigned char> rgb(24 * 16 * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = static_cast<unsigned char>((i % 3 == 0) ? 0 : i);
    WriteJpeg(folder.File("picture.jpg"), 24, 16, rgb);

    // Registered bytes must outlive the process's use of them.
    static const std::vector<unsigned char> jpeg = ReadFile(folder.File("picture.jpg"));
    static const std::vector<unsigned char> font = ReadFile(LiberationSans);
    // The process's registry keeps a name for good, so every run registers under a folder of its own.
    static int run = 0;
    const std::string prefix = "draw-tests/" + std::to_string(++run) + "/";
    const QString name = QString::fromStdString(prefix);
    ASSERT_EQ(RegisterIncbin(name + "picture.jpg", jpeg.data(), static_cast<qint64>(jpeg.size())), 1);
    ASSERT_EQ(RegisterIncbin(name + "arial.ttf", font.data(), static_cast<qint64>(font.size())), 1);

    auto embedded = LoadPixmapUrl("incbin::" + prefix + "picture.jpg");
    auto onDisk = LoadPixmapUrl(folder.File("picture.jpg"));
    ASSERT_TRUE(embedded);
    ASSERT_TRUE(onDisk);
    EXPECT_EQ(embedded->width, 24);
    EXPECT_EQ(embedded->pixels, onDisk->pixels);
    auto image = LoadImageUrl("incbin::" + prefix + "picture.jpg", -1);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->flags, ImageFlag::Default);

    auto embeddedFont = LoadFontUrl("incbin::" + prefix + "arial.ttf", 13, FontStyle::Smooth);
    auto diskFont = LoadFontUrl(LiberationSans, 13, FontStyle::Smooth);
    ASSERT_TRUE(embeddedFont);
    EXPECT_EQ(embeddedFont->Height(), diskFont->Height());
    EXPECT_EQ(embeddedFont->TextWidth(u"Health 100"), diskFont->TextWidth(u"Health 100"));

    EXPECT_FALSE(LoadPixmapUrl("incbin::" + prefix + "PICTURE.jpg"));
    EXPECT_FALSE(LoadFontUrl("incbin::" + prefix + "missing.ttf", 13, 4));
}
