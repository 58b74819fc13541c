// The editing key filter of the script's text area: undo records for typing, deleting and line breaks,
// auto-indent on Enter and block indent with Tab.
#include "app/Application.h"

#include "app/TextareaClient.h"
#include "event/EventQueue.h"
#include "gui/Gadget.h"
#include "gui/KeyMap.h"
#include "highlight/History.h"
#include "highlight/Indent.h"
#include "settings/WSettings.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace {
// Whether replacing `removed` characters by `inserted` ones keeps the text within the text area's
// capacity; a refused edit must not leave an undo record behind.
bool Fits(TGadget* area, int removed, int inserted)
{
    return area->AreaLen(TextUnit::Chars) - removed + inserted <= TextAreaCapacity;
}

bool IsHighSurrogate(const QString& text, int index)
{
    return index >= 0 && index < text.size() && text[index].isHighSurrogate();
}

bool IsLowSurrogate(const QString& text, int index)
{
    return index >= 0 && index < text.size() && text[index].isLowSurrogate();
}

// Records the undo step of an edit the text area is about to make; typing and deleting characters may
// join the step before when typing is grouped.
void Record(int pos, int inserted, const QString& removed, int selPos, int selLen, EditKind kind = EditKind::Other)
{
    App->History->AddAction(*App->TextareaClient, pos, inserted, removed, selPos, selLen, kind);
}

// Whether the text is one character as the user sees it: what Delete takes, and no word.
bool IsOneCluster(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    return !text.isEmpty() && finder.toNextBoundary() == text.size();
}

int AutoIndent(TGadget* area, int cursor, int selection, const QString& selected)
{
    const QString indent
        = QLatin1Char('\n') + LeadingTabs(area->AreaText(area->GetCursorPos(TextUnit::Lines), 1, TextUnit::Lines));
    if (!area->ReplaceText(cursor, selection, indent, TextUnit::Chars))
        return 0;
    Record(cursor, indent.size(), selected, cursor, selection);
    area->SetSelection(cursor + indent.size(), 0, TextUnit::Chars);
    TEvent::Create(Event::GadgetSelect, area).Emit();
    App->MarkModified();
    return 0;
}
} // namespace

int TApplication::TextareaFilter(TEvent& event, void* context)
{
    auto* area = static_cast<TGadget*>(context);
    const int cursor = area->GetCursorPos(TextUnit::Chars);
    const int selection = area->GetSelectionLength(TextUnit::Chars);
    const QString selected = selection > 0 ? area->AreaText(cursor, selection, TextUnit::Chars) : QString();

    if (event.id == Event::KeyChar) {
        const int code = event.data;
        if (code == CharCode::CtrlV) {
            const int last = area->GetCursorPos(TextUnit::Lines);
            for (int line = App->TextLast; line <= last; ++line)
                App->UpdateTextareaLine(line);
            return 1;
        }
        // Ctrl+I, Ctrl+H and Ctrl+M type the codes of Tab, Backspace and Enter, but the text area does
        // nothing with them.
        if (IsCtrlKeyControlChar(code, event.mods))
            return 1;
        // Shift+Tab outdents: the selected lines, or with nothing selected the caret's line by one tab.
        if (code == CharCode::Tab && (event.mods & Modifier::Shift)) {
            if (selection > 0)
                App->BlockIndent(true);
            else
                App->OutdentCaretLine();
            return 0;
        }
        // Tab over two or more selected characters indents every selected line.
        if (code == CharCode::Tab && selection >= 2) {
            App->BlockIndent(false);
            return 0;
        }
        // A Tab over less than two characters types like any character, and is undone like one. A
        // character beyond U+FFFF is one step of both its halves.
        const bool types
            = (code >= CharCode::FirstPrintable || code == CharCode::Tab) && code != CharCode::CtrlBackspace;
        const int units = QChar::requiresSurrogates(static_cast<char32_t>(code)) ? 2 : 1;
        if (types && Fits(area, selection, units))
            Record(cursor, units, selected, cursor, selection, EditKind::Typing);
        return 1;
    }

    if (event.id == Event::TextEdit) {
        // An edit whose exact range only the text area knows (Delete's cluster, a word that Ctrl+Backspace
        // or Ctrl+Delete takes, an edit of the mouse): the range arrives with it.
        const QString* inserted = std::any_cast<QString>(&event.extra);
        const int length = inserted ? static_cast<int>(inserted->size()) : 0;
        if (!Fits(area, event.x, length))
            return 0;
        const QString removed = area->AreaText(event.data, event.x, TextUnit::Chars);
        // Delete at the caret takes one character forward; a word or the mouse's edits are steps alone.
        const bool deletes = length == 0 && selection == 0 && event.data == cursor && IsOneCluster(removed);
        Record(event.data, length, removed, cursor, selection, deletes ? EditKind::Delete : EditKind::Other);
        // The change event that follows names no lines; these may be many.
        App->editedLines.Edit(area->LineAt(event.data), static_cast<int>(removed.count(QLatin1Char('\n'))),
            inserted ? static_cast<int>(inserted->count(QLatin1Char('\n'))) : 0);
        return 1;
    }

    if (event.id != Event::KeyDown)
        return 1;
    // The keys of Cut and Paste run the commands and their records. Ctrl+X and Ctrl+V are the menu's;
    // with Shift as well, and Shift+Delete and Shift+Insert, they would reach the text area, which would
    // cut or paste behind the history's back.
    switch (ClipboardKeyOf(event.data, event.mods)) {
    case ClipboardKey::Cut:
        App->Cut();
        return 0;
    case ClipboardKey::Paste:
        App->Paste();
        return 0;
    default:
        break;
    }
    switch (event.data) {
    case VirtualKey::Delete:
        // The text area offers what Delete takes as an edit (a whole cluster, a word with Ctrl, the
        // selection), and that is recorded then. Past the end nothing goes, and the step recorded here
        // only puts the caret back, as Backspace's at the start does.
        if (selection == 0 && cursor >= area->AreaLen(TextUnit::Chars) && !DeletesWord(event.mods))
            Record(cursor, 0, QString(), cursor, 0);
        return 1;
    case VirtualKey::Back:
        // Ctrl+Backspace takes a word, which the text area offers as an edit.
        if (DeletesWord(event.mods))
            return 1;
        if (selection > 0) {
            Record(cursor, 0, selected, cursor, selection);
        } else {
            // At the very start the record points before the text and restores nothing.
            const int start = std::max(0, cursor - 2);
            const QString behind = area->AreaText(start, cursor - start, TextUnit::Chars);
            const bool pair = behind.size() == 2 && IsHighSurrogate(behind, 0) && IsLowSurrogate(behind, 1);
            const int length = pair ? 2 : 1;
            Record(cursor - length, 0, behind.right(length), cursor, 0, EditKind::Backspace);
        }
        return 1;
    case VirtualKey::Return:
        if (App->wSettings && App->wSettings->Values().AutoIndent())
            return AutoIndent(area, cursor, selection, selected);
        if (Fits(area, selection, 1))
            Record(cursor, 1, selected, cursor, selection);
        return 1;
    default:
        return 1;
    }
}
