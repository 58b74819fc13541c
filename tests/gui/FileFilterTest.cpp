#include "gui/FileFilter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

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

// Linux programs have no extension: the programs group knows them by the run bit.
TEST(FileFilter, AProgramsGroupTakesRunnableFilesWhateverTheirName)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const auto groups = ParseFileFilter("Programs:exe,+x;All files:*");
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].extensions, QStringList { "exe" });
    const std::tuple<const char*, bool, bool> files[]
        = { { "tarvane_dedicated", true, true }, { "Tarvane.exe", false, true }, { "notes.txt", false, false } };
    for (const auto& [name, runnable, program] : files) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(!runnable || file.setPermissions(file.permissions() | QFile::ExeOwner));
        EXPECT_EQ(groups[0].Accepts(QFileInfo(file.fileName())), program) << name;
        EXPECT_TRUE(groups[1].Accepts(QFileInfo(file.fileName()))) << name;
    }
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
