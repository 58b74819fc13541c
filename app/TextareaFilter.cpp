// The editing key filter of the script's text area: undo records for typing, deleting and line breaks,
// auto-indent on Enter and block indent with Tab.
#include "app/Application.h"

#include "app/TextareaClient.h"
#include "event/EventQueue.h"
#include "gui/Gadget.h"
#include "gui/KeyMap.h"
#include "highlight/History.h"
#include "settings/WSettings.h"

#include <algorithm>

namespace {
// Tabs at the start of a line, up to its first other character: what Enter carries to the new line.
QString LeadingTabs(const QString& line)
{
    int count = 0;
    while (count < line.size() && line[count] == QLatin1Char('\t'))
        ++count;
    return QString(count, QLatin1Char('\t'));
}

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

// Records the undo step of an edit the text area is about to make.
void Record(int pos, int inserted, const QString& removed, int selPos, int selLen)
{
    App->History->AddAction(*App->TextareaClient, pos, inserted, removed, selPos, selLen);
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
        // Tab over two or more selected characters indents every selected line.
        if (code == CharCode::Tab && selection >= 2) {
            App->BlockIndent(false);
            return 0;
        }
        if (code == CharCode::CtrlV) {
            const int last = area->GetCursorPos(TextUnit::Lines);
            for (int line = App->TextLast; line <= last; ++line)
                App->UpdateTextareaLine(line);
            return 1;
        }
        // A Tab over less than two characters types like any character, and is undone like one.
        const bool types
            = (code >= CharCode::FirstPrintable || code == CharCode::Tab) && code != CharCode::CtrlBackspace;
        if (types && Fits(area, selection, 1))
            Record(cursor, 1, selected, cursor, selection);
        return 1;
    }

    if (event.id == Event::TextEdit) {
        // An edit of the mouse or of a word-deleting key: its exact range arrives with it.
        const QString* inserted = std::any_cast<QString>(&event.extra);
        const int length = inserted ? static_cast<int>(inserted->size()) : 0;
        if (!Fits(area, event.x, length))
            return 0;
        const QString removed = area->AreaText(event.data, event.x, TextUnit::Chars);
        Record(event.data, length, removed, cursor, selection);
        // The change event that follows names no lines; these may be many.
        App->editedLines.Edit(area->LineAt(event.data), static_cast<int>(removed.count(QLatin1Char('\n'))),
            inserted ? static_cast<int>(inserted->count(QLatin1Char('\n'))) : 0);
        return 1;
    }

    if (event.id != Event::KeyDown)
        return 1;
    switch (event.data) {
    case VirtualKey::Delete:
        if (selection > 0) {
            Record(cursor, 0, selected, cursor, selection);
        } else {
            // The text area deletes a character beyond U+FFFF whole, so the record keeps both halves.
            const QString ahead = area->AreaText(cursor, 2, TextUnit::Chars);
            const int length = IsHighSurrogate(ahead, 0) && IsLowSurrogate(ahead, 1) ? 2 : 1;
            Record(cursor, 0, ahead.left(length), cursor, 0);
        }
        return 1;
    case VirtualKey::Back:
        if (selection > 0) {
            Record(cursor, 0, selected, cursor, selection);
        } else {
            // At the very start the record points before the text and restores nothing.
            const int start = std::max(0, cursor - 2);
            const QString behind = area->AreaText(start, cursor - start, TextUnit::Chars);
            const bool pair = behind.size() == 2 && IsHighSurrogate(behind, 0) && IsLowSurrogate(behind, 1);
            const int length = pair ? 2 : 1;
            Record(cursor - length, 0, behind.right(length), cursor, 0);
        }
        return 1;
    case 'V':
    case 'X':
        // Ctrl+V and Ctrl+X are the menu's; with Shift as well they would reach the text area, which
        // would paste or cut behind the history's back, so they run the commands and their records.
        if ((event.mods & Modifier::Ctrl) && !(event.mods & Modifier::Alt)) {
            if (event.data == 'V')
                App->Paste();
            else
                App->Cut();
            return 0;
        }
        return 1;
    case VirtualKey::Return:
        if (App->wSettings && ButtonValue(App->wSettings->bIndent) != 0)
            return AutoIndent(area, cursor, selection, selected);
        if (Fits(area, selection, 1))
            Record(cursor, 1, selected, cursor, selection);
        return 1;
    default:
        return 1;
    }
}
