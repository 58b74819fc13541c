// The event loop and the commands of the menus and the toolbar.
#include "app/Application.h"

#include "app/CodeAssist.h"
#include "app/LiveCheck.h"
#include "app/RecoveryKeeper.h"
#include "app/RunExecutable.h"
#include "app/TextareaClient.h"
#include "event/EventQueue.h"
#include "gui/Gadget.h"
#include "gui/ScriptArea.h"
#include "gui/SystemDriver.h"
#include "highlight/History.h"
#include "resources/RecoveryStore.h"
#include "settings/ExtraSettings.h"
#include "settings/WSettings.h"
#include "tools/ColorCode.h"
#include "tools/ToolDialog.h"
#include "tools/WCommand.h"
#include "tools/WFind.h"
#include "tools/WGoto.h"
#include "tools/WHook.h"
#include "tools/WHudtxt.h"
#include "tools/WItems.h"
#include "tools/WOutline.h"
#include "tools/WTimer.h"

#include <algorithm>
#include <chrono>
#include <thread>

void TApplication::Run()
{
    for (;;) {
        if (!RunPass())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool TApplication::RunPass()
{
    const bool polled = EventQueue.Poll();
    if (polled)
        Dispatch(EventQueue.Current());
    if (watcher.TakeNotice())
        CheckDisk(DiskCheck::Noticed);
    if (HoldsUnsavedWork())
        Recovery->Pass([this] { return RecoverySnapshot(); });
    ReportRecovery();
    if (LiveCheck) {
        if (const auto result = LiveCheck->Pass([this] { return CheckInput(); }))
            ShowProblems(*result);
    }
    // The HUD preview follows its settings and the mouse on every pass while it is shown.
    if (wHudtxt && !IsHidden(wHudtxt->Window, false))
        wHudtxt->Draw();
    return polled;
}

void TApplication::Dispatch(const TEvent& event)
{
    switch (event.id) {
    case Event::MenuAction:
        HandleMenuAction(event.data);
        break;
    case Event::WindowClose:
        HandleWindowClose(event.source);
        break;
    case Event::WindowAccept:
        // A script file dropped on the window opens as Load opens it.
        if (event.source && event.source == Window) {
            if (const auto* path = std::any_cast<QString>(&event.extra))
                OpenDroppedFile(*path);
        }
        break;
    case Event::WindowActivate:
        // Back in the editor: whatever happened to the script's file meanwhile is looked at now.
        if (event.source && event.source == Window)
            CheckDisk(DiskCheck::Activation);
        break;
    case Event::GadgetAction:
        HandleGadgetAction(event);
        break;
    // The text area's GadgetSelect needs nothing more: the status line follows its change notice.
    case Event::GadgetMenu:
        if (event.source && event.source == Textarea)
            ShowTextareaMenu(event.x, event.y);
        break;
    case Event::MouseDown:
        if (event.source)
            wSettings->ColourSwatchClicked(event.source);
        break;
    case Event::MouseUp:
        if (event.source && event.source == wHudtxt->Canvas)
            wHudtxt->Released(event.data, event.x, event.y);
        break;
    default:
        break;
    }
}

void TApplication::HandleMenuAction(int tag)
{
    switch (tag) {
    case M_NEW:
        NewDoc(1);
        break;
    case M_LOAD:
        LoadDoc();
        break;
    case M_SAVE:
        SaveDoc();
        break;
    case M_SAVEAS:
        SaveAsDoc();
        break;
    case M_EXIT:
        EndProgram();
        break;
    case M_TO_UTF8:
        ConvertTo(TCharset::Utf8);
        break;
    case M_TO_LATIN1:
        ConvertTo(TCharset::Latin1);
        break;
    case M_UNDO:
        Undo();
        break;
    case M_REDO:
        Redo();
        break;
    case M_GROUP_TYPING:
        ToggleTypingGrouped();
        break;
    case M_SYNTAX:
        CheckSyntax();
        break;
    case M_CUT:
        Cut();
        break;
    case M_COPY:
        Textarea->Activate(ActivateCommand::Copy);
        break;
    case M_PASTE:
        Paste();
        break;
    case M_ALL:
        Textarea->SetSelection(0, -1, TextUnit::Chars);
        break;
    case M_LINE:
        SelectLine();
        break;
    case M_BIN:
        BlockIndent(false);
        break;
    case M_BOUT:
        BlockIndent(true);
        break;
    case M_FIND:
        wFind->OpenFind(false);
        break;
    case M_REPLACE:
        wFind->OpenFind(true);
        break;
    case M_FINDNEXT:
        FindAgain(true);
        break;
    case M_FINDPREV:
        FindAgain(false);
        break;
    case M_GOTO:
        wGoto->OpenGoto();
        break;
    case M_COMPLETE:
        if (!Assist->Complete())
            Tell(QStringLiteral("Nothing to complete here."), false);
        break;
    // The Tool menu raises the toolbar's own events, so both paths run one handler.
    case M_ITEMID:
        TEvent::Create(Event::GadgetAction, Toolbar, TB_ITEMID).Emit();
        break;
    case M_HUD:
        TEvent::Create(Event::GadgetAction, Toolbar, TB_HUD).Emit();
        break;
    case M_COLOR:
        TEvent::Create(Event::GadgetAction, Toolbar, TB_COLOR).Emit();
        break;
    case M_TIME:
        TEvent::Create(Event::GadgetAction, Toolbar, TB_TIMER).Emit();
        break;
    case M_IMG:
        TEvent::Create(Event::GadgetAction, Toolbar, TB_IMAGE).Emit();
        break;
    case M_HOOK:
        TEvent::Create(Event::GadgetAction, Toolbar, TB_HOOK).Emit();
        break;
    case M_EDIT_IN_WIZARD:
        EditInWizard();
        break;
    case M_SETTINGS:
        wSettings->Open();
        break;
    case M_COLOR_ESCAPE:
        ColourEscapes = !ColourEscapes;
        mColourEscape->SetSelected(ColourEscapes);
        Extra->Set(ExtraKey::ColourEscapes, ColourEscapes);
        ReportSettingsProblem();
        break;
    case M_ABOUT:
        About();
        break;
    case M_PROBLEMS:
        OpenProblems();
        break;
    case M_OUTLINE:
        wOutline->OpenOutline(Assist->Names().Outline(), Textarea->GetCursorPos(TextUnit::Lines));
        break;
    case M_NEXT_PROBLEM:
    case M_PREV_PROBLEM:
        NextProblem(tag == M_NEXT_PROBLEM);
        break;
    default:
        if (tag >= M_RECENT && tag <= M_RECENT_LAST)
            OpenRecent(tag - M_RECENT);
        else
            HandleViewCommand(tag);
        break;
    }
}

void TApplication::HandleWindowClose(TGadget* source)
{
    if (!source)
        return;
    if (source == Window) {
        EndProgram();
    } else if (source == wSettings->Window) {
        // New colours reach the whole text when the dialog closes.
        if (wSettings->Close())
            GlobalUpdateTextarea();
        if (const QString failure = wSettings->TakeWriteFailure(); !failure.isEmpty())
            Tell(failure, true);
    } else {
        for (TToolDialog* tool : toolDialogs) {
            if (tool->HandleClose(source))
                return;
        }
    }
}

void TApplication::HandleGadgetAction(const TEvent& event)
{
    TGadget* source = event.source;
    if (!source)
        return;
    if (HandleDialogAction(event))
        return;
    if (source == Toolbar) {
        HandleToolbar(event.data);
    } else if (source == lProblems) {
        NextProblem(true);
    } else if (source == Textarea) {
        // The user changed the text: colour what changed and mark the document.
        RecolourEditedLines();
        MarkEdited();
    }
}

void TApplication::RecolourEditedLines()
{
    const int lastLine = Textarea->AreaLen(TextUnit::Lines);
    for (const TLineRange& range : editedLines.Take()) {
        for (int line = std::max(range.first, 0); line <= std::min(range.last, lastLine); ++line)
            UpdateTextareaLine(line);
    }
    UpdateTextareaLine(Textarea->GetCursorPos(TextUnit::Lines));
}

void TApplication::ShowTextareaMenu(int x, int y)
{
    const bool selected = Textarea->GetSelectionLength(TextUnit::Chars) > 0;
    // A menu item's tag is its style.
    for (TGadget* item : mTextarea->kids) {
        switch (item->style) {
        case M_UNDO:
            item->SetEnabled(History->Count() > 0);
            break;
        case M_REDO:
            item->SetEnabled(History->RedoCount() > 0);
            break;
        case M_CUT:
        case M_COPY:
            item->SetEnabled(selected);
            break;
        case M_PASTE:
            item->SetEnabled(!ClipboardText().isEmpty());
            break;
        case M_ALL:
            item->SetEnabled(Textarea->AreaLen(TextUnit::Chars) > 0);
            break;
        default:
            break;
        }
    }
    Textarea->PopupMenu(mTextarea, x, y);
}

bool TApplication::HandleDialogAction(const TEvent& event)
{
    for (TToolDialog* tool : toolDialogs) {
        if (tool->HandleAction(event))
            return true;
    }
    return wSettings->HandleAction(event.source);
}

void TApplication::HandleToolbar(int index)
{
    switch (index) {
    case TB_NEW:
        NewDoc(1);
        break;
    case TB_OPEN:
        LoadDoc();
        break;
    case TB_SAVE:
        SaveDoc();
        break;
    case TB_COLOR:
        InsertColorCode();
        break;
    case TB_ITEMID:
        wItems->Open();
        break;
    case TB_HUD:
        wHudtxt->Open();
        break;
    case TB_TIMER:
        wTimer->Open();
        break;
    case TB_HOOK:
        wHook->Open();
        break;
    case TB_ARGUMENTS:
        wCommand->Open();
        break;
    case TB_RUN_GAME:
        RunGame(false);
        break;
    case TB_RUN_DEDICATED:
        RunGame(true);
        break;
    default:
        break;
    }
}

void TApplication::ShowCaretPlace()
{
    TextLast = Textarea->GetCursorPos(TextUnit::Lines);
    const int column = Textarea->GetCursorPos(TextUnit::Chars) - Textarea->CharAt(TextLast);
    const QString chars = QStringLiteral("Char: %1").arg(column);
    const QString lines = QStringLiteral("Line: %1 / %2").arg(TextLast + 1).arg(Textarea->AreaLen(TextUnit::Lines) + 1);
    if (chars != shownChars) {
        shownChars = chars;
        lChar->SetText(chars);
    }
    if (lines != shownLines) {
        shownLines = lines;
        lLines->SetText(lines);
    }
}

bool TApplication::InsertAtCaret(const QString& text, bool recolourCursorLine)
{
    const int cursor = Textarea->GetCursorPos(TextUnit::Chars);
    const int selection = Textarea->GetSelectionLength(TextUnit::Chars);
    const QString replaced = Textarea->AreaText(cursor, selection, TextUnit::Chars);
    const int before = Textarea->AreaLen(TextUnit::Chars);
    if (!Textarea->ReplaceText(cursor, selection, text, TextUnit::Chars)) {
        Tell(QStringLiteral("The script is full: the code was not inserted. A script holds at most %L1 characters.")
                 .arg(TextAreaCapacity),
            true);
        return false;
    }
    // Every edit is recorded: Undo works by position, and an edit it did not know of would make it
    // remove the wrong characters later.
    const int inserted = Textarea->AreaLen(TextUnit::Chars) - before + selection;
    History->AddAction(*TextareaClient, cursor, inserted, replaced, cursor, selection);
    if (recolourCursorLine)
        UpdateTextareaLine(-1);
    Textarea->SetSelection(cursor + inserted, 0, TextUnit::Chars);
    // Inserted code is the user's work like typed code: the title and the exit question must know.
    MarkEdited();
    return true;
}

bool TApplication::ReplaceRange(int pos, int length, const QString& text)
{
    const int cursor = Textarea->GetCursorPos(TextUnit::Chars);
    const int selection = Textarea->GetSelectionLength(TextUnit::Chars);
    const QString replaced = Textarea->AreaText(pos, length, TextUnit::Chars);
    const int before = Textarea->AreaLen(TextUnit::Chars);
    if (!Textarea->ReplaceText(pos, length, text, TextUnit::Chars))
        return false;
    const int start = std::clamp(pos, 0, before);
    const int inserted = Textarea->AreaLen(TextUnit::Chars) - before + static_cast<int>(replaced.size());
    History->AddAction(*TextareaClient, start, inserted, replaced, cursor, selection);
    UpdateTextareaLines(Textarea->LineAt(start), Textarea->LineAt(start + inserted));
    MarkEdited();
    return true;
}

void TApplication::FindAgain(bool forward)
{
    if (wFind->tfFind->GetText().isEmpty())
        wFind->OpenFind(false);
    else if (forward)
        wFind->FindNext();
    else
        wFind->FindPrevious();
}

void TApplication::InsertColorCode()
{
    if (!RequestColor(255, 255, 255))
        return;
    QString code = ColorCode(ChosenRed(), ChosenGreen(), ChosenBlue());
    if (ColourEscapes)
        code.replace(0, 1, QStringLiteral("\\169")); // the escape survives every encoding, inside a string
    InsertAtCaret(code);
}

void TApplication::Cut()
{
    const int cursor = Textarea->GetCursorPos(TextUnit::Chars);
    const int selection = Textarea->GetSelectionLength(TextUnit::Chars);
    History->AddAction(*TextareaClient, cursor, 0, TextareaClient->Text(cursor, selection), cursor, selection);
    Textarea->Activate(ActivateCommand::Cut);
    MarkModified();
}

void TApplication::Paste()
{
    const int cursor = Textarea->GetCursorPos(TextUnit::Chars);
    const int selection = Textarea->GetSelectionLength(TextUnit::Chars);
    const QString replaced = Textarea->AreaText(cursor, selection, TextUnit::Chars);
    // The undo record counts the characters the paste really put into the text area, whatever the
    // clipboard's line ends were.
    const int before = Textarea->AreaLen(TextUnit::Chars);
    // The pasted lines run from the one the caret was on; TextLast follows the caret from now on.
    const int firstLine = TextLast;
    Textarea->Activate(ActivateCommand::Paste);
    const int inserted = Textarea->AreaLen(TextUnit::Chars) - before + selection;
    // A paste puts the caret behind what it inserted; an unmoved selection means nothing was pasted.
    if (Textarea->GetCursorPos(TextUnit::Chars) == cursor && Textarea->GetSelectionLength(TextUnit::Chars) == selection)
        return;
    History->AddAction(*TextareaClient, cursor, inserted, replaced, cursor, selection);
    MarkModified();
    const int last = Textarea->GetCursorPos(TextUnit::Lines);
    for (int line = firstLine; line <= last; ++line)
        UpdateTextareaLine(line);
}

void TApplication::Undo()
{
    // Undone text differs from the file as much as typed text does.
    if (History->Undo(*TextareaClient))
        MarkEdited();
}

void TApplication::Redo()
{
    if (History->Redo(*TextareaClient))
        MarkEdited();
}

void TApplication::SelectLine()
{
    Textarea->SetSelection(Textarea->GetCursorPos(TextUnit::Lines), 1, TextUnit::Lines);
}

void TApplication::BlockIndent(bool outdent)
{
    // One change to the text area's subscribers, however many lines.
    const TChangeBatch batch(ScriptArea(Textarea));
    const int first = Textarea->GetCursorPos(TextUnit::Lines);
    const int count = Textarea->GetSelectionLength(TextUnit::Lines);
    for (int line = first; line < first + count; ++line) {
        const int start = Textarea->CharAt(line);
        const QString text = Textarea->AreaText(line, 1, TextUnit::Lines);
        if (outdent) {
            if (!text.startsWith(QLatin1Char('\t')))
                continue;
            Textarea->ReplaceText(line, 1, text.mid(1), TextUnit::Lines);
            History->AddAction(*TextareaClient, start, 0, QStringLiteral("\t"), start, 0);
        } else {
            // A tab that would pass the text area's capacity is refused, and so are the lines after it.
            if (!Textarea->ReplaceText(line, 1, QLatin1Char('\t') + text, TextUnit::Lines))
                break;
            History->AddAction(*TextareaClient, start, 1, QString(), start, 0);
        }
        UpdateTextareaLine(line);
    }
    Textarea->SetSelection(first, count, TextUnit::Lines);
    MarkModified();
}

void TApplication::OutdentCaretLine()
{
    const int line = Textarea->GetCursorPos(TextUnit::Lines);
    const int start = Textarea->CharAt(line);
    if (Textarea->AreaText(start, 1, TextUnit::Chars) != QStringLiteral("\t"))
        return;
    const int cursor = Textarea->GetCursorPos(TextUnit::Chars);
    if (!ReplaceRange(start, 1, QString()))
        return;
    // The caret stays on its character.
    Textarea->SetSelection(std::max(start, cursor - 1), 0, TextUnit::Chars);
}

void TApplication::About()
{
    Tell(QStringLiteral("Tarvane Lua Editor\nVersion: " TLE_VERSION "\n\nAn editor for the Lua scripts of Tarvane.\n"
                        "HUD preview font: Liberation Sans (SIL Open Font License)."),
        false);
}

void TApplication::RunGame(bool dedicated)
{
    const TConfigRecord& settings = wSettings->Values();
    const QString& path = dedicated ? settings.dediPath : settings.gamePath;
    // A path of one character or none is no program.
    if (path.size() <= 1)
        return;
    RunExecutable(path, dedicated ? wCommand->DedicatedArguments() : wCommand->GameArguments());
}

void TApplication::EndProgram()
{
    // Unsaved work is offered for saving, unless it is an empty new script.
    const bool emptyNewScript = File.isEmpty() && Textarea->AreaLen(TextUnit::Chars) == 0;
    if (Modified && !emptyNewScript) {
        // The buttons say what they do: unlike New's and Load's questions, the first one saves.
        const int answer = AskChoice(QStringLiteral("Save changes to the script before exiting?"),
            { QStringLiteral("&Save"), QStringLiteral("&Don't Save"), QStringLiteral("Cancel") }, 2);
        if (answer == 2 || (answer == 0 && !SaveDoc()))
            return;
    }
    // Saved, or given up by the user's own answer.
    DiscardRecovery();
    RecoveryStore->Close();
    wSettings->SaveCfg();
    SystemDriver().Exit(0);
}

void TApplication::EndBySignal(int signal)
{
    KeepUnsavedWorkNow();
    // The copy stays for the next start; the locks go.
    RecoveryStore->Close();
    wSettings->SaveCfg();
    SystemDriver().Exit(128 + signal);
}
