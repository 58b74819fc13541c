#include "gui/TextCommands.h"

#include "event/Event.h"
#include "gui/KeyMap.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>

namespace {
// Text with every line break as the one character the text area stores, as edits are offered.
QString WithSingleBreaks(QStringView text)
{
    QString single = text.toString();
    single.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    single.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return single;
}
} // namespace

template <typename Action> void TTextCommands::UserAction(Action&& action)
{
    const unsigned version = buffer.Version();
    const int anchor = buffer.Anchor();
    const int caret = buffer.Caret();
    action();
    const bool textChanged = buffer.Version() != version;
    if (textChanged || anchor != buffer.Anchor() || caret != buffer.Caret())
        host.UserChanged(textChanged);
}

void TTextCommands::KeyDownAction(int key, int mods)
{
    const bool shift = (mods & Modifier::Shift) != 0;
    const bool ctrl = (mods & Modifier::Ctrl) != 0;
    const bool alt = (mods & Modifier::Alt) != 0;
    UserAction([&] {
        switch (key) {
        case VirtualKey::Left:
        case VirtualKey::Right:
            MoveHorizontally(key == VirtualKey::Right, ctrl, shift);
            break;
        case VirtualKey::Up:
        case VirtualKey::Down:
            // Ctrl with an arrow scrolls a line and leaves the caret where it is, even off the screen.
            if (ctrl && !shift)
                host.ScrollLines(key == VirtualKey::Up ? -1 : 1);
            else
                MoveVertically(key == VirtualKey::Up ? -1 : 1, shift);
            break;
        case VirtualKey::Prior:
        case VirtualKey::Next:
            MoveByPage(key == VirtualKey::Prior ? -1 : 1, shift);
            break;
        case VirtualKey::Home:
        case VirtualKey::End:
            MoveToLineEdge(key == VirtualKey::End, ctrl, shift);
            break;
        case VirtualKey::Delete:
            if (ClipboardKeyOf(key, mods) == ClipboardKey::Cut)
                ClipboardCommand(ClipboardKey::Cut);
            else if (DeletesWord(mods))
                DeleteWord(true);
            else
                DeleteForward();
            ForgetColumn();
            break;
        case VirtualKey::Return:
            ReplaceSelection(u"\n");
            ForgetColumn();
            break;
        case VirtualKey::Back:
            // Alt+Backspace types no character, so it deletes here, as the key filter that saw its
            // key-down expects.
            if (alt && !ctrl) {
                Backspace();
                ForgetColumn();
            }
            break;
        case 'A':
            if (ctrl && !alt)
                Select(0, buffer.Length());
            break;
        case VirtualKey::Insert:
        case 'C':
        case 'X':
        case 'V':
            ClipboardCommand(ClipboardKeyOf(key, mods));
            break;
        default:
            break;
        }
    });
}

void TTextCommands::CharAction(char32_t code, int mods)
{
    // Ctrl+H is no Backspace and Ctrl+I no Tab, though they type the same codes.
    if (IsCtrlKeyControlChar(static_cast<int>(code), mods))
        return;
    UserAction([&] {
        if (code == CharCode::Backspace) {
            Backspace();
        } else if (code == CharCode::CtrlBackspace) {
            DeleteWord(false);
        } else if (code == CharCode::Tab || code >= CharCode::FirstPrintable) {
            // A character beyond U+FFFF goes in whole, both halves in one edit.
            const bool pair = QChar::requiresSurrogates(code);
            const char16_t units[2] = { pair ? QChar::highSurrogate(code) : char16_t(code), QChar::lowSurrogate(code) };
            ReplaceSelection(QStringView(units, pair ? 2 : 1));
        } else {
            return;
        }
        ForgetColumn();
    });
}

void TTextCommands::Copy()
{
    const int start = buffer.SelStart();
    if (buffer.SelEnd() > start)
        QGuiApplication::clipboard()->setText(buffer.AreaText(start, buffer.SelEnd() - start, TextUnit::Chars));
}

