// A text area without a window: text, per-character formatting and selection with the gadget's
// position rules, and a log of every formatting call, for testing colouring and undo.
#pragma once

#include "gui/Gadget.h"

#include <QString>

#include <vector>

struct TFakeStyle {
    int r = 0, g = 0, b = 0, flags = 0;
    bool operator==(const TFakeStyle&) const = default;
};

struct TStyleCall {
    int r = 0, g = 0, b = 0, flags = 0;
    int pos = 0, length = 0;
    bool operator==(const TStyleCall&) const = default;
};

class TFakeTextArea : public TGadget {
public:
    explicit TFakeTextArea(const QString& text = {});

    // Ranges clamped like the gadget's; a negative length runs to the end.
    struct Range {
        int start = 0, end = 0;
    };
    Range Convert(int pos, int length, TextUnit units) const;

    bool ReplaceText(int pos, int length, const QString& text, TextUnit units) override;
    QString AreaText(int pos, int length, TextUnit units) const override;
    int AreaLen(TextUnit units) const override;
    int GetCursorPos(TextUnit units) const override;
    int GetSelectionLength(TextUnit units) const override;
    void SetStyle(int r, int g, int b, int flags, int pos, int length, TextUnit units) override;
    void SetSelection(int pos, int length, TextUnit units) override;
    int CharAt(int line) const override;
    int LineAt(int pos) const override;

    const QString& Text() const { return text; }
    int SelStart() const { return selStart; }
    int SelEnd() const { return selEnd; }

    std::vector<TFakeStyle> styles; // one per character
    std::vector<TStyleCall> calls; // every SetStyle, in order
    int textChanges = 0; // ReplaceText calls that reached the text

private:
    QString text;
    int selStart = 0;
    int selEnd = 0;
};
