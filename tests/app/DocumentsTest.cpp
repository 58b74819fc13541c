// The script document through the whole application: new, load, save and save as, their questions,
// the bytes on disk, safe replacement of the old file, and the question when the program ends.
#include "AppFixture.h"

#include "app/TextareaClient.h"
#include "gui/WidgetGadget.h"
#include "highlight/History.h"
#include "settings/ConfigRecord.h"
#include "settings/WSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <ostream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    ASSERT_EQ(file.write(bytes), bytes.size());
}

mode_t Permissions(const QString& path)
{
    struct stat info { };
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

// The names of the hidden files a save would leave behind when it failed to clean up.
QStringList HiddenFiles(const QString& folder)
{
    return QDir(folder).entryList(QStringList { ".*" }, QDir::Files | QDir::Hidden | QDir::System);
}
} // namespace

class DocumentsTest : public AppFixture {
protected:
    QString Path(const QString& name) const { return folder.filePath(name); }
    QString Title() const { return App->Window->GetText(); }
    QString AllText() const { return Text()->AreaText(0, -1, TextUnit::Chars); }

    // Load from the menu, agreeing to drop changes when asked.
    void Load(const QString& path)
    {
        if (App->Modified)
            system->proceedAnswers.push_back(1);
        system->fileAnswers.push_back(path);
        Menu(TApplication::M_LOAD);
    }

    // Replaces the whole text as a user's edit would: the text area reports the change to the loop.
    void Edit(const QString& text)
    {
        Text()->ReplaceText(0, -1, text, TextUnit::Chars);
        Send(Event::GadgetAction, Text());
    }

    const TRecordedRequest* Last(const QString& kind) const
    {
        for (auto it = system->requests.rbegin(); it != system->requests.rend(); ++it) {
            if (it->kind == kind)
                return &*it;
        }
        return nullptr;
    }

    void ExpectSaveFailureReported()
    {
        const TRecordedRequest* notice = Last("Notify");
        ASSERT_NE(notice, nullptr);
        EXPECT_EQ(notice->caption, "Tarvane Lua Editor");
        EXPECT_EQ(notice->text, "Failed to save script!");
        EXPECT_TRUE(notice->serious);
    }

    QString ConfigFile() const { return App->wSettings->ConfigPath(); }
};

TEST_F(DocumentsTest, SavingANeverSavedScriptAsksForAPathAndCancellingKeepsItModified)
{
    Edit("x = 1");
    system->requests.clear();
    Menu(TApplication::M_SAVE);
    ASSERT_EQ(system->requests.size(), 1u);
    const TRecordedRequest& request = system->requests[0];
    EXPECT_EQ(request.kind, "RequestFile");
    EXPECT_EQ(request.caption, "Save script");
    EXPECT_EQ(request.text, "Lua script:lua");
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.path, QDir::homePath() + "/New Script.lua");
    EXPECT_EQ(App->Modified, 1);
    EXPECT_EQ(App->File, "");
    EXPECT_EQ(Title(), "Tarvane:LE - New Script.lua*");
    EXPECT_EQ(AllText(), "x = 1");

    system->fileAnswers.push_back(Path("first.lua"));
    Menu(TApplication::M_SAVE);
    EXPECT_EQ(Bytes(Path("first.lua")), "x = 1\n");
    EXPECT_EQ(App->File, Path("first.lua"));
    EXPECT_EQ(App->FileName, "first.lua");
    EXPECT_EQ(Title(), "Tarvane:LE - first.lua");
}

