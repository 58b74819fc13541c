#include "gui/FileFilter.h"

#include <gtest/gtest.h>

namespace {
TEST(FileFilter, GroupsHaveADescriptionAndTheirExtensions)
{
    const auto groups = ParseFileFilter("Lua script:lua;Images:png,jpg");
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].description, "Lua script");
    EXPECT_EQ(groups[0].extensions, QStringList { "lua" });
    EXPECT_EQ(groups[1].description, "Images");
    EXPECT_EQ(groups[1].extensions, (QStringList { "png", "jpg" }));
}

TEST(FileFilter, ATextWithoutAColonIsOneGroupCalledFiles)
{
    const auto groups = ParseFileFilter("lua,txt");
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0].description, "Files");
    EXPECT_EQ(groups[0].extensions, (QStringList { "lua", "txt" }));
}

TEST(FileFilter, AGroupMatchesNamesEndingInADotAndOneOfItsExtensions)
{
    const auto group = ParseFileFilter("Executable:exe")[0];
    EXPECT_TRUE(group.Matches("Tarvane.exe"));
    EXPECT_TRUE(group.Matches("TARVANE.EXE"));
    EXPECT_FALSE(group.Matches("Tarvaneexe"));
    EXPECT_FALSE(group.Matches("Tarvane.exe.bak"));
}

TEST(FileFilter, TheGroupListingTheInitialFilesExtensionIsPreselected)
{
    const auto groups = ParseFileFilter("Text:txt;Lua script:lua;Images:png,jpg");
    EXPECT_EQ(PreselectedFilterGroup(groups, "/home/me/maps/gun.jpg"), 2);
    EXPECT_EQ(PreselectedFilterGroup(groups, "C:\\scripts\\main.lua"), 1);
    EXPECT_EQ(PreselectedFilterGroup(groups, "notes"), 0);
    EXPECT_EQ(PreselectedFilterGroup(groups, ""), 0);
}

TEST(FileFilter, TheInitialPathSplitsAtItsLastSlashOrBackslash)
{
    EXPECT_EQ(SplitInitialPath("/home/me/script.lua"), (std::pair<QString, QString> { "/home/me", "script.lua" }));
    EXPECT_EQ(SplitInitialPath("C:\\games\\a/b\\c.lua"), (std::pair<QString, QString> { "C:\\games\\a/b", "c.lua" }));
    EXPECT_EQ(SplitInitialPath("script.lua"), (std::pair<QString, QString> { "", "script.lua" }));
    EXPECT_EQ(SplitInitialPath(""), (std::pair<QString, QString> { "", "" }));
}
} // namespace
