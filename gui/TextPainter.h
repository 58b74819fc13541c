// TTextPainter: draws the text area's lines, their selection and the caret.
//
// Glyphs are placed at the x the layout gives them, in runs of one style drawn as one glyph run each;
// only a character the font lacks is drawn as text, so that another font can stand in. A combining
// mark is placed on the ink of the character before it; a joiner draws nothing. The glyph and
// position lists are kept between paints so that a paint allocates nothing once they have grown.
#pragma once

#include "gui/LineLayout.h"
#include "gui/LineWidths.h"
#include "gui/TextBuffer.h"
#include "gui/TextFonts.h"
#include "gui/TextLayouter.h"
#include "gui/TextRows.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>

#include <vector>

class QPainter;
class QRect;

class TTextPainter {
public:
    // What a paint needs of the view: where the text sits and its colours.
    struct TFrame {
        int topLine = 0;
        // Rows of the top line above the view, when lines wrap.
        int topRowIndex = 0;
        // The x in viewport pixels of every line's start.
        float offset = 0;
        QColor background;
        QColor highlight;
        QColor highlightedText;
        // The line drawn on a band of its own (the caret's), or -1.
        int currentLine = -1;
        QColor currentLineBand;
        // Tabs drawn as arrows and blanks at a line's end marked.
        bool showWhitespace = false;
    };

    TTextPainter(
        const TTextBuffer& buffer, TTextFonts& fonts, TTextLayouter& layouter, TLineWidths& lineWidths, TTextRows& rows)
        : buffer(buffer)
        , fonts(fonts)
        , layouter(layouter)
        , lineWidths(lineWidths)
        , rows(rows)
    {
    }

    // Fills the clip with the background and draws the lines it touches, noting the width of each in
    // the line widths: colouring changes styles without measuring, and a style may change a width.
    // Wrapped lines are drawn row by row, each row's count noted in the rows.
    void PaintLines(QPainter& painter, const QRect& clip, const TFrame& frame);
    void PaintCaret(QPainter& painter, const QRect& caret, const QColor& background);

private:
    // One row of a line being drawn (the whole line unless lines wrap): its layout, its units
    // [from, to), where it sits, and which of its units are selected.
    struct TLineFrame {
        const TLineLayout& layout;
        const TFrame& frame;
        int from;
        int to;
        // The x in viewport pixels of the line's start: the row's first unit lies at the text's offset.
        float offset;
        int y;
        float baseline;
        // The units [selStart, selEnd) of the line are selected.
        int selStart;
        int selEnd;
        // Glyphs starting past this x (from the line start) fall outside the clip.
        float right;
    };

    void PaintRows(QPainter& painter, const QRect& clip, const TFrame& frame);
    void DrawLine(
        QPainter& painter, const TLineLayout& layout, int from, int to, int y, const TFrame& frame, const QRect& clip);
    void DrawSelection(QPainter& painter, const TLineFrame& line);
    int FirstShownUnit(const TLineLayout& layout, int from, float left) const;
    // Draws the run of units from `from` that share a style and selection state; returns where it ended.
    int DrawRun(QPainter& painter, const TLineFrame& line, int from);
    // The ink of the character that the mark at `unit` sits on, when it starts a run; false when the
    // mark has none (at the line's start or after a tab).
    bool FindBaseInk(const TLineLayout& layout, int from, int unit, QRectF& ink);
    void FlushGlyphs(QPainter& painter, int variant, const TLineFrame& line);
    void DrawDecorations(QPainter& painter, const TLineFrame& line, int from, int to, int flags, const QColor& colour);
    // The indicators on the line: the tints under everything (`under`), the frames and wavy lines over
    // the text.
    void DrawIndicators(QPainter& painter, const TLineFrame& line, bool under);
    void DrawWhitespace(QPainter& painter, const TLineFrame& line);

    const TTextBuffer& buffer;
    TTextFonts& fonts;
    TTextLayouter& layouter;
    TLineWidths& lineWidths;
    TTextRows& rows;
    TLineLayout layout;
    std::vector<int> rowStarts;
    QList<quint32> glyphScratch;
    QList<QPointF> positionScratch;
};
