// TApplication: the editor's one application object, its main window and its commands.
//
// The class is split over several files by subsystem: Application.cpp builds the main window,
// MainLoop.cpp runs the event loop and the commands, Documents.cpp holds the document commands,
// TextareaFilter.cpp the editing key filter and TextareaColouring.cpp the syntax-colouring calls.
// The colouring and the undo history see the text area through TextareaClient.
#pragma once

#include "app/ScriptWatcher.h"
#include "event/Event.h"
#include "highlight/EditedLines.h"
#include "lua/ScriptCheck.h"
#include "resources/HookCatalogue.h"
#include "resources/ScriptFile.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

class TGadget;
class THistory;
class TPixmap;
class TRecoveryKeeper;
class TRecoveryStore;
struct TRecoverySnapshot;
class TSyntaxColouring;
class TTextareaClient;
class TToolDialog;
struct TToolHost;
class TWItems;
class TWSettings;
class TWHudtxt;
class TWCommand;
class TWHook;
class TWTimer;
class TWFind;
class TWGoto;
class TExtraSettings;
class TColourSwatches;
class TCodeAssist;
class TLiveCheck;
class TWProblems;
class TWOutline;

class TApplication {
public:
    // Menu tags; each arrives as the data of its item's MenuAction.
    static constexpr int M_NEW = 101;
    static constexpr int M_LOAD = 102;
    static constexpr int M_SAVE = 103;
    static constexpr int M_SAVEAS = 104;
    static constexpr int M_EXIT = 105;
    static constexpr int M_CUT = 106;
    static constexpr int M_COPY = 107;
    static constexpr int M_PASTE = 108;
    static constexpr int M_ALL = 109;
    static constexpr int M_LINE = 110;
    static constexpr int M_BIN = 111;
    static constexpr int M_BOUT = 112;
    static constexpr int M_ITEMID = 113;
    static constexpr int M_HUD = 114;
    static constexpr int M_COLOR = 115;
    static constexpr int M_TIME = 116;
    static constexpr int M_IMG = 117;
    static constexpr int M_HOOK = 118;
    static constexpr int M_SETTINGS = 119;
    static constexpr int M_ABOUT = 120;
    static constexpr int M_UNDO = 121;
    static constexpr int M_REDO = 122;
    static constexpr int M_FIND = 123;
    static constexpr int M_FINDNEXT = 124;
    static constexpr int M_FINDPREV = 125;
    static constexpr int M_REPLACE = 126;
    static constexpr int M_GOTO = 127;
    static constexpr int M_SYNTAX = 128;
    static constexpr int M_TO_UTF8 = 129;
    static constexpr int M_TO_LATIN1 = 130;
    static constexpr int M_GROUP_TYPING = 131;
    // File > Recent Scripts, the most recent first.
    static constexpr int M_RECENT = 140;
    static constexpr int M_RECENT_LAST = 149;
    // Tool > Edit in Wizard.
    static constexpr int M_EDIT_IN_WIZARD = 190;
    // The View menu; a Tab Width item's tag is M_TAB_WIDTH plus its columns.
    static constexpr int M_LINE_NUMBERS = 150;
    static constexpr int M_CURRENT_LINE = 151;
    static constexpr int M_WHITESPACE = 152;
    static constexpr int M_ZOOM_IN = 153;
    static constexpr int M_ZOOM_OUT = 154;
    static constexpr int M_ZOOM_RESET = 155;
    static constexpr int M_WORD_WRAP = 156;
    // View > Problems, Next Problem (F8) and Previous Problem (Shift+F8).
    static constexpr int M_PROBLEMS = 157;
    static constexpr int M_NEXT_PROBLEM = 158;
    static constexpr int M_PREV_PROBLEM = 159;
    static constexpr int M_TAB_WIDTH = 160;
    // Tool > Write Colors as \169: Insert Color writes the escape rather than the character.
    static constexpr int M_COLOR_ESCAPE = 200;
    // Edit > Complete (Ctrl+Space): the completion list at the caret.
    static constexpr int M_COMPLETE = 201;
    // View > Outline (Ctrl+Shift+O): the script's functions, hooks and timers, to jump to.
    static constexpr int M_OUTLINE = 202;