TEST_F(DocumentsTest, NewAsksOnlyAboutChangesAndOnlyYesStartsOver)
{
    Put(Path("a.lua"), "print(1)");
    Load(Path("a.lua"));
    system->requests.clear();
    Menu(TApplication::M_NEW);
    EXPECT_TRUE(system->requests.empty()) << "an unchanged document needs no question";
    EXPECT_EQ(Title(), "Tarvane:LE - New Script.lua*");
    EXPECT_EQ(App->File, "");
    EXPECT_EQ(AllText(), "");

    Load(Path("a.lua"));
    Edit("print(1)\nprint(2)");
    Text()->SetSelection(12, 0, TextUnit::Chars);
    Send(Event::GadgetSelect, Text());
    App->History->AddAction(*App->TextareaClient, 9, 1, QString(), 9, 0);
    for (int answer : { 0, -1 }) {
        system->requests.clear();
        system->proceedAnswers.push_back(answer);
        Menu(TApplication::M_NEW);
        ASSERT_EQ(system->requests.size(), 1u);
        EXPECT_EQ(system->requests[0].kind, "Proceed");
        EXPECT_EQ(system->requests[0].caption, "Tarvane Lua Editor");
        EXPECT_EQ(system->requests[0].text, "Create new script without saving?");
        EXPECT_FALSE(system->requests[0].serious);
        EXPECT_EQ(AllText(), "print(1)\nprint(2)") << "answer " << answer;
        EXPECT_EQ(App->File, Path("a.lua"));
        EXPECT_EQ(Title(), "Tarvane:LE - a.lua*");
        EXPECT_EQ(App->History->Count(), 1);
    }

    system->proceedAnswers.push_back(1);
    Menu(TApplication::M_NEW);
    EXPECT_EQ(AllText(), "");
    EXPECT_EQ(App->File, "");
    EXPECT_EQ(Title(), "Tarvane:LE - New Script.lua*");
    EXPECT_EQ(App->History->Count(), 0);
    EXPECT_EQ(App->lLines->GetText(), "Line: 1 / 1");
    EXPECT_EQ(App->lChar->GetText(), "Char: 0");
}

TEST_F(DocumentsTest, LoadAsksWithTheWindowTitleAsCaptionAndOnlyYesGoesOn)
{
    Put(Path("b.lua"), "b = 2");
    Edit("changed");
    for (int answer : { 0, -1 }) {
        system->requests.clear();
        system->proceedAnswers.push_back(answer);
        system->fileAnswers = { Path("b.lua") };
        Menu(TApplication::M_LOAD);
        ASSERT_EQ(system->requests.size(), 1u) << "no file requester after answer " << answer;
        EXPECT_EQ(system->requests[0].kind, "Proceed");
        EXPECT_EQ(system->requests[0].caption, "Tarvane:LE - New Script.lua*");
        EXPECT_EQ(system->requests[0].text, "Load another script without saving current?");
        EXPECT_FALSE(system->requests[0].serious);
        EXPECT_EQ(AllText(), "changed");
    }

    system->requests.clear();
    system->proceedAnswers.push_back(1);
    system->fileAnswers = { Path("b.lua") };
    Menu(TApplication::M_LOAD);
    ASSERT_EQ(system->requests.size(), 2u);
    EXPECT_EQ(system->requests[1].kind, "RequestFile");
    EXPECT_EQ(system->requests[1].caption, "Load script");
    EXPECT_EQ(system->requests[1].text, "Lua script:lua");
    EXPECT_FALSE(system->requests[1].save);
    EXPECT_EQ(system->requests[1].path, QDir::homePath() + "/");
    EXPECT_EQ(AllText(), "b = 2");
    EXPECT_EQ(Title(), "Tarvane:LE - b.lua");

    // Unchanged, the next load goes straight to the requester; cancelling it changes nothing.
    system->requests.clear();
    Menu(TApplication::M_LOAD);
    ASSERT_EQ(system->requests.size(), 1u);
    EXPECT_EQ(system->requests[0].kind, "RequestFile");
    EXPECT_EQ(AllText(), "b = 2");
    EXPECT_EQ(Title(), "Tarvane:LE - b.lua");
}

