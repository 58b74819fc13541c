#include "app/Application.h"

#include "app/CheckCommand.h"
#include "app/CodeAssist.h"
#include "app/ColourSwatches.h"
#include "app/LiveCheck.h"
#include "app/RecoveryKeeper.h"
#include "app/TextareaClient.h"
#include "draw/Pixmap.h"
#include "gui/GadgetFactory.h"
#include "gui/GuiFont.h"
#include "gui/KeyMap.h"
#include "gui/MenuGadget.h"
#include "gui/ScriptArea.h"
#include "gui/SystemDriver.h"
#include "highlight/History.h"
#include "highlight/SyntaxColouring.h"
#include "lua/SyntaxCheck.h"
#include "resources/Path.h"
#include "resources/RecoveryStore.h"
#include "settings/ConfigLocation.h"
#include "settings/ExtraSettings.h"
#include "settings/WSettings.h"
#include "tools/StartupResources.h"
#include "tools/ToolDialog.h"
#include "tools/WCommand.h"
#include "tools/WFind.h"
#include "tools/WGoto.h"
#include "tools/WHook.h"
#include "tools/WHudtxt.h"
#include "tools/WItems.h"
#include "tools/WOutline.h"
#include "tools/WProblems.h"
#include "tools/WTimer.h"

#include <QFileInfo>

TApplication* App = nullptr;

namespace {
constexpr int Ctrl = Modifier::Ctrl;
constexpr int Shift = Modifier::Shift;
constexpr int F3 = VirtualKey::F1 + 2;
constexpr int F7 = VirtualKey::F1 + 6;

constexpr int MainWindowStyle = WindowStyle::TitleBar | WindowStyle::Resizable | WindowStyle::MenuBar
    | WindowStyle::ClientCoords | WindowStyle::Hidden | WindowStyle::Centred;
// The panel behind the toolbar tiles its image; the program has always passed 8 for that.
constexpr int TiledBackground = 8;
constexpr int ClientWidth = 640;
constexpr int ClientHeight = 512;
constexpr int MinimumWidth = 389;
constexpr int MinimumHeight = 240;
constexpr int ToolbarStripHeight = 32;
// The text area fills the client area between the toolbar strip and the status line.
constexpr int TextareaHeight = 460;
constexpr int StatusY = ToolbarStripHeight + TextareaHeight + 2;
constexpr int StatusHeight = 15;
constexpr int FrameShade = 105; // grey of the right and bottom frame lines
// The recovery notice keeps clear of the line and column labels' texts at either end.
constexpr int RecoveryLabelInset = 120;
// How long the status line shows a passing message, such as that copies are kept again.
constexpr auto NoticeTime = std::chrono::seconds(10);
// The encoding label ends this far from the right edge, clear of the column label's text.
constexpr int FormatLabelRight = 90;
constexpr int FormatLabelWidth = 160;
// The problem count stands after the caret's line, clear of the longest "Line: 4194305 / 4194305".
constexpr int ProblemsLabelX = 150;
constexpr int ProblemsLabelWidth = 200;

// The caption of the editor's questions and notices.
const QString Caption = QStringLiteral("Tarvane Lua Editor");

const QStringList ToolbarTips = {
    "New",
    "Open",
    "Save",
    "",
    "Insert item id",
    "Create hud text",
    "Insert formatted color",
    "Create timer",
    "Create image (doesn't work yet)",
    "Create hook",
    "",
    "Run Tarvane",
    "Run Tarvane Dedicated",
    "Command-Line Arguments",
};
} // namespace

TApplication::TApplication()
    : colouring(std::make_unique<TSyntaxColouring>())
{
}

TApplication::~TApplication()
{
    Assist.reset();
    Swatches.reset();
    delete History;
    // The text area's notices, which reach the history, may come until the window has gone.
    History = nullptr;
    for (TToolDialog* tool : toolDialogs)
        delete tool;
    delete wSettings;
    if (mTextarea)
        mTextarea->Free();
    if (Window)
        Window->Free();
}