    // Toolbar items by index; the separators count.
    enum ToolbarItem : int {
        TB_NEW = 0,
        TB_OPEN = 1,
        TB_SAVE = 2,
        TB_ITEMID = 4,
        TB_HUD = 5,
        TB_COLOR = 6,
        TB_TIMER = 7,
        TB_IMAGE = 8,
        TB_HOOK = 9,
        TB_RUN_GAME = 11,
        TB_RUN_DEDICATED = 12,
        TB_ARGUMENTS = 13,
    };

    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    TGadget* Window = nullptr;
    TGadget* Textarea = nullptr;
    int TextLast = 0; // cursor line at the text area's last selection event
    QStringList Keywords;
    TGadget* Toolbar = nullptr;
    std::shared_ptr<TPixmap> gfxToolbar;
    TWItems* wItems = nullptr;
    TWSettings* wSettings = nullptr;
    TWHudtxt* wHudtxt = nullptr;
    TWCommand* wCommand = nullptr;
    TWHook* wHook = nullptr;
    TWTimer* wTimer = nullptr;
    TWFind* wFind = nullptr;
    TWGoto* wGoto = nullptr;
    TWProblems* wProblems = nullptr;
    TWOutline* wOutline = nullptr;
    QString FileName = QStringLiteral("New Script.lua");
    QString File;
    int Modified = 1;
    // How the script is stored: the form its file had, which a save keeps.
    TScriptFormat Format;
    THistory* History = nullptr;
    // The text area as the colouring and the undo history use it.
    std::unique_ptr<TTextareaClient> TextareaClient;
    TGadget* lLines = nullptr;
    TGadget* lChar = nullptr;
    // Between the two: says when unsaved changes are not being kept in a recovery copy, and when they
    // are again.
    TGadget* lRecovery = nullptr;
    // The script's encoding and line endings.
    TGadget* lFormat = nullptr;
    // How many problems the live check found; a click goes to the next one.
    TGadget* lProblems = nullptr;
    TGadget* mFile = nullptr;
    TGadget* mFileSave = nullptr;
    TGadget* mRecent = nullptr;
    TGadget* mEdit = nullptr;
    // Edit > Group Typing in Undo, checked while typing is grouped.
    TGadget* mGroupTyping = nullptr;
    TGadget* mView = nullptr;
    TGadget* mLineNumbers = nullptr;
    TGadget* mCurrentLine = nullptr;
    TGadget* mWhitespace = nullptr;
    TGadget* mWordWrap = nullptr;
    std::vector<TGadget*> mTabWidths;
    TGadget* mTool = nullptr;
    TGadget* mColourEscape = nullptr;
    // Insert Color writes "\169" and the digits rather than "©" and the digits.
    bool ColourEscapes = false;
    TGadget* mHelp = nullptr;
    // The text area's right-click menu: the Edit menu's commands on the text.
    TGadget* mTextarea = nullptr;
    // The recovery copy of unsaved work, and its files.
    std::unique_ptr<TRecoveryStore> RecoveryStore;
    std::unique_ptr<TRecoveryKeeper> Recovery;
    // The user took back a script left by an editor that ended without saving it.
    bool Recovered = false;
    // The options config.dat has no room for: the recent scripts, the requesters' last folder, the
    // launch arguments.
    std::unique_ptr<TExtraSettings> Extra;
    // The squares beside the script's colour codes.
    std::unique_ptr<TColourSwatches> Swatches;
    // Completion, calltips and the hover text of hook names.
    std::unique_ptr<TCodeAssist> Assist;
    // The hooks the user added beside the extra settings, read at start.
    std::vector<TGameHook> ExtraHooks;
    // Checks the script on a worker thread a moment after the typing stops.
    std::unique_ptr<TLiveCheck> LiveCheck;

    // Rebuilds the application title from the document and shows it in the main window; the Save
    // controls are enabled only while the document is modified.
    void UpdateTitle();
    // The document differs from its file now: marks it so and shows it in the title.
    void MarkModified();
    // The text changed: marks the document when it was not yet, and has the change copied for recovery.
    void MarkEdited();
    // Builds the main window and the dialogs, offers the work a crashed editor left, then shows the window.
    void Init();

    // The event loop; it never returns, the program ends from inside it.
    [[noreturn]] void Run();
    // One pass of the loop; false when the queue was empty (the loop then sleeps 10 ms).
    bool RunPass();
    void Dispatch(const TEvent& event);

    // Ends the program: unsaved changes are offered for saving first (Cancel keeps the editor open),
    // then the settings are written and the process ends with status 0.
    void EndProgram();
    // The system asks the editor to end (a shutdown, kill, a closed terminal): unsaved changes go to the
    // recovery copy at once, without a question, so that the next start offers them back; then the
    // settings are written and the process ends with 128 + the signal's number.
    void EndBySignal(int signal);
    // The desktop session is ending: unsaved changes go to the recovery copy at once. True when there
    // was nothing to keep or it was kept.
    bool KeepUnsavedWorkNow();

