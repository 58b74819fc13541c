// What the colouring and the undo history need of a text area. The application adapts its text area
// to it, so this floor needs no widget.
#pragma once

#include "highlight/TokenClass.h"
#include "resources/StyleRuns.h"
#include "resources/TextParts.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>
#include <utility>

// Positions count characters from 0, a line break being one; lines count from 0. Positions handed in
// are clamped to the text, never rejected.
class TTextClient {
public:
    virtual ~TTextClient() = default;

    virtual int Length() const = 0;
    // The index of the line that holds the end of the text.
    virtual int LastLine() const = 0;
    // The line that holds the cursor, the start of the selection.
    virtual int CursorLine() const = 0;
    virtual int LineStart(int line) const = 0;
    virtual int LineOf(int pos) const = 0;
    // Characters [pos, pos + length); a negative length runs to the end.
    virtual QString Text(int pos, int length) const = 0;
    // One line with its line break; the last line has none.
    virtual QString LineText(int line) const = 0;
    // The whole text as two views read one after the other, valid until the text next changes; none when
    // the text area cannot lend its text without a copy. Setting styles leaves them valid.
    virtual std::optional<TTextParts> TextInPlace() const { return std::nullopt; }

    // Replaces [pos, pos + length); false when the text area refused the change, which then did
    // nothing.
    virtual bool Replace(int pos, int length, const QString& text) = 0;
    virtual void Select(int pos, int length) = 0;
    // The selection's start (the caret when nothing is selected) and its length.
    virtual int SelectionStart() const = 0;
    virtual int SelectionLength() const = 0;
    // Formats each run in order in its colour from `palette`. The colouring hands over the parts of many
    // lines in one call, so that a text area behind an adapter costs one call of its own per part at
    // most, as if the colouring called it directly.
    virtual void SetStyles(std::span<const TRunColour> palette, std::span<const TColouredRun> runs) = 0;
};