TEST_F(DocumentsTest, TheFinalLineBreakIsKeptAndANewScriptGetsOne)
{
    Put(Path("one.lua"), "a = 1\nb = 2\n");
    Load(Path("one.lua"));
    EXPECT_EQ(AllText(), "a = 1\nb = 2");
    Edit("a = 1\nb = 3");
    ASSERT_TRUE(App->SaveDoc());
    EXPECT_EQ(Bytes(Path("one.lua")), "a = 1\nb = 3\n");

    Put(Path("two.lua"), "a = 1\n\n");
    Load(Path("two.lua"));
    EXPECT_EQ(AllText(), "a = 1\n") << "two line breaks leave an empty last line";
    Edit("a = 2\n");
    ASSERT_TRUE(App->SaveDoc());
    EXPECT_EQ(Bytes(Path("two.lua")), "a = 2\n\n");

    Put(Path("none.lua"), "a = 1");
    Load(Path("none.lua"));
    Edit("a = 2");
    ASSERT_TRUE(App->SaveDoc());
    EXPECT_EQ(Bytes(Path("none.lua")), "a = 2");

    Menu(TApplication::M_NEW);
    Edit("x = 1\ny");
    system->fileAnswers.push_back(Path("new.lua"));
    ASSERT_TRUE(App->SaveDoc());
    EXPECT_EQ(Bytes(Path("new.lua")), "x = 1\ny\n");
}

TEST_F(DocumentsTest, LoadingKeepsTheCaretWithinTheNewTextAndLeavesNothingToUndo)
{
    Edit("0123456789\n0123456789");
    App->History->AddAction(*App->TextareaClient, 20, 1, QString(), 20, 0);
    Text()->SetSelection(15, 0, TextUnit::Chars);
    Send(Event::GadgetSelect, Text());
    Put(Path("short.lua"), "abc\nde");
    Load(Path("short.lua"));
    EXPECT_EQ(Text()->GetCursorPos(TextUnit::Chars), 6) << "the caret is limited to the new length";
    EXPECT_EQ(App->lLines->GetText(), "Line: 2 / 2");
    EXPECT_EQ(App->lChar->GetText(), "Char: 2");
    EXPECT_EQ(App->TextLast, 1);
    EXPECT_EQ(Title(), "Tarvane:LE - short.lua");
    EXPECT_EQ(App->History->Count(), 0);
    Menu(TApplication::M_UNDO);
    EXPECT_EQ(AllText(), "abc\nde");
    EXPECT_EQ(App->Modified, 0);

    Text()->SetSelection(2, 0, TextUnit::Chars);
    Put(Path("long.lua"), "a\nbcdef\ng");
    Load(Path("long.lua"));
    EXPECT_EQ(Text()->GetCursorPos(TextUnit::Chars), 2) << "a caret inside the new text stays where it was";
    EXPECT_EQ(App->lLines->GetText(), "Line: 2 / 3");
    EXPECT_EQ(App->lChar->GetText(), "Char: 0");
}

// Shown as real characters, and saved with one edit undone again: the very bytes the file had, and the
// status line names the form.
TEST_F(DocumentsTest, ScriptsComeBackAsTheyWereOnDisk)
{
    struct Case {
        const char* what;
        QByteArray file;
        QString text;
        QString format;
    };
    const Case cases[] = {
        { "CR LF line ends", "if a then\r\n\tb()\r\nend\r\n", "if a then\n\tb()\nend", "UTF-8  CR LF" },
        { "a byte-order mark", "\xEF\xBB\xBFprint('x')\n", "print('x')", "UTF-8 with BOM  LF" },
        { "two-, three- and four-byte characters", "s = '\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80'",
            QStringLiteral("s = '\u00E9\u20AC") + QString::fromUcs4(U"\U0001F600") + "'", "UTF-8  LF" },
        { "Latin-1 with the colour-code byte",
            "msg(\"\xA9"
            "255000000Hi\")\r\n",
            "msg(\"\u00A9"
            "255000000Hi\")",
            "Latin-1  CR LF" },
        // Latin-1, stray bytes, an overlong form, an encoded surrogate and a sequence cut short.
        { "bytes that are not UTF-8", "caf\xE9 \xFF\xFE \xC0\xAF \xED\xA0\x80 \xE2\x82",
            QString::fromUtf16(u"caf\u00E9 \u00FF\u00FE \u00C0\u00AF \u00ED\u00A0\u20AC \u00E2\u201A"), "Latin-1  LF" },
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString path = Path(QStringLiteral("case%1.lua").arg(++n));
        Put(path, c.file);
        Load(path);
        EXPECT_EQ(AllText(), c.text) << c.what;
        EXPECT_EQ(App->lFormat->GetText(), c.format) << c.what;
        Type("x");
        Undo();
        ASSERT_TRUE(App->SaveDoc()) << c.what;
        EXPECT_EQ(Bytes(path), c.file) << c.what;
    }
}

