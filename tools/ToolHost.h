// What a tool dialog may ask of the application. The application fills one at start-up; the tools never
// see the application itself.
#pragma once

#include <QString>

#include <functional>

class TGadget;

struct TToolHost {
    // The script's text area: the tools read it (the caret's line) and give it the focus.
    TGadget* textarea = nullptr;
    // Replaces the selection by generated text as an edit of the user's script (one undo step, the
    // document marked modified), re-colours the caret's line unless told otherwise, and puts the caret
    // behind the text with nothing selected. False when the text area refused the text (it would pass
    // the capacity), after a notification has told the user so.
    std::function<bool(const QString& text, bool recolourCursorLine)> insertAtCaret;
    // Re-colours one line of the text area with the colours of the settings.
    std::function<void(int line)> recolourLine;
    // Replaces characters [pos, pos + length) as one edit of the user's script: one undo step, the lines
    // it touches re-coloured in one pass, the document marked modified. The selection keeps its start
    // and length. False, with nothing changed, when the result would pass the text area's capacity.
    std::function<bool(int pos, int length, const QString& text)> replaceRange;
    // Compiles a piece of Lua without running it: Lua's message when it does not compile, else empty.
    std::function<QString(const QString& code)> checkCode;
};
