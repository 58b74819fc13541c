// TTextCommands: what the keys and the clipboard commands do to the text area's text and selection.
//
// Every command runs as one user action: when it changed the text or the selection, the host hears of
// it once, after the whole command, so that the gadget reports one change per key however many steps
// the key took. The commands edit the buffer and leave repainting and scrolling to the host.
#pragma once

#include "gui/KeyMap.h"
#include "gui/TextBuffer.h"
#include "gui/TextLayouter.h"
#include "gui/TextMotion.h"
#include "gui/TextRows.h"

#include <QStringView>

// What the commands need of the widget they edit in.
class TTextCommandsHost {
public:
    virtual ~TTextCommandsHost() = default;
    // The selection moved away from (oldAnchor, oldCaret); the caret is to be brought into view.
    virtual void SelectionMoved(int oldAnchor, int oldCaret) = 0;
    // The text changed and the caret sits behind the change; it is to be brought into view.
    virtual void TextEdited(const TTextChange& change) = 0;
    // The lines a page holds, and scrolling by lines, for Page Up and Page Down and for Ctrl with Up
    // or Down; rows when lines wrap.
    virtual int PageLines() const = 0;
    virtual void ScrollLines(int lines) = 0;
    // A user action changed the text, the selection, or both.
    virtual void UserChanged(bool textChanged) = 0;
    // An edit that no key describes whole (see TTextViewClient::ViewOfferEdit); false cancels it.
    virtual bool OfferEdit(int pos, int removed, const QString& inserted) = 0;
};

class TTextCommands {
public:
    // With `rows` that wrap, Up, Down, Home, End and the page keys go by rows rather than lines.
    TTextCommands(TTextBuffer& buffer, TTextLayouter& layouter, TTextCommandsHost& host, TTextRows* rows = nullptr)
        : buffer(buffer)
        , layouter(layouter)
        , host(host)
        , rows(rows)
    {
    }

    // Actions of keys the key filter let through. A character comes as its code point, with the
    // modifiers of the key that typed it.
    void KeyDownAction(int virtualKey, int mods);
    void CharAction(char32_t code, int mods);
    // Clipboard commands; Cut and Paste are user edits. Each says whether it changed anything.
    void Copy();
    bool Cut();
    bool Paste();

    // Selections the user made otherwise (with the mouse): one helper, so that each is reported alike.
    void UserSelect(int anchor, int caret);
    void UserMoveCaret(int pos, bool extend) { UserSelect(extend ? buffer.Anchor() : pos, pos); }

    // Edits of the mouse. Each part is offered to the host before it is made (OfferEdit), and the whole
    // is reported as one user action. Inserts text at pos (a middle-click paste, a drop from another
    // program) and selects it, or puts the caret behind it; false when nothing was inserted.
    bool UserInsert(int pos, QStringView text, bool selectInserted);
    // Drops the text of `range` at target, a position counted before the drop: copied, or moved. A
    // target inside the range does nothing, and so does moving the text onto its own edges.
    void UserDrop(TTextRange range, int target, bool copy);

    // Up and Down aim for the column they started from until something else moves the caret.
    void ForgetColumn() { desiredX = -1; }

private:
    template <typename Action> void UserAction(Action&& action);
    void Select(int anchor, int caret);
    void MoveCaret(int pos, bool extend) { Select(extend ? buffer.Anchor() : pos, pos); }

    // Key groups of KeyDownAction.
    void MoveHorizontally(bool forward, bool byWord, bool extend);
    void MoveToLineEdge(bool toEnd, bool ofText, bool extend);
    void MoveByPage(int direction, bool extend);
    void MoveVertically(int lines, bool extend);
    bool Wrapping() const { return rows && rows->On(); }
    int RowEdge(bool toEnd);
    void MoveByRows(int count, bool extend);
    void ClipboardCommand(ClipboardKey command);

    bool ReplaceSelection(QStringView text);
    // Replaces [pos, pos + removed) by text once the host has accepted the edit, and leaves the caret
    // behind it; the count of units inserted, or -1 when the edit was cancelled or refused.
    int OfferedReplace(int pos, int removed, const QString& text);
    void DeleteRange(int start, int end);
    void DeleteSelection() { DeleteRange(buffer.SelStart(), buffer.SelEnd()); }
    void CutSelection();
    // Deletes [start, end) once the host took the offer of it, so that what goes is known exactly.
    void OfferDeletion(int start, int end);
    void Backspace();
    void DeleteForward();
    void DeleteWord(bool forward);

    TTextBuffer& buffer;
    TTextLayouter& layouter;
    TTextCommandsHost& host;
    TTextRows* rows;
    TTextMotion motion { buffer };
    // The x that Up and Down keep aiming for; negative when the next vertical move takes the caret's.
    float desiredX = -1;
};