TEST_F(DocumentsTest, SavingKeepsPermissionsAndWritesThroughSymbolicLinks)
{
    Put(Path("private.lua"), "old");
    ASSERT_EQ(::chmod(QFile::encodeName(Path("private.lua")).constData(), 0640), 0);
    Load(Path("private.lua"));
    Edit("new");
    ASSERT_TRUE(App->SaveDoc());
    EXPECT_EQ(Bytes(Path("private.lua")), "new");
    EXPECT_EQ(Permissions(Path("private.lua")), mode_t(0640));

    ASSERT_TRUE(QDir(folder.path()).mkdir("real"));
    Put(Path("real/target.lua"), "old");
    ASSERT_TRUE(QFile::link("real/target.lua", Path("link.lua")));
    Load(Path("link.lua"));
    Edit("through the link");
    ASSERT_TRUE(App->SaveDoc());
    EXPECT_TRUE(QFileInfo(Path("link.lua")).isSymLink());
    EXPECT_EQ(QFileInfo(Path("link.lua")).symLinkTarget(), Path("real/target.lua"));
    EXPECT_EQ(Bytes(Path("real/target.lua")), "through the link");
    EXPECT_EQ(Title(), "Tarvane:LE - link.lua");

    // A new file gets the usual permissions.
    const mode_t oldMask = ::umask(022);
    system->fileAnswers.push_back(Path("fresh.lua"));
    Menu(TApplication::M_SAVEAS);
    ::umask(oldMask);
    EXPECT_EQ(Bytes(Path("fresh.lua")), "through the link");
    EXPECT_EQ(Permissions(Path("fresh.lua")), mode_t(0644));

    EXPECT_TRUE(HiddenFiles(folder.path()).isEmpty()) << qPrintable(HiddenFiles(folder.path()).join(' '));
    EXPECT_TRUE(HiddenFiles(Path("real")).isEmpty()) << qPrintable(HiddenFiles(Path("real")).join(' '));
}

TEST_F(DocumentsTest, AFailedSaveAsKeepsTheDocumentWhereItWas)
{
    Put(Path("a.lua"), "old");
    Load(Path("a.lua"));
    Edit("new");
    system->fileAnswers.push_back(Path("missing/b.lua"));
    Menu(TApplication::M_SAVEAS);
    ExpectSaveFailureReported();
    EXPECT_EQ(App->File, Path("a.lua"));
    EXPECT_EQ(App->FileName, "a.lua");
    EXPECT_EQ(App->Modified, 1);
    EXPECT_EQ(Title(), "Tarvane:LE - a.lua*");
    EXPECT_EQ(Bytes(Path("a.lua")), "old");
    EXPECT_FALSE(QFileInfo::exists(Path("missing")));

    // The rename fails when a folder has taken the file's place; the written copy must not stay behind.
    ASSERT_TRUE(QFile::remove(Path("a.lua")));
    ASSERT_TRUE(QDir(folder.path()).mkdir("a.lua"));
    system->requests.clear();
    Menu(TApplication::M_SAVE);
    ExpectSaveFailureReported();
    EXPECT_EQ(App->Modified, 1);
    EXPECT_EQ(Title(), "Tarvane:LE - a.lua*");
    EXPECT_TRUE(QFileInfo(Path("a.lua")).isDir());
    EXPECT_TRUE(HiddenFiles(folder.path()).isEmpty()) << qPrintable(HiddenFiles(folder.path()).join(' '));
    EXPECT_EQ(AllText(), "new");
}

