// TPrimarySelection: the text area's selected text offered to other programs as the primary selection.
//
// Nothing is copied when text is selected. The area claims the primary selection when the user
// selects something and hands out the text only when a program asks for it; until then the offered
// range just follows the user's selection, so extending a selection of the whole script costs nothing
// per key. A selection that collapses leaves its range on offer as long as its text stays (the range
// moves with edits before it); an edit that touches that text withdraws the offer, as the text it
// named is gone. Platforms without a primary selection get nothing.
#pragma once

#include "gui/TextBuffer.h"

#include <QPointer>
#include <QString>

class TPrimaryOffer;

class TPrimarySelection {
public:
    explicit TPrimarySelection(const TTextBuffer& buffer);
    ~TPrimarySelection();
    TPrimarySelection(const TPrimarySelection&) = delete;
    TPrimarySelection& operator=(const TPrimarySelection&) = delete;

    // The user changed the selection: a non-empty one is offered, claiming the primary selection when
    // another program or widget holds it.
    void UserSelected();
    // The text changed: the offered range keeps to its text, or is withdrawn when the change touched it.
    void TextChanged(const TTextChange& change);

    // The primary selection's text, whoever offers it; empty when there is none.
    static QString Text();

private:
    const TTextBuffer& buffer;
    // Owned by the clipboard, which deletes it once another claims the primary selection.
    QPointer<TPrimaryOffer> offer;
};
