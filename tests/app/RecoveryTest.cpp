// Unsaved work kept in a recovery copy while the editor runs, and offered back by the next editor when
// this one ended without saving.
#include "AppFixture.h"

#include "app/RecoveryKeeper.h"
#include "resources/RecoveryStore.h"

#include <QDir>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>

namespace {
class RecoveryTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        App->Recovery->delay = std::chrono::milliseconds(0);
    }
    void TearDown() override
    {
        RecoveryWriteFault = nullptr;
        AppFixture::TearDown();
    }

    QStringList Files() const
    {
        return QDir(folder.filePath("state/tarvane-le/recovery")).entryList({ "*.recovery*" }, QDir::Files);
    }
    // What the editor's copy holds once every copy handed over is written.
    std::optional<TRecoverySnapshot> Copy()
    {
        App->Recovery->Flush();
        QFile file(App->RecoveryStore->File());
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return DecodeRecovery(file.readAll(), TextAreaCapacity);
    }
    // The editor ends as a crash ends it, without a word, and a new one starts answering `answers`.
    void Restart(std::initializer_list<int> answers)
    {
        App->Recovery->Flush();
        delete App;
        system->requests.clear();
        system->proceedAnswers.assign(answers);
        App = new TApplication();
        App->Init();
        App->Recovery->delay = std::chrono::milliseconds(0);
        Settle();
    }
    QString Title() const { return App->Window->GetText(); }
};

TEST_F(RecoveryTest, UnsavedWorkIsCopiedAndTheCopyGoesWhenTheWorkIsSafe)
{
    Settle();
    EXPECT_EQ(App->RecoveryStore->File(), "") << "an empty new script needs no copy";
    Type("print(1)");
    ASSERT_TRUE(Copy().has_value());
    EXPECT_EQ(Copy()->text, "print(1)");
    EXPECT_EQ(Copy()->path, "");
    Key(Qt::Key_Return);
    Type("x");
    EXPECT_EQ(Copy()->text, "print(1)\nx");

    const QString path = SaveAs("saved.lua");
    EXPECT_EQ(Files(), QStringList {});
    Type("y");
    EXPECT_EQ(Copy()->path, path);
    Undo();
    EXPECT_EQ(Copy()->text, "print(1)\nx");
    system->proceedAnswers.push_back(1);
    Menu(TApplication::M_NEW);
    EXPECT_EQ(Files(), QStringList {});

    // At the exit question, Don't Save gives the work up and the copy with it.
    Type("z");
    ASSERT_TRUE(Copy().has_value());
    system->confirmAnswers.push_back(0);
    system->chooseAnswers.push_back(1);
    Menu(TApplication::M_EXIT);
    EXPECT_EQ(system->exits, std::vector<int> { 0 });
    EXPECT_EQ(Files(), QStringList {});
}

TEST_F(RecoveryTest, TheNextEditorOffersTheWorkBack)
{
    const QString path = SaveAs("game.lua");
    Type("addhook(\"join\", \"j\")");
    ASSERT_TRUE(Copy().has_value());

    // Cancel leaves the copy for a later start; No deletes it.
    Restart({ -1 });
    ASSERT_EQ(system->requests.size(), 1u);
    const TRecordedRequest& question = system->requests[0];
    EXPECT_EQ(question.kind, "Proceed");
    EXPECT_EQ(question.caption, "Tarvane Lua Editor");
    // The whole path: a Yes and then Save writes there.
    EXPECT_TRUE(QRegularExpression("^Recover the unsaved changes to \"" + QRegularExpression::escape(path)
        + R"(" from \d{4}-\d\d-\d\d \d\d:\d\d\?$)")
                    .match(question.text)
                    .hasMatch())
        << question.text.toStdString();
    EXPECT_EQ(Script(), "");
    ASSERT_EQ(Files().size(), 1);

    // Yes: the text as it was, the file as recorded, marked modified; the file on disk is untouched.
    Restart({ 1 });
    EXPECT_EQ(Script(), "addhook(\"join\", \"j\")");
    EXPECT_EQ(App->File, path);
    EXPECT_EQ(Title(), "Tarvane:LE - game.lua*");
    EXPECT_EQ(QFile(path).size(), 0);
    EXPECT_TRUE(App->Recovered);
    ASSERT_EQ(Files().size(), 1) << "the copy is the new editor's own";
    Type("--");
    EXPECT_EQ(Copy()->text, "--addhook(\"join\", \"j\")");

    Restart({ 0 });
    EXPECT_EQ(Script(), "");
    EXPECT_EQ(Files(), QStringList {});
    Restart({});
    EXPECT_TRUE(system->requests.empty()) << "nothing is left to offer";
}

