// Replacing a file in a folder that someone else may change under the save: the temporary file's name
// swapped for a link to another file between its writing and its rename, and the temporary files that
// a killed save left behind.
#include "TempFolder.h"

#include "resources/ReplaceFile.h"

#include <QDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace {
class ReplaceFileTest : public TempFolderTest {
protected:
    void TearDown() override
    {
        ReplaceFileBeforeRename = nullptr;
        swaps = 0;
    }

    static QByteArray Name(const QString& path) { return QFile::encodeName(path); }

    static struct stat Lstat(const QString& path)
    {
        struct stat info { };
        ::lstat(Name(path).constData(), &info);
        return info;
    }

    // The temporary files beside `name`.
    QStringList Temporaries(const QString& name) const
    {
        return QDir(folder.path()).entryList({ "." + name + ".*" }, QDir::AllEntries | QDir::Hidden | QDir::System);
    }

    // Writes `text`; in a folder with no other temporary files, checks on the way that the file being
    // written is open to nobody else yet.
    std::function<void(std::unique_ptr<TCStream>)> Writer(const std::string& text, bool checkMode = true)
    {
        return [this, text, checkMode](std::unique_ptr<TCStream> file) {
            ASSERT_TRUE(file);
            const QStringList temporaries = Temporaries("s.lua");
            if (checkMode) {
                ASSERT_EQ(temporaries.size(), 1);
                EXPECT_EQ(Lstat(Path(temporaries[0])).st_mode & 07777, 0600u) << "while it is written";
            }
            file->Write(text.data(), qint64(text.size()));
            file->Close();
        };
    }

    // The user who owns the folder swaps the temporary file for a link to a file of the editor's
    // user, right before the rename: `swaps` times, then no more.
    static void SwapForLink(const QString& temporary)
    {
        if (swaps == 0)
            return;
        --swaps;
        ::unlink(Name(temporary).constData());
        ASSERT_EQ(::symlink(Name(secret).constData(), Name(temporary).constData()), 0);
    }

    static inline int swaps = 0;
    static inline QString secret;
};

TEST_F(ReplaceFileTest, ANameSwappedForALinkNeitherWritesItsTargetNorLeavesTheLink)
{
    secret = Path("secret");
    Put("secret", "root only");
    ::chmod(Name(secret).constData(), 0600);
    Put("s.lua", "old");
    ::chmod(Name(Path("s.lua")).constData(), 0644);
    ReplaceFileBeforeRename = SwapForLink;

    // Swapped once: the save tries again and the script is the new text, a plain file with its mode.
    swaps = 1;
    EXPECT_TRUE(ReplaceFileSafely(Path("s.lua"), Writer("new")));
    EXPECT_EQ(swaps, 0);
    EXPECT_EQ(Fetch("secret"), "root only");
    EXPECT_TRUE(S_ISREG(Lstat(Path("s.lua")).st_mode));
    EXPECT_EQ(Lstat(Path("s.lua")).st_mode & 07777, 0644u);
    EXPECT_EQ(Fetch("s.lua"), "new");
    EXPECT_EQ(Temporaries("s.lua"), QStringList {});

    // Swapped on every try: the save fails and no link is left where the next save would follow it.
    swaps = 100;
    EXPECT_FALSE(ReplaceFileSafely(Path("s.lua"), Writer("newer")));
    EXPECT_EQ(Fetch("secret"), "root only");
    EXPECT_FALSE(S_ISLNK(Lstat(Path("s.lua")).st_mode));
    EXPECT_EQ(Temporaries("s.lua"), QStringList {});
}

TEST_F(ReplaceFileTest, TemporaryFilesOfAKilledSaveGoAtTheNextSave)
{
    Put("s.lua", "old");
    // Left by a save before this process started: the next save removes them. Names that a save does
    // not make, files of another script, links and files written since stay.
    const QStringList old { ".s.lua.AbC123", ".s.lua.zz9zz9", ".s.lua.AbC12", ".s.lua.AbC1234", ".t.lua.AbC123",
        ".s.lua.AbC-23", ".s.lua.link12" };
    for (const QString& name : old) {
        if (name == ".s.lua.link12")
            ASSERT_EQ(::symlink("s.lua", Name(Path(name)).constData()), 0);
        else
            Put(name, "half a script");
        const timeval longAgo[2] = { { 1000, 0 }, { 1000, 0 } };
        ASSERT_EQ(::lutimes(Name(Path(name)).constData(), longAgo), 0);
    }
    Put(".s.lua.new123", "another editor is saving");

    EXPECT_TRUE(ReplaceFileSafely(Path("s.lua"), Writer("new", false)));
    EXPECT_EQ(Temporaries("s.lua"),
        (QStringList { ".s.lua.AbC-23", ".s.lua.AbC12", ".s.lua.AbC1234", ".s.lua.link12", ".s.lua.new123" }));
    EXPECT_TRUE(QFile::exists(Path(".t.lua.AbC123")));
    EXPECT_EQ(Fetch("s.lua"), "new");
}
} // namespace
