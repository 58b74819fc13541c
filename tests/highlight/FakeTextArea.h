// The text area's own text model without a window, as the colouring and the undo history see it, with
// a log of every formatting call. Positions follow the real text area because the text is a real
// TTextBuffer.
#pragma once

#include "gui/TextBuffer.h"
#include "highlight/TextClient.h"

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

class TFakeTextArea : public TTextClient {
public:
    explicit TFakeTextArea(const QString& text = {});

    // The client interface, on the buffer.
    int Length() const override { return buffer.Length(); }
    int LastLine() const override { return buffer.AreaLen(TextUnit::Lines); }
    int CursorLine() const override { return buffer.CursorPos(TextUnit::Lines); }
    int LineStart(int line) const override { return buffer.CharAt(line); }
    int LineOf(int pos) const override { return buffer.LineAt(pos); }
    QString Text(int pos, int length) const override { return buffer.AreaText(pos, length, TextUnit::Chars); }
    QString LineText(int line) const override { return buffer.AreaText(line, 1, TextUnit::Lines); }
    bool Replace(int pos, int length, const QString& text) override;
    void Select(int pos, int length) override { buffer.SetSelection(pos, length, TextUnit::Chars); }
    int SelectionStart() const override { return buffer.CursorPos(TextUnit::Chars); }
    int SelectionLength() const override { return buffer.SelectionLength(TextUnit::Chars); }
    void SetStyles(std::span<const TRunColour> palette, std::span<const TColouredRun> runs) override;
    // The text where the buffer keeps it, in the two pieces either side of its gap, when lending.
    std::optional<TTextParts> TextInPlace() const override;
    void SetStyle(int pos, int length, const TPartColour& colour);

    // The gadget's operations, for tests that edit the way the editing keys do.
    bool ReplaceText(int pos, int length, const QString& text, TextUnit units);
    QString AreaText(int pos, int length, TextUnit units) const { return buffer.AreaText(pos, length, units); }
    int AreaLen(TextUnit units) const { return buffer.AreaLen(units); }
    int GetCursorPos(TextUnit units) const { return buffer.CursorPos(units); }
    int GetSelectionLength(TextUnit units) const { return buffer.SelectionLength(units); }
    void SetSelection(int pos, int length, TextUnit units) { buffer.SetSelection(pos, length, units); }
    int CharAt(int line) const { return buffer.CharAt(line); }
    int LineAt(int pos) const { return buffer.LineAt(pos); }

    QString Text() const { return buffer.AreaText(0, -1, TextUnit::Chars); }
    int SelStart() const { return buffer.SelStart(); }
    int SelEnd() const { return buffer.SelEnd(); }
    TFakeStyle StyleAt(int pos) const;
    std::vector<TFakeStyle> Styles() const; // one per character

    std::vector<TStyleCall> calls; // every range formatted, in order
    bool lendsText = false; // whether TextInPlace gives the text or leaves the colouring to copy it
    int textChanges = 0; // replacements that reached the text

private:
    TTextBuffer buffer;
};