TEST_F(RecoveryTest, ADamagedCopyIsReportedOnceAndSetAside)
{
    Type("work");
    ASSERT_TRUE(Copy().has_value());
    const QString file = App->RecoveryStore->File();
    Restart({});
    system->requests.clear();
    QFile::resize(file, QFile(file).size() - 1);
    Restart({});
    ASSERT_EQ(system->requests.size(), 1u);
    EXPECT_EQ(system->requests[0].kind, "Notify");
    EXPECT_TRUE(system->requests[0].text.contains("set aside")) << system->requests[0].text.toStdString();
    EXPECT_EQ(Files(), QStringList { QFileInfo(file).fileName() + ".bad" });
    Restart({});
    EXPECT_TRUE(system->requests.empty());
}

// Copies that fail are said once in the status line, and so is their coming back; a state folder that
// cannot be made is said the same way.
TEST_F(RecoveryTest, TheStatusLineSaysWhenUnsavedChangesAreNotBeingKept)
{
    const auto status = [&] {
        App->Recovery->Flush();
        Settle();
        return App->lRecovery->GetText();
    };
    const QString folderName = folder.filePath("state/tarvane-le/recovery");
    RecoveryWriteFault = [](bool) { return ENOSPC; };
    Type("a");
    EXPECT_EQ(status(),
        "Unsaved changes are not being kept: cannot write to the folder: No space left on device (" + folderName + ")");
    RecoveryWriteFault = nullptr;
    Type("b");
    EXPECT_EQ(status(), "Unsaved changes are being kept again.");
    EXPECT_EQ(Copy()->text, "ab");

    QDir(folder.filePath("state")).removeRecursively();
    QFile blocking(folder.filePath("state"));
    ASSERT_TRUE(blocking.open(QIODevice::WriteOnly));
    blocking.close();
    Restart({});
    EXPECT_EQ(status(), "");
    Type("c");
    EXPECT_EQ(
        status(), "Unsaved changes are not being kept: cannot create the folder: Not a directory (" + folderName + ")");
}

// Asked to end by the system or the session, the editor keeps the changes at once, not two seconds on.
TEST_F(RecoveryTest, EndingBySignalKeepsTheChangesJustTyped)
{
    App->Recovery->delay = std::chrono::hours(1);
    Type("print(1)");
    ASSERT_EQ(App->RecoveryStore->File(), "") << "no copy is due yet";
    EXPECT_TRUE(App->KeepUnsavedWorkNow());
    EXPECT_EQ(Copy()->text, "print(1)");
    Key(Qt::Key_Return);
    Type("print(2)");
    App->EndBySignal(SIGTERM);
    EXPECT_EQ(system->exits, std::vector<int> { 128 + SIGTERM });
    Restart({ 1 });
    EXPECT_EQ(Script(), "print(1)\nprint(2)");
}
} // namespace

namespace {
// Recovered work is saved in the form its file has on disk, not in the new editor's default.
TEST_F(RecoveryTest, RecoveredWorkKeepsItsFilesForm)
{
    const QString path = folder.filePath("latin.lua");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("a = \"\xA9"
               "255000000\"\r\n");
    file.close();
    ASSERT_TRUE(App->LoadFile(path));
    Type("-- ");
    ASSERT_TRUE(Copy().has_value());
    Restart({ 1 });
    ASSERT_EQ(App->File, path);
    EXPECT_EQ(App->lFormat->GetText(), "Latin-1  CR LF");
    ASSERT_TRUE(App->SaveDoc());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
        "-- a = \"\xA9"
        "255000000\"\r\n");
}
} // namespace