void TApplication::Init()
{
    // Beside config.dat, read before the menus list its recent scripts.
    Extra = std::make_unique<TExtraSettings>(ExtraSettingsPathBeside(ConfigPathForThisRun()));
    LiveCheck = std::make_unique<TLiveCheck>();
    Window = MakeWindow(QString(), 0, 0, ClientWidth, ClientHeight, nullptr, MainWindowStyle);
    Window->SetPixmap(StartupResources().icon, PixmapFlag::WindowIcon);
    Window->SetMinimumSize(MinimumWidth, MinimumHeight);

    CreateToolbarStrip();

    // One-pixel lines frame the text area.
    using namespace EdgeMode;
    const int top = ToolbarStripHeight;
    TGadget* frame = MakePanel(0, top, ClientWidth, 1, Window, 0);
    frame->SetLayout(Aligned, Aligned, Aligned, Centred);
    frame = MakePanel(0, top, 1, TextareaHeight, Window, 0);
    frame->SetLayout(Aligned, Centred, Aligned, Aligned);
    frame = MakePanel(ClientWidth - 2, top, 1, TextareaHeight - 1, Window, 0);
    frame->SetColor(FrameShade, FrameShade, FrameShade);
    frame->SetLayout(Centred, Aligned, Aligned, Aligned);
    frame = MakePanel(1, top + TextareaHeight - 2, ClientWidth - 2, 1, Window, 0);
    frame->SetColor(FrameShade, FrameShade, FrameShade);
    frame->SetLayout(Aligned, Aligned, Centred, Aligned);

    Textarea = MakeTextArea(0, top, ClientWidth, TextareaHeight, Window, 0);
    Textarea->SetTabs(4);
    Textarea->SetFont(LibraryFont(FontKind::Monospaced, 10, 0));
    Textarea->SetLayout(Aligned, Aligned, Aligned, Aligned);
    Textarea->SetFilter(TextareaFilter, Textarea);
    TextareaClient = std::make_unique<TTextareaClient>(*Textarea);

    const int half = ClientWidth / 2;
    lLines = MakeLabel(QStringLiteral("Line: 1 / 1"), 5, StatusY, half - 5, StatusHeight, Window, 0);
    lLines->SetLayout(Aligned, Relative, Centred, Aligned);
    lChar = MakeLabel(QStringLiteral("Char: 0"), half, StatusY, half - 5, StatusHeight, Window, LabelStyle::AlignRight);
    lChar->SetLayout(Relative, Aligned, Centred, Aligned);
    // Whoever changed the text or moved the caret, the status line follows, and the live check.
    ScriptArea(Textarea)->Subscribe([this](const TAreaChange& change) {
        ShowCaretPlace();
        ShowMatchingBracket();
        if (change.text && LiveCheck)
            LiveCheck->Changed();
    });
    lRecovery = MakeLabel(QString(), RecoveryLabelInset, StatusY, ClientWidth - 2 * RecoveryLabelInset, StatusHeight,
        Window, LabelStyle::AlignCentre);
    lRecovery->SetLayout(Aligned, Aligned, Centred, Aligned);
    lFormat = MakeLabel(QString(), ClientWidth - FormatLabelRight - FormatLabelWidth, StatusY, FormatLabelWidth,
        StatusHeight, Window, LabelStyle::AlignRight);
    lFormat->SetLayout(Centred, Aligned, Centred, Aligned);
    lFormat->SetTooltip(QStringLiteral("How the script is stored: its encoding and line endings"));
    UpdateFormatLabel();
    lProblems = MakeLabel(QStringLiteral("No problems"), ProblemsLabelX, StatusY, ProblemsLabelWidth, StatusHeight,
        Window, LabelStyle::Clickable);
    lProblems->SetLayout(Aligned, Centred, Centred, Aligned);
    lProblems->SetTooltip(QStringLiteral("Problems the live check found: click, or F8, for the next one"));

    CreateMenus();
    ApplyViewOptions();

    // The dialogs, in this order: item ids, settings, HUD text, launch arguments, hooks, timers. Each
    // builds its hidden window once; the tools are also kept in toolDialogs for the loop's dispatch.
    wItems = new TWItems(ToolHost());
    wItems->Init(Window);
    wSettings = new TWSettings();
    wSettings->Init(Window, Textarea);
    wHudtxt = new TWHudtxt(ToolHost());
    wHudtxt->Init(Window);
    wCommand = new TWCommand(ToolHost());
    wCommand->Init(Window);
    KeepLaunchArguments();
    wHook = new TWHook(ToolHost());
    wHook->Init(Window);
    wTimer = new TWTimer(ToolHost());
    wTimer->Init(Window);
    wFind = new TWFind(ToolHost());
    wFind->Init(Window);
    wGoto = new TWGoto(ToolHost());
    wGoto->Init(Window);
    wProblems = new TWProblems(ToolHost());
    wProblems->Init(Window);
    wProblems->onChoose = [this](int index) { GoToProblem(index); };
    wOutline = new TWOutline(ToolHost());
    wOutline->Init(Window);
    wOutline->onChoose = [this](int line) {
        Textarea->SetSelection(Textarea->CharAt(line), 0, TextUnit::Chars);
        TEvent::Create(Event::GadgetSelect, Textarea).Emit();
        Textarea->Activate(ActivateCommand::Focus);
    };
    toolDialogs = { wItems, wHudtxt, wCommand, wHook, wTimer, wFind, wGoto, wProblems, wOutline };

    History = new THistory([this](int line) { UpdateTextareaLine(line); });
    // A caret moved without an edit ends a run of typing, even when it comes back to where it was.
    ScriptArea(Textarea)->Subscribe([this](const TAreaChange& change) {
        if (History && change.selection && !change.text)
            History->EndGroup();
    });
    SetTypingGrouped(Extra->Value(ExtraKey::GroupTyping).toBool());
    LoadKeywords();
    const auto replaceRange
        = [this](int pos, int length, const QString& text) { return ReplaceRange(pos, length, text); };
    Swatches = std::make_unique<TColourSwatches>(*Textarea, replaceRange);
    Assist = std::make_unique<TCodeAssist>(*Textarea, *TextareaClient, replaceRange);
    Assist->SetKeywords(Keywords);
    QStringList hookProblems;
    ExtraHooks = LoadExtraHooks(ExtraHooksPath(QFileInfo(ConfigPathForThisRun()).absolutePath()), hookProblems);
    Assist->SetExtraHooks(ExtraHooks);

    RecoveryStore = std::make_unique<TRecoveryStore>(DefaultRecoveryFolder(), TextAreaCapacity);
    Recovery = std::make_unique<TRecoveryKeeper>(*RecoveryStore);
    OfferRecovery();
    ReportRecovery();
    if (const QString problem = Extra->TakeProblem(); !problem.isEmpty())
        Tell(problem, false);
    if (!hookProblems.isEmpty())
        Tell(hookProblems.join(QLatin1Char('\n')), false);

    UpdateTitle();
    Window->SetShow(1);
    Textarea->Activate(ActivateCommand::Focus);
}