TEST_F(DocumentsTest, AScriptThatCannotBeReadWholeLeavesTheDocumentAsItWas)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("folder.lua"));
    Put(Path("huge.lua"), QByteArray(TextAreaCapacity + 1, 'a'));
    Put(Path("huge-lines.lua"), QByteArray(TextAreaCapacity / 2, 'a') + '\n' + QByteArray(TextAreaCapacity / 2, 'b'));
    QStringList unreadable = { Path("folder.lua"), Path("missing.lua"), Path("huge.lua"), Path("huge-lines.lua") };
    // Memory at address 0 is never mapped, so reading the process's own memory fails at once.
    const int probe = ::open("/proc/self/mem", O_RDONLY);
    char byte;
    if (probe >= 0 && ::read(probe, &byte, 1) < 0 && errno == EIO)
        unreadable << "/proc/self/mem";
    else
        std::fprintf(stderr, "note: /proc/self/mem reads without an error here; the read error is not covered\n");
    if (probe >= 0)
        ::close(probe);

    Edit("keep me");
    for (const QString& path : unreadable) {
        system->requests.clear();
        Load(path);
        const TRecordedRequest* notice = Last("Notify");
        ASSERT_NE(notice, nullptr) << qPrintable(path);
        EXPECT_EQ(notice->caption, "Tarvane Lua Editor");
        EXPECT_EQ(notice->text, "Failed to open script!");
        EXPECT_TRUE(notice->serious);
        EXPECT_EQ(AllText(), "keep me") << qPrintable(path);
        EXPECT_EQ(App->File, "");
        EXPECT_EQ(Title(), "Tarvane:LE - New Script.lua*");
    }
}