    // Document commands. The saves report whether the text reached the disk.
    void NewDoc(int ask);
    bool SaveDoc();
    bool SaveAsDoc();
    void LoadDoc();
    // Loads a script as LoadDoc does once its requester has answered; the document stays as it was when
    // the file cannot be read whole.
    bool LoadFile(const QString& path);
    // A file dropped on the window: asks about unsaved changes as Load does, then loads it.
    void OpenDroppedFile(const QString& path);
    // Says "Failed to open script!", as a script that cannot be read does.
    void ReportOpenFailure();
    // File > Recent Scripts: loads the script shown at that index as Load would, or says that it is gone
    // and takes it off the list.
    void OpenRecent(int index);
    // Stores the script in another charset from its next save on; refused, with a notice, when the
    // text holds a character the charset cannot.
    void ConvertTo(TCharset charset);

    // When the file on disk is looked at again: its watcher noticed something, the main window became
    // active, or a save is about to write it.
    enum class DiskCheck { Noticed, Activation, BeforeSave };
    // Looks whether another program changed, removed or replaced the script's file since this editor
    // read or wrote it. An unchanged document is reloaded; with changes on both sides the user chooses
    // between reloading and keeping their version (Escape, and Cancel before a save, leave it for the
    // next look). False when a save must not go on.
    bool CheckDisk(DiskCheck check);
    // Shows a passing message in the status line.
    void ShowNotice(const QString& text);

    // Syntax colouring of the text area; a negative line means the cursor's line.
    void LoadKeywords();
    void UpdateTextareaLine(int line);
    // Re-colours lines first to last in one pass over their text.
    void UpdateTextareaLines(int first, int last);
    void GlobalUpdateTextarea();

    // The editing key filter of the text area; the context is the text area.
    static int TextareaFilter(TEvent& event, void* context);

    // Replaces the selection by generated text as an edit of the user's script: one undo step, the
    // document marked modified. Re-colours the cursor's line unless told otherwise and puts the caret
    // behind the text. False, after telling the user, when the text area refused the text (it would pass
    // its capacity).
    bool InsertAtCaret(const QString& text, bool recolourCursorLine = true);
    // Replaces characters [pos, pos + length) as one edit of the user's script: one undo step, the lines
    // it touches re-coloured, the document marked modified; the selection keeps its start and length.
    // False when the text area refused the text.
    bool ReplaceRange(int pos, int length, const QString& text);
    // What the tool dialogs may use of the application.
    TToolHost ToolHost();

    // The live check: what a check of the script as it stands is given, and its result shown as
    // underlines, gutter markers, the status line's count and the Problems window's rows.
    TCheckInput CheckInput() const;
    void ShowProblems(const TCheckResult& result);
    // The problems last shown, in text order.
    const std::vector<TProblem>& Problems() const { return problems; }
    // Selects the next (previous) problem after (before) the caret, round the end of the script, and
    // says its message in the status line.
    void NextProblem(bool forward);
    void GoToProblem(int index);
    void OpenProblems();

private:
    // A question or a notice in a message box with the application's caption; the window's title is
    // restored afterwards. Ask returns the requester's answer (1 yes, 0 no, -1 cancel).
    int Ask(const QString& question);
    // A question with buttons of its own: the index of the one chosen.
    int AskChoice(const QString& question, const QStringList& buttons, int escapeIndex);
    bool AskConfirm(const QString& question);
    void Tell(const QString& text, bool serious);

    // Writes the text to File in the script's format: no look at the disk first.
    bool WriteDoc();
    // What this editor last read from or wrote to the script's file; forgotten for a new script.
    void KnowDisk(const TFileStamp& stamp, const QByteArray& fingerprint);
    void ForgetDisk();
    // Replaces the text by the file's, as one undo step that keeps the caret where it can; the document
    // is then the file's. The recovery copy goes unless the user's replaced version is kept in it.
    void Reload(const TScriptFile& file, bool discardCopy);
    void UpdateFormatLabel();

    void CreateToolbarStrip();
    void CreateMenus();
    // The View menu, its choices as they were kept, and its commands (false for another tag).
    void CreateViewMenu(TGadget* root);
    void ApplyViewOptions();
    void ShowViewOptions();
    bool HandleViewCommand(int tag);