bool TTextCommands::Cut()
{
    if (buffer.SelStart() == buffer.SelEnd())
        return false;
    UserAction([&] { CutSelection(); });
    return true;
}

bool TTextCommands::Paste()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        return false;
    bool pasted = false;
    UserAction([&] { pasted = ReplaceSelection(text); });
    return pasted;
}

void TTextCommands::UserSelect(int anchor, int caret)
{
    UserAction([&] { Select(anchor, caret); });
}

bool TTextCommands::UserInsert(int pos, QStringView text, bool selectInserted)
{
    const QString single = WithSingleBreaks(text);
    if (single.isEmpty())
        return false;
    bool inserted = false;
    UserAction([&] {
        const int at = std::clamp(pos, 0, buffer.Length());
        const int length = OfferedReplace(at, 0, single);
        if (length < 0)
            return;
        Select(selectInserted ? at : at + length, at + length);
        inserted = true;
    });
    return inserted;
}

void TTextCommands::UserDrop(TTextRange range, int target, bool copy)
{
    if (range.start >= range.end || (target > range.start && target < range.end))
        return;
    if (!copy && (target == range.start || target == range.end))
        return;
    UserAction([&] {
        // The copy goes in first and the source goes after it, so that a refused insertion never
        // leaves the text removed; Undo then takes the removal back first and shows both copies.
        const QString text = buffer.AreaText(range.start, range.Length(), TextUnit::Chars);
        const int length = OfferedReplace(target, 0, text);
        if (length < 0)
            return;
        TTextRange dropped { target, target + length };
        if (!copy) {
            TTextRange source = range;
            if (target <= range.start)
                source = { range.start + length, range.end + length };
            // The removal's undo step selects the source again where it then lies.
            buffer.Select(source.start, source.end);
            if (OfferedReplace(source.start, source.Length(), {}) >= 0 && source.start < target)
                dropped = { target - source.Length(), target - source.Length() + length };
        }
        Select(dropped.start, dropped.end);
    });
}

void TTextCommands::Select(int anchor, int caret)
{
    const int oldAnchor = buffer.Anchor();
    const int oldCaret = buffer.Caret();
    buffer.Select(anchor, caret);
    host.SelectionMoved(oldAnchor, oldCaret);
}

void TTextCommands::MoveHorizontally(bool forward, bool byWord, bool extend)
{
    const int caret = buffer.Caret();
    // Without Shift an arrow collapses a selection to the side it points to.
    if (buffer.SelStart() != buffer.SelEnd() && !extend)
        MoveCaret(forward ? buffer.SelEnd() : buffer.SelStart(), false);
    else if (forward)
        MoveCaret(byWord ? motion.NextWord(caret) : motion.Next(caret), extend);
    else
        MoveCaret(byWord ? motion.PreviousWord(caret) : motion.Previous(caret), extend);
    ForgetColumn();
}

void TTextCommands::MoveToLineEdge(bool toEnd, bool ofText, bool extend)
{
    int target;
    if (ofText) {
        target = toEnd ? buffer.Length() : 0;
    } else if (Wrapping()) {
        target = RowEdge(toEnd);
    } else {
        const int line = buffer.LineAt(buffer.Caret());
        target = toEnd ? buffer.LineEnd(line) : buffer.LineStart(line);
    }
    MoveCaret(target, extend);
    ForgetColumn();
}

int TTextCommands::RowEdge(bool toEnd)
{
    // Home and End go to the row's edges, and from there on to the line's.
    const int caret = buffer.Caret();
    const TTextRow row = rows->RowOf(caret);
    if (toEnd) {
        const int end = rows->LastStop(row);
        return caret == end && !row.last ? buffer.LineEnd(row.line) : end;
    }
    return caret == row.start && row.index > 0 ? buffer.LineStart(row.line) : row.start;
}

void TTextCommands::MoveByPage(int direction, bool extend)
{
    // The view scrolls by the page too, so that the caret keeps its place on the screen.
    const int page = direction * host.PageLines();
    host.ScrollLines(page);
    MoveVertically(page, extend);
}