// A pipe that sends one line without end is refused once the line passes the capacity; the writer
// then finds nobody reading.
TEST_F(DocumentsTest, AnEndlessLineFromAPipeIsRefused)
{
    const QByteArray fifo = QFile::encodeName(Path("endless.lua"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    // A second reader-writer end keeps the pipe open before the editor comes; whoever is done with it
    // first closes it, so that neither a reader holding the whole line nor a stopped writer can hang.
    std::atomic<int> keep = ::open(fifo.constData(), O_RDWR);
    const int out = ::open(fifo.constData(), O_WRONLY);
    ASSERT_GE(keep, 0);
    ASSERT_GE(out, 0);
    const auto release = [&] {
        if (const int fd = keep.exchange(-1); fd >= 0)
            ::close(fd);
    };
    const auto oldPipeHandler = std::signal(SIGPIPE, SIG_IGN);
    std::atomic<qint64> written = 0;
    std::thread writer([&] {
        const std::string block(65536, 'a');
        for (qint64 n; written < 3 * TextAreaCapacity && (n = ::write(out, block.data(), block.size())) > 0;)
            written += n;
        ::close(out);
        release();
    });
    Edit("keep me");
    Load(Path("endless.lua"));
    release();
    writer.join();
    std::signal(SIGPIPE, oldPipeHandler);
    const TRecordedRequest* notice = Last("Notify");
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->text, "Failed to open script!");
    EXPECT_EQ(AllText(), "keep me");
    EXPECT_GT(written, TextAreaCapacity);
    EXPECT_LT(written, 2 * TextAreaCapacity) << "the reader stopped soon after the capacity";
}

TEST_F(DocumentsTest, AScriptOfExactlyTheTextAreaCapacityLoads)
{
    // The byte-order mark and the final line break are not part of the text, so they do not count.
    Put(Path("full.lua"), "\xEF\xBB\xBF" + QByteArray(TextAreaCapacity, 'a') + '\n');
    Load(Path("full.lua"));
    EXPECT_EQ(Last("Notify"), nullptr);
    EXPECT_EQ(Text()->AreaLen(TextUnit::Chars), TextAreaCapacity);
    EXPECT_EQ(Title(), "Tarvane:LE - full.lua");
}

// Ending the program: closing the window and File > Exit take the same way.
namespace {
enum class Document { EmptyNew, TypedNew, Loaded, Edited, Emptied, EditedInARemovedFolder };
enum class Ending { CloseWindow, ExitItem };

struct EndingCase {
    const char* name;
    Document document;
    Ending ending;
    int answer; // to the question, when it comes: Save 0, Don't Save 1, Cancel 2
    bool namesAFile; // what the save requester answers, when it comes; else it is cancelled
    QStringList requests; // the kinds asked of the user, in order
    bool ends;
    QByteArray onDisk; // the script's file afterwards
};

void PrintTo(const EndingCase& c, std::ostream* out)
{
    *out << c.name;
}

const QByteArray Missing = "<missing>";

const EndingCase EndingCases[] = {
    // An empty new script is nothing to lose, and an unchanged file neither.
    { "EmptyNewScriptClosed", Document::EmptyNew, Ending::CloseWindow, 0, true, {}, true, Missing },
    { "EmptyNewScriptExited", Document::EmptyNew, Ending::ExitItem, 0, true, {}, true, Missing },
    { "UnchangedScriptClosed", Document::Loaded, Ending::CloseWindow, 0, true, {}, true, "old" },
    // A new script with text asks; Save saves through the requester.
    { "TypedScriptCancelled", Document::TypedNew, Ending::ExitItem, 2, true, { "Choose" }, false, Missing },
    { "TypedScriptNotSaved", Document::TypedNew, Ending::CloseWindow, 1, true, { "Choose" }, true, Missing },
    { "TypedScriptSavedAs", Document::TypedNew, Ending::ExitItem, 0, true, { "Choose", "RequestFile" }, true, "x\n" },
    { "TypedScriptRequesterCancelled", Document::TypedNew, Ending::CloseWindow, 0, false, { "Choose", "RequestFile" },
        false, Missing },
    // A changed file asks; Save saves it where it is.
    { "ChangedScriptCancelled", Document::Edited, Ending::CloseWindow, 2, true, { "Choose" }, false, "old" },
    { "ChangedScriptNotSaved", Document::Edited, Ending::CloseWindow, 1, true, { "Choose" }, true, "old" },
    { "ChangedScriptSaved", Document::Edited, Ending::ExitItem, 0, true, { "Choose" }, true, "new" },
    { "EmptiedScriptStillAsks", Document::Emptied, Ending::ExitItem, 1, true, { "Choose" }, true, "old" },
    { "FailedSaveStaysOpen", Document::EditedInARemovedFolder, Ending::ExitItem, 0, true, { "Choose", "Notify" }, false,
        Missing },
};

class EndingTest : public DocumentsTest, public testing::WithParamInterface<EndingCase> {
protected:
    // Puts the document in place and returns the path of its file.
    QString Prepare(Document document)
    {
        switch (document) {
        case Document::EmptyNew:
            return Path("kept.lua");
        case Document::TypedNew:
            Type("x");
            return Path("kept.lua");
        case Document::Loaded:
        case Document::Edited:
        case Document::Emptied:
            Put(Path("a.lua"), "old");
            Load(Path("a.lua"));
            if (document != Document::Loaded)
                Edit(document == Document::Emptied ? "" : "new");
            return Path("a.lua");
        case Document::EditedInARemovedFolder:
            EXPECT_TRUE(QDir(folder.path()).mkdir("gone"));
            Put(Path("gone/a.lua"), "old");
            Load(Path("gone/a.lua"));
            Edit("new");
            EXPECT_TRUE(QDir(Path("gone")).removeRecursively());
            return Path("gone/a.lua");
        }
        return QString();
    }
};

TEST_P(EndingTest, AsksAboutUnsavedWorkAndEndsOnlyWhenNothingIsLost)
{
    const EndingCase& c = GetParam();
    const QString script = Prepare(c.document);
    const QString text = AllText();
    TConfigRecord settings = App->wSettings->Values();
    settings.gamePath = "/games/tarvane/Tarvane.exe";
    App->wSettings->SetValues(settings);
    QFile::remove(ConfigFile());
    system->requests.clear();
    system->chooseAnswers = { c.answer };
    if (c.namesAFile)
        system->fileAnswers = { script };

    if (c.ending == Ending::CloseWindow) {
        TWidgetGadget::From(App->Window)->Widget()->close();
        Settle();
    } else {
        Menu(TApplication::M_EXIT);
    }

    QStringList asked;
    for (const TRecordedRequest& request : system->requests)
        asked << request.kind;
    EXPECT_EQ(asked, c.requests);
    if (const TRecordedRequest* question = Last("Choose")) {
        EXPECT_EQ(question->caption, "Tarvane Lua Editor");
        EXPECT_EQ(question->text, "Save changes to the script before exiting?");
        EXPECT_EQ(question->buttons, (QStringList { "&Save", "&Don't Save", "Cancel" }));
        EXPECT_FALSE(question->serious);
    }
    if (const TRecordedRequest* requester = Last("RequestFile")) {
        EXPECT_EQ(requester->caption, "Save script");
    }
    if (Last("Notify"))
        ExpectSaveFailureReported();
    // The question's caption does not stay on the window.
    EXPECT_EQ(ApplicationTitle, Title());
    EXPECT_EQ(Bytes(script), c.onDisk);

    if (c.ends) {
        EXPECT_EQ(system->exits, std::vector<int> { 0 });
        ASSERT_TRUE(QFileInfo::exists(ConfigFile())) << "the settings are written when the program ends";
        EXPECT_EQ(TConfigRecord::Load(ConfigFile()).gamePath, "/games/tarvane/Tarvane.exe");
    } else {
        EXPECT_TRUE(system->exits.empty());
        EXPECT_FALSE(QFileInfo::exists(ConfigFile())) << "the settings are written only when the program ends";
        EXPECT_EQ(App->Modified, 1);
        EXPECT_TRUE(Title().endsWith("*")) << qPrintable(Title());
        EXPECT_EQ(AllText(), text);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryAnswer, EndingTest, testing::ValuesIn(EndingCases),
    [](const testing::TestParamInfo<EndingCase>& info) { return std::string(info.param.name); });
} // namespace

namespace {
// A Latin-1 script takes a colour code as the byte 169; a character Latin-1 cannot hold asks first, and
// the menu converts either way.
TEST_F(DocumentsTest, ALatin1ScriptStaysLatin1UntilTheUserChoosesOtherwise)
{
    Put(Path("l1.lua"),
        "msg(\"\xA9"
        "255000000Hi\")\n");
    Load(Path("l1.lua"));
    system->colourAnswers = { 0xFF00FF00u };
    Menu(TApplication::M_COLOR);
    ASSERT_TRUE(App->SaveDoc());
    EXPECT_EQ(Bytes(Path("l1.lua")),
        "\xA9"
        "000255000msg(\"\xA9"
        "255000000Hi\")\n");

    // Cancel keeps the file and the mark; OK saves in UTF-8.
    Text()->SetSelection(0, 0, TextUnit::Chars);
    ASSERT_TRUE(App->InsertAtCaret(QString::fromUtf16(u"\u4E2D")));
    system->confirmAnswers = { 0, 1 };
    EXPECT_FALSE(App->SaveDoc());
    EXPECT_TRUE(Last("Confirm")->text.contains(QString::fromUtf16(u"cannot hold the character \"\u4E2D\" on line 1")));
    EXPECT_EQ(App->Modified, 1);
    ASSERT_TRUE(App->SaveDoc());
    EXPECT_EQ(Bytes(Path("l1.lua")),
        "\xE4\xB8\xAD\xC2\xA9"
        "000255000msg(\"\xC2\xA9"
        "255000000Hi\")\n");
    EXPECT_EQ(App->lFormat->GetText(), "UTF-8  LF");

    // Back to Latin-1 is refused while the character is there.
    Menu(TApplication::M_TO_LATIN1);
    EXPECT_TRUE(Last("Notify")->text.startsWith("The script cannot be converted to Latin-1"));
    EXPECT_EQ(App->Modified, 0);
    Text()->SetSelection(0, 1, TextUnit::Chars);
    ASSERT_TRUE(App->InsertAtCaret("-"));
    Menu(TApplication::M_TO_LATIN1);
    EXPECT_EQ(App->lFormat->GetText(), "Latin-1  LF");
    ASSERT_TRUE(App->SaveDoc());
    EXPECT_EQ(Bytes(Path("l1.lua")),
        "-\xA9"
        "000255000msg(\"\xA9"
        "255000000Hi\")\n");
}
} // namespace