void TApplication::OfferRecovery()
{
    bool offered = false;
    for (const TLeftRecovery& left : RecoveryStore->FindLeftOver()) {
        if (!left.snapshot) {
            const QString bad = RecoveryStore->SetAside(left.file);
            Tell(
                QStringLiteral("The recovery file \"%1\" is damaged and could not be read. It was set aside as \"%2\".")
                    .arg(StripDir(left.file), StripDir(bad)),
                true);
            continue;
        }
        // One question per start, for the newest; the others wait for a later one.
        if (offered)
            continue;
        offered = true;
        const TRecoverySnapshot& snapshot = *left.snapshot;
        const QString name = snapshot.path.isEmpty() ? QStringLiteral("New Script.lua") : StripDir(snapshot.path);
        // The whole path: a Yes and then Save writes there.
        const int answer = Ask(QStringLiteral("Recover the unsaved changes to \"%1\" from %2?")
                                   .arg(snapshot.path.isEmpty() ? name : snapshot.path,
                                       snapshot.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
        if (answer == 0) {
            RecoveryStore->Remove(left.file);
        } else if (answer == 1 && Textarea->ReplaceText(0, -1, snapshot.text, TextUnit::Chars)) {
            GlobalUpdateTextarea();
            File = snapshot.path;
            FileName = name;
            History->Clear();
            TEvent::Create(Event::GadgetSelect, Textarea).Emit();
            // The file on disk is not touched until the user saves, which keeps its form and overwrites
            // what it holds now; the copy is this editor's now.
            if (const auto file
                = snapshot.path.isEmpty() ? std::nullopt : ReadScriptFile(snapshot.path, TextAreaCapacity)) {
                Format = file->script.format;
                formatFromFile = true;
                KnowDisk(file->stamp, file->fingerprint);
                watcher.Watch(File);
            }
            RecoveryStore->Adopt(left.file);
            MarkModified();
            Recovered = true;
        }
    }
}

bool TApplication::HoldsUnsavedWork() const
{
    return Modified && !(File.isEmpty() && Textarea->AreaLen(TextUnit::Chars) == 0);
}

void TApplication::DiscardRecovery()
{
    if (Recovery)
        Recovery->Discard();
}

TRecoverySnapshot TApplication::RecoverySnapshot() const
{
    return TRecoverySnapshot { File, Textarea->AreaText(0, -1, TextUnit::Chars), QDateTime::currentDateTime() };
}

bool TApplication::KeepUnsavedWorkNow()
{
    const bool kept = !HoldsUnsavedWork() || Recovery->WriteNow(RecoverySnapshot());
    ReportRecovery();
    return kept;
}

void TApplication::ReportRecovery()
{
    const QString problem = Recovery->Problem();
    if (problem != shownRecoveryProblem) {
        shownRecoveryProblem = problem;
        if (problem.isEmpty()) {
            notice = QStringLiteral("Unsaved changes are being kept again.");
            noticeSince = std::chrono::steady_clock::now();
        }
    }
    if (!notice.isEmpty() && std::chrono::steady_clock::now() - noticeSince >= NoticeTime)
        notice.clear();
    const QString text = problem.isEmpty() ? notice : QStringLiteral("Unsaved changes are not being kept: ") + problem;
    if (text == shownNotice)
        return;
    shownNotice = text;
    // A notice may run across the encoding's and the count's places; they show again when it is gone.
    if (lFormat)
        lFormat->SetShow(text.isEmpty());
    if (lProblems)
        lProblems->SetShow(text.isEmpty());
    lRecovery->SetText(text);
    // The label may be too narrow for a long folder name.
    lRecovery->SetTooltip(text);
}

void TApplication::ShowNotice(const QString& text)
{
    notice = text;
    noticeSince = std::chrono::steady_clock::now();
    if (Recovery)
        ReportRecovery();
}

void TApplication::UpdateFormatLabel()
{
    if (lFormat)
        lFormat->SetText(CharsetName(Format) + QStringLiteral("  ") + LineEndingName(Format));
}

void TApplication::CreateToolbarStrip()
{
    gfxToolbar = LoadPixmapUrl("incbin::incbins/toolbar.png");
    TGadget* strip = MakePanel(0, 0, Window->ClientWidth(), ToolbarStripHeight, Window, 0);
    strip->SetLayout(EdgeMode::Aligned, EdgeMode::Aligned, EdgeMode::Aligned, EdgeMode::Centred);
    strip->SetPixmap(StartupResources().gradient, TiledBackground);
    Toolbar = MakeToolbar(LoadIconStrip(gfxToolbar), 0, 0, 0, 0, strip, 0);
    SetToolbarItemTips(Toolbar, ToolbarTips);
    SetItemEnabled(Toolbar, TB_IMAGE, false);
}

void TApplication::CreateMenus()
{
    TGadget* root = Window->GetMenu();

    mFile = MakeMenuItem(QStringLiteral("File"), 0, root);
    MakeMenuItem(QStringLiteral("&New"), M_NEW, mFile, 'N', Ctrl);
    MakeMenuItem(QStringLiteral("L&oad..."), M_LOAD, mFile, 'O', Ctrl);
    mFileSave = MakeMenuItem(QStringLiteral("&Save"), M_SAVE, mFile, 'S', Ctrl);
    MakeMenuItem(QStringLiteral("Save As..."), M_SAVEAS, mFile);
    MakeMenuItem(QString(), 0, mFile);
    TGadget* encoding = MakeMenuItem(QStringLiteral("&Encoding"), 0, mFile);
    MakeMenuItem(QStringLiteral("Convert to &UTF-8"), M_TO_UTF8, encoding);
    MakeMenuItem(QStringLiteral("Convert to &Latin-1"), M_TO_LATIN1, encoding);
    mRecent = MakeMenuItem(QStringLiteral("&Recent Scripts"), 0, mFile);
    RebuildRecentMenu();
    MakeMenuItem(QString(), 0, mFile);
    MakeMenuItem(QStringLiteral("Exit"), M_EXIT, mFile);

    mEdit = MakeMenuItem(QStringLiteral("Edit"), 0, root);
    MakeMenuItem(QStringLiteral("Undo"), M_UNDO, mEdit, 'Z', Ctrl);
    MakeMenuItem(QStringLiteral("Redo"), M_REDO, mEdit, 'Y', Ctrl);
    mGroupTyping = MakeMenuItem(QStringLiteral("Group Typing in Undo"), M_GROUP_TYPING, mEdit);
    MakeMenuItem(QString(), 0, mEdit);
    MakeMenuItem(QStringLiteral("Cut"), M_CUT, mEdit, 'X', Ctrl);
    MakeMenuItem(QStringLiteral("&Copy"), M_COPY, mEdit, 'C', Ctrl);
    MakeMenuItem(QStringLiteral("Paste"), M_PASTE, mEdit, 'V', Ctrl);
    MakeMenuItem(QString(), 0, mEdit);
    MakeMenuItem(QStringLiteral("Select All"), M_ALL, mEdit, 'A', Ctrl);
    MakeMenuItem(QStringLiteral("Select &Line"), M_LINE, mEdit, 'L', Ctrl);
    MakeMenuItem(QString(), 0, mEdit);
    MakeMenuItem(QStringLiteral("Block Indent"), M_BIN, mEdit, VirtualKey::CloseBracket, Ctrl);
    // Shift+Tab outdents in the text area itself; the label names it beside Ctrl+[, which many
    // keyboard layouts cannot type.
    static_cast<TMenuGadget*>(
        MakeMenuItem(QStringLiteral("Block Outdent"), M_BOUT, mEdit, VirtualKey::OpenBracket, Ctrl))
        ->SetKeyLabel(QStringLiteral("Ctrl+[, Shift+Tab"));
    MakeMenuItem(QString(), 0, mEdit);
    MakeMenuItem(QStringLiteral("Find..."), M_FIND, mEdit, 'F', Ctrl);
    MakeMenuItem(QStringLiteral("Find Next"), M_FINDNEXT, mEdit, F3, 0);
    MakeMenuItem(QStringLiteral("Find Previous"), M_FINDPREV, mEdit, F3, Shift);
    MakeMenuItem(QStringLiteral("Replace..."), M_REPLACE, mEdit, 'H', Ctrl);
    MakeMenuItem(QStringLiteral("Go to Line..."), M_GOTO, mEdit, 'G', Ctrl);
    MakeMenuItem(QStringLiteral("Complete"), M_COMPLETE, mEdit, VirtualKey::Space, Ctrl);

    CreateViewMenu(root);

    mTool = MakeMenuItem(QStringLiteral("Tool"), 0, root);
    MakeMenuItem(QStringLiteral("Insert Item ID"), M_ITEMID, mTool, '1', Ctrl);
    MakeMenuItem(QStringLiteral("Create HUD"), M_HUD, mTool, '2', Ctrl);
    MakeMenuItem(QStringLiteral("Insert Color"), M_COLOR, mTool, '3', Ctrl);
    MakeMenuItem(QStringLiteral("Create Timer"), M_TIME, mTool, '4', Ctrl);
    MakeMenuItem(QStringLiteral("Create Image"), M_IMG, mTool, '5', Ctrl)->SetEnabled(0);
    MakeMenuItem(QStringLiteral("Create Hook"), M_HOOK, mTool, '6', Ctrl);
    MakeMenuItem(QStringLiteral("Edit in &Wizard"), M_EDIT_IN_WIZARD, mTool, 'W', Ctrl | Shift);
    MakeMenuItem(QStringLiteral("S&ettings"), M_SETTINGS, mTool, 'E', Ctrl);
    MakeMenuItem(QString(), 0, mTool);
    MakeMenuItem(QStringLiteral("Check Syntax"), M_SYNTAX, mTool, F7, 0);
    MakeMenuItem(QString(), 0, mTool);
    mColourEscape = MakeMenuItem(QStringLiteral("Write Colors as \\169"), M_COLOR_ESCAPE, mTool);
    ColourEscapes = Extra->Value(ExtraKey::ColourEscapes).toBool();
    mColourEscape->SetSelected(ColourEscapes);

    mHelp = MakeMenuItem(QStringLiteral("Help"), 0, root);
    MakeMenuItem(QStringLiteral("About"), M_ABOUT, mHelp);

    Window->UpdateMenu();

    // Its items carry no hot keys: those are the Edit menu's.
    mTextarea = MakeMenuItem(QString(), 0, nullptr);
    MakeMenuItem(QStringLiteral("Undo"), M_UNDO, mTextarea);
    MakeMenuItem(QStringLiteral("Redo"), M_REDO, mTextarea);
    MakeMenuItem(QString(), 0, mTextarea);
    MakeMenuItem(QStringLiteral("Cut"), M_CUT, mTextarea);
    MakeMenuItem(QStringLiteral("Copy"), M_COPY, mTextarea);
    MakeMenuItem(QStringLiteral("Paste"), M_PASTE, mTextarea);
    MakeMenuItem(QString(), 0, mTextarea);
    MakeMenuItem(QStringLiteral("Select All"), M_ALL, mTextarea);
}

void TApplication::UpdateTitle()
{
    ApplicationTitle = QStringLiteral("Tarvane:LE - ") + FileName;
    if (Modified) {
        ApplicationTitle += QLatin1Char('*');
        SetItemEnabled(Toolbar, TB_SAVE, true);
        mFileSave->SetEnabled(1);
    } else {
        SetItemEnabled(Toolbar, TB_SAVE, false);
        mFileSave->SetEnabled(0);
    }
    Window->SetText(ApplicationTitle);
}

TToolHost TApplication::ToolHost()
{
    TToolHost host;
    host.textarea = Textarea;
    host.insertAtCaret
        = [this](const QString& text, bool recolourCursorLine) { return InsertAtCaret(text, recolourCursorLine); };
    host.recolourLine = [this](int line) { UpdateTextareaLine(line); };
    host.replaceRange = [this](int pos, int length, const QString& text) { return ReplaceRange(pos, length, text); };
    host.checkCode = [](const QString& code) {
        const std::optional<TSyntaxError> error = CheckLuaSyntax(code.toUtf8(), QStringLiteral("code"));
        return error ? error->message : QString();
    };
    return host;
}

void TApplication::MarkEdited()
{
    if (Modified)
        Recovery->Changed();
    else
        MarkModified();
}

void TApplication::MarkModified()
{
    if (Recovery)
        Recovery->Changed();
    Modified = 1;
    UpdateTitle();
}

int TApplication::Ask(const QString& question)
{
    ApplicationTitle = Caption;
    const int answer = Proceed(question);
    UpdateTitle();
    return answer;
}

int TApplication::AskChoice(const QString& question, const QStringList& buttons, int escapeIndex)
{
    ApplicationTitle = Caption;
    const int answer = Choose(question, buttons, escapeIndex);
    UpdateTitle();
    return answer;
}

bool TApplication::AskConfirm(const QString& question)
{
    ApplicationTitle = Caption;
    const int answer = Confirm(question);
    UpdateTitle();
    return answer == 1;
}

void TApplication::Tell(const QString& text, bool serious)
{
    ApplicationTitle = Caption;
    Notify(text, serious);
    UpdateTitle();
}
