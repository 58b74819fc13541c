// The open script changed, touched, removed behind the editor's back: reloaded when nothing here is
// lost by it, asked about when both sides changed, and never overwritten unasked.
#include "AppFixture.h"

#include "app/RecoveryKeeper.h"
#include "resources/RecoveryFile.h"
#include "resources/RecoveryStore.h"

#include <QElapsedTimer>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

namespace {
class DiskChangeTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        path = folder.filePath("s.lua");
        Write("a = 1\nb = 2\n");
        ASSERT_TRUE(App->LoadFile(path));
        ASSERT_EQ(Script(), "a = 1\nb = 2");
        system->requests.clear();
    }

    void Write(const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QByteArray OnDisk() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // The user comes back to the editor.
    void Activate() { Send(Event::WindowActivate, App->Window); }
    QStringList Asked() const
    {
        QStringList kinds;
        for (const TRecordedRequest& request : system->requests)
            kinds << request.kind;
        return kinds;
    }
    QString Notice() const { return App->lRecovery->GetText(); }

    QString path;
};

TEST_F(DiskChangeTest, AnUnchangedScriptIsReloadedWhenTheWatcherSeesTheFileChange)
{
    Select(4);
    Write("-- new first line\na = 1\nb = 2\n");
    QElapsedTimer waited;
    waited.start();
    while (Script().startsWith("a") && waited.elapsed() < 5000)
        Settle();
    EXPECT_EQ(Script(), "-- new first line\na = 1\nb = 2");
    EXPECT_EQ(Cursor(), 4 + 18) << "the caret stays in its text";
    EXPECT_EQ(App->Modified, 0);
    EXPECT_TRUE(Notice().contains("reloaded")) << Notice().toStdString();
    EXPECT_EQ(Asked(), QStringList {});
    Undo();
    EXPECT_EQ(Script(), "a = 1\nb = 2") << "the reload is one undo step";
    EXPECT_EQ(App->Modified, 1);
}

// Touched, or written with the same bytes: nothing to ask or reload.
TEST_F(DiskChangeTest, ATouchedFileIsNotAChange)
{
    Type("x");
    const timespec later[2] = { { 0, UTIME_OMIT }, { 2000000000, 0 } };
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), later, 0), 0);
    Activate();
    ASSERT_TRUE(App->SaveDoc());
    EXPECT_EQ(Asked(), QStringList {});
    EXPECT_EQ(OnDisk(), "xa = 1\nb = 2\n");
}

TEST_F(DiskChangeTest, ChangesOnBothSidesAskAndASaveNeverOverwritesUnasked)
{
    Type("x");
    Write("a = 1\nb = 2\n-- other\n");
    // Cancel at the save: nothing written, still changed.
    system->chooseAnswers = { 2 };
    EXPECT_FALSE(App->SaveDoc());
    ASSERT_EQ(Asked(), QStringList { "Choose" });
    EXPECT_EQ(system->requests[0].buttons, (QStringList { "&Reload", "&Keep mine", "Cancel" }));
    EXPECT_TRUE(system->requests[0].text.contains("\"s.lua\" was changed on disk"))
        << system->requests[0].text.toStdString();
    EXPECT_EQ(OnDisk(), "a = 1\nb = 2\n-- other\n");
    EXPECT_EQ(App->Modified, 1);

    // A question closed unanswered is not asked again as the window comes back, only when the file
    // changes once more; then with two buttons.
    system->requests.clear();
    Activate();
    EXPECT_EQ(Asked(), QStringList {});
    Write("a = 1\nb = 2\n-- another\n");
    Activate();
    Activate();
    ASSERT_EQ(Asked(), QStringList { "Choose" });
    EXPECT_EQ(system->requests[0].buttons, (QStringList { "&Reload", "&Keep mine" }));
    // Keep mine, asked again when the file changes once more, lets the next save overwrite unasked.
    Write("a = 1\nb = 2\n-- other again\n");
    system->requests.clear();
    system->chooseAnswers = { 1 };
    Activate();
    ASSERT_EQ(Asked(), QStringList { "Choose" });
    EXPECT_EQ(system->requests[0].buttons, (QStringList { "&Reload", "&Keep mine" }));
    Activate();
    EXPECT_TRUE(App->SaveDoc());
    EXPECT_EQ(Asked(), QStringList { "Choose" });
    EXPECT_EQ(OnDisk(), "xa = 1\nb = 2\n");
}

TEST_F(DiskChangeTest, ReloadKeepsTheUsersVersionInTheRecoveryCopyAndOneUndoAway)
{
    Type("x");
    Write("a = 1\r\nb = 3\r\n");
    system->chooseAnswers = { 0 };
    Activate();
    EXPECT_EQ(Script(), "a = 1\nb = 3");
    EXPECT_EQ(App->Modified, 0);
    EXPECT_EQ(App->lFormat->GetText(), "UTF-8  CR LF") << "the reloaded file's form";
    QFile copy(App->RecoveryStore->File());
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    const std::optional<TRecoverySnapshot> kept = DecodeRecovery(copy.readAll(), TextAreaCapacity);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->text, "xa = 1\nb = 2");
    Undo();
    EXPECT_EQ(Script(), "xa = 1\nb = 2");
}

// A file grown past what the editor can hold is not overwritten unasked either.
TEST_F(DiskChangeTest, AFileThatCannotBeReadBackIsNotOverwrittenUnasked)
{
    Type("x");
    Write(QByteArray(TextAreaCapacity + 1, '-'));
    EXPECT_FALSE(App->SaveDoc()) << "unanswered, the save does not go on";
    ASSERT_EQ(Asked(), QStringList { "Choose" });
    EXPECT_EQ(system->requests[0].buttons, (QStringList { "&Keep mine", "Cancel" }));
    EXPECT_EQ(OnDisk().size(), TextAreaCapacity + 1);
    system->chooseAnswers = { 0 };
    EXPECT_TRUE(App->SaveDoc());
    EXPECT_EQ(OnDisk(), "xa = 1\nb = 2\n");
}

TEST_F(DiskChangeTest, ARemovedScriptIsSaidAndSaveWritesItBack)
{
    ASSERT_TRUE(QFile::remove(path));
    Activate();
    EXPECT_TRUE(Notice().contains("was deleted or moved")) << Notice().toStdString();
    EXPECT_EQ(App->Modified, 1) << "the file no longer holds the script";
    ASSERT_TRUE(App->SaveDoc());
    EXPECT_EQ(Asked(), QStringList {});
    EXPECT_EQ(OnDisk(), "a = 1\nb = 2\n");
}
} // namespace