    // The question before a script replaces changes the document holds; true to go on.
    bool MayLoadOver();
    // Where the Load (or Save As) requester starts: in the script's folder, else in the last one used,
    // else in the home folder; Save As proposes the script's name.
    QString RequesterPath(bool save) const;
    // A script was loaded or saved under a new name: it heads the recent list, its folder is the last used.
    void RememberScript(const QString& path);
    void RebuildRecentMenu();
    // Connects the launch arguments dialog to the kept arguments.
    void KeepLaunchArguments();
    // Whether a run of typing is one undo step: applied to the history and shown by the menu's check.
    void SetTypingGrouped(bool on);
    // The menu's command: turns it over and keeps it for the next run.
    void ToggleTypingGrouped();
    // Shows what went wrong with the extra settings file since it was last told.
    void ReportSettingsProblem();

    void HandleMenuAction(int tag);
    void HandleWindowClose(TGadget* source);
    void HandleGadgetAction(const TEvent& event);
    // The buttons and fields of the dialogs; true when the event was theirs.
    bool HandleDialogAction(const TEvent& event);
    void HandleToolbar(int index);
    // The caret's line and column in the status line, and TextLast: after every change of the text area.
    void ShowCaretPlace();
    // Frames the bracket or block keyword at the caret and its partner, or tints one that has none.
    void ShowMatchingBracket();
    // Re-colours what the user's last edits touched: the lines of the edits offered to the key filter
    // as a whole (drops, middle-click pastes), and the cursor's line, where a key edits.
    void RecolourEditedLines();
    // Pops up the text area's menu at (x, y) in its client pixels, each command greyed when it could
    // not act.
    void ShowTextareaMenu(int x, int y);

    // Before the window shows: recovery files left by editors that are gone. The newest is offered
    // back; damaged ones are reported and set aside.
    void OfferRecovery();
    // Whether the document holds work a recovery copy must keep: changes, unless it is an empty new script.
    bool HoldsUnsavedWork() const;
    // The script is safe again (saved, replaced, or given up at the exit question): no copy is kept.
    void DiscardRecovery();
    // Shows in the status line when copies stop being kept, and when they are kept again.
    void ReportRecovery();
    TRecoverySnapshot RecoverySnapshot() const;

    void InsertColorCode();
    void Cut();
    void Paste();
    void Undo();
    void Redo();
    // Compiles the script with Lua 5.1: a notice when it compiles; else the caret goes to the line
    // Lua names, which is selected, and the notice says what is wrong there.
    void CheckSyntax();
    // Opens the wizard that writes the addhook, timer or hudtxt call around the caret, filled from it to
    // replace it; a notice when the caret is in no such call.
    void EditInWizard();
    void SelectLine();
    // Indents (outdents) every line the selection touches by one tab, one undo step per line, and
    // selects those lines whole.
    void BlockIndent(bool outdent);
    // Shift+Tab with nothing selected: one tab less at the start of the caret's line, one undo step.
    void OutdentCaretLine();
    void About();
    void RunGame(bool dedicated);
    // Find Next and Find Previous from the menu: with nothing to find they open the dialog instead.
    void FindAgain(bool forward);

    std::unique_ptr<TSyntaxColouring> colouring;
    // The tool dialogs in the order they were built, for the loop's dispatch; owned through their fields.
    std::vector<TToolDialog*> toolDialogs;
    // Lines of the edits the key filter let through whole, until the text area's change event.
    TEditedLines editedLines;
    QString shownChars;
    QString shownLines;
    // Why copies are not kept, as the status line shows it.
    QString shownRecoveryProblem;
    // A passing message of the status line and since when it shows; it gives way to a recovery problem.
    QString notice;
    std::chrono::steady_clock::time_point noticeSince;
    QString shownNotice;

    struct TDiskState {
        TFileStamp stamp;
        QByteArray fingerprint; // empty: nothing known of the disk
        // The file's content the user chose to overwrite with their version.
        QByteArray overwriteAllowed;
        // The file's content a question was closed on without an answer.
        QByteArray leftUnanswered;
        bool missingSaid = false;
    };
    TDiskState disk;
    // The recent scripts as the menu shows them, so that an item loads what it says.
    QStringList recentShown;
    // Format was read from a file, not chosen for a new script.
    bool formatFromFile = false;
    TScriptWatcher watcher;
    // The live check's last result, as shown.
    std::vector<TProblem> problems;
    bool syntaxError = false;
    QString linterNote;
    void ShowProblemRows();
};

// The one application object.
extern TApplication* App;