void TTextCommands::MoveVertically(int lines, bool extend)
{
    if (Wrapping()) {
        MoveByRows(lines, extend);
        return;
    }
    const int line = buffer.LineAt(buffer.Caret());
    const int target = std::clamp(line + lines, 0, buffer.LineCount() - 1);
    if (desiredX < 0)
        desiredX = layouter.XOfPosition(buffer.Caret());
    // Moving the caret forgets the column; a vertical move is the one that keeps it.
    const float keep = desiredX;
    MoveCaret(layouter.PositionAtX(target, desiredX), extend);
    desiredX = keep;
}

void TTextCommands::MoveByRows(int count, bool extend)
{
    const TTextRow row = rows->RowOf(buffer.Caret());
    if (desiredX < 0)
        desiredX = layouter.XOfPosition(buffer.Caret()) - rows->StartX(row);
    const float keep = desiredX;
    MoveCaret(rows->PositionAtX(rows->Step(row, count), desiredX), extend);
    desiredX = keep;
}

void TTextCommands::ClipboardCommand(ClipboardKey command)
{
    switch (command) {
    case ClipboardKey::Copy:
        Copy();
        break;
    case ClipboardKey::Cut:
        if (buffer.SelStart() != buffer.SelEnd())
            CutSelection();
        break;
    case ClipboardKey::Paste:
        ReplaceSelection(QGuiApplication::clipboard()->text());
        break;
    case ClipboardKey::None:
        break;
    }
}

bool TTextCommands::ReplaceSelection(QStringView text)
{
    const int start = buffer.SelStart();
    TTextChange change;
    if (!buffer.Replace(start, buffer.SelEnd() - start, text, &change)) {
        QApplication::beep();
        return false;
    }
    buffer.Select(start + change.inserted, start + change.inserted);
    host.TextEdited(change);
    return true;
}

int TTextCommands::OfferedReplace(int pos, int removed, const QString& text)
{
    if (!host.OfferEdit(pos, removed, text))
        return -1;
    TTextChange change;
    if (!buffer.Replace(pos, removed, text, &change)) {
        QApplication::beep();
        return -1;
    }
    // The view brings the caret into view after an edit, so it must stand at this one, not where it
    // was: a drop far from the caret would otherwise scroll there and back.
    buffer.Select(pos + change.inserted, pos + change.inserted);
    host.TextEdited(change);
    return change.inserted;
}

void TTextCommands::DeleteRange(int start, int end)
{
    if (start >= end)
        return;
    TTextChange change;
    buffer.Replace(start, end - start, {}, &change);
    buffer.Select(start, start);
    host.TextEdited(change);
}

void TTextCommands::CutSelection()
{
    Copy();
    DeleteSelection();
}

void TTextCommands::OfferDeletion(int start, int end)
{
    if (start < end && host.OfferEdit(start, end - start, {}))
        DeleteRange(start, end);
}

void TTextCommands::Backspace()
{
    // A key filter records Backspace at its key-down; it takes off the last code point of a cluster
    // only, so that an accent typed wrongly goes alone.
    if (buffer.SelStart() != buffer.SelEnd())
        DeleteSelection();
    else
        DeleteRange(motion.PreviousCodePoint(buffer.Caret()), buffer.Caret());
}

void TTextCommands::DeleteForward()
{
    // Delete takes a whole cluster, which a key filter could not tell from the key: it is offered.
    if (buffer.SelStart() != buffer.SelEnd())
        OfferDeletion(buffer.SelStart(), buffer.SelEnd());
    else
        OfferDeletion(buffer.Caret(), motion.Next(buffer.Caret()));
}

void TTextCommands::DeleteWord(bool forward)
{
    const int caret = buffer.Caret();
    if (buffer.SelStart() != buffer.SelEnd())
        OfferDeletion(buffer.SelStart(), buffer.SelEnd());
    else if (forward)
        OfferDeletion(caret, motion.NextWord(caret));
    else
        OfferDeletion(motion.PreviousWord(caret), caret);
}
