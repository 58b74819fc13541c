#include "gui/TextPainter.h"

#include "gui/KeyMap.h"

#include <QGlyphRun>
#include <QPainter>
#include <QPolygonF>
#include <QRect>

#include <algorithm>

namespace {
// Pixels between a character's ink and a mark above or below it.
constexpr qreal MarkGap = 1;

// Keeps a caret visible on any background.
QColor CaretColourOn(const QColor& background)
{
    return background.lightness() > 127 ? Qt::black : Qt::white;
}

// Where a mark goes on the ink of what it marks: centred on it, and a gap above or below it, or through
// it at the height the font drew it. Text shapers fall back to this for fonts that do not place their
// marks; following the font's own placement would mean shaping every line that holds a mark.
QPointF MarkPosition(const TTextFonts::TGlyph& mark, const QRectF& base)
{
    const qreal x = base.center().x() - mark.ink.center().x();
    switch (mark.kind) {
    case TTextFonts::Kind::MarkAbove:
        return { x, base.top() - MarkGap - mark.ink.bottom() };
    case TTextFonts::Kind::MarkBelow:
        return { x, base.bottom() + MarkGap - mark.ink.top() };
    default:
        return { x, 0 };
    }
}
} // namespace

void TTextPainter::PaintLines(QPainter& painter, const QRect& clip, const TFrame& frame)
{
    painter.fillRect(clip, frame.background);
    if (rows.On()) {
        PaintRows(painter, clip, frame);
        return;
    }
    const int height = fonts.LineHeight();
    const int top = frame.topLine;
    const int first = top + std::max(0, clip.top()) / height;
    const int last = std::min(buffer.LineCount() - 1, top + clip.bottom() / height);
    for (int line = first; line <= last; ++line) {
        layouter.Layout(line, layout);
        lineWidths.Update(line, layout.Width());
        DrawLine(painter, layout, 0, layout.Size(), (line - top) * height, frame, clip);
    }
}

void TTextPainter::PaintRows(QPainter& painter, const QRect& clip, const TFrame& frame)
{
    const int height = fonts.LineHeight();
    const int firstRow = std::max(0, clip.top()) / height;
    const int lastRow = clip.bottom() / height;
    // The row of the view on which the line's first row lies.
    int row = -frame.topRowIndex;
    for (int line = frame.topLine; line < buffer.LineCount() && row <= lastRow; ++line) {
        int count = rows.RowsOf(line);
        if (row + count > firstRow) {
            layouter.Layout(line, layout);
            lineWidths.Update(line, layout.Width());
            rowStarts = rows.Breaks(layout);
            count = static_cast<int>(rowStarts.size());
            rowStarts.push_back(layout.Size());
            for (int k = std::max(0, firstRow - row); k < count && row + k <= lastRow; ++k)
                DrawLine(painter, layout, rowStarts[k], rowStarts[k + 1], (row + k) * height, frame, clip);
        }
        row += count;
    }
}

void TTextPainter::PaintCaret(QPainter& painter, const QRect& caret, const QColor& background)
{
    painter.fillRect(caret, CaretColourOn(background));
}

void TTextPainter::DrawLine(
    QPainter& painter, const TLineLayout& layout, int from, int to, int y, const TFrame& frame, const QRect& clip)
{
    const int height = fonts.LineHeight();
    const float offset = frame.offset - layout.xs[from];
    const TLineFrame line {
        .layout = layout,
        .frame = frame,
        .from = from,
        .to = to,
        .offset = offset,
        .y = y,
        .baseline = static_cast<float>(y + fonts.Ascent()),
        .selStart = std::clamp(buffer.SelStart() - layout.start, from, to),
        .selEnd = std::clamp(buffer.SelEnd() - layout.start, from, to),
        // Room for glyphs that overhang their cell.
        .right = static_cast<float>(clip.right() + 1) - offset + height,
    };
    if (layout.line == frame.currentLine)
        painter.fillRect(QRect(clip.left(), y, clip.width(), height), frame.currentLineBand);
    DrawIndicators(painter, line, true);
    DrawSelection(painter, line);
    if (frame.showWhitespace)
        DrawWhitespace(painter, line);

    int i = FirstShownUnit(layout, from, static_cast<float>(clip.left()) - offset - 2.0f * height);
    while (i < to && layout.xs[i] <= line.right) {
        // A tab is only room; nothing of it is drawn.
        if (layout.chars[i] == u'\t')
            ++i;
        else
            i = DrawRun(painter, line, i);
    }
    DrawIndicators(painter, line, false);
}

void TTextPainter::DrawWhitespace(QPainter& painter, const TLineFrame& line)
{
    const TLineLayout& layout = line.layout;
    const int count = layout.Size();
    const int height = fonts.LineHeight();
    int trailing = count;
    while (trailing > 0 && (layout.chars[trailing - 1] == u' ' || layout.chars[trailing - 1] == u'\t'))
        --trailing;
    // Blanks no code follows are tinted; every tab is an arrow across its room.
    const QColor faint = line.frame.background.lightness() > 127 ? QColor(0, 0, 0, 70) : QColor(255, 255, 255, 90);
    const int tinted = std::max(trailing, line.from);
    if (tinted < line.to) {
        const float x = line.offset + layout.xs[tinted];
        painter.fillRect(QRectF(x, line.y, layout.xs[line.to] - layout.xs[tinted], height), QColor(230, 80, 80, 60));
    }
    painter.setPen(QPen(faint, 1));
    const qreal middle = line.y + height / 2.0;
    for (int i = line.from; i < line.to; ++i) {
        if (layout.xs[i] > line.right)
            break;
        if (layout.chars[i] == u'\t') {
            const qreal left = line.offset + layout.xs[i] + 2;
            const qreal right = line.offset + layout.xs[i + 1] - 2;
            if (right - left < 3)
                continue;
            painter.drawLine(QPointF(left, middle), QPointF(right, middle));
            painter.drawLine(QPointF(right - 3, middle - 3), QPointF(right, middle));
            painter.drawLine(QPointF(right - 3, middle + 3), QPointF(right, middle));
        } else if (layout.chars[i] == u' ' && i >= trailing) {
            const qreal centre = line.offset + (layout.xs[i] + layout.xs[i + 1]) / 2;
            painter.drawPoint(QPointF(centre, middle));
        }
    }
}

void TTextPainter::DrawIndicators(QPainter& painter, const TLineFrame& line, bool under)
{
    const TTextDecorations& decorations = buffer.Decorations();
    if (decorations.Empty())
        return;
    const TLineLayout& layout = line.layout;
    const int height = fonts.LineHeight();
    // The line break belongs to the line's last row.
    const int end = layout.start + line.to + (line.to == layout.Size() ? 1 : 0);
    decorations.ForEachIndicator(layout.start + line.from, end, [&](const TIndicator& indicator) {
        if ((indicator.kind == TIndicatorKind::Tint) != under)
            return;
        const int from = std::clamp(indicator.start - layout.start, line.from, line.to);
        const int to = std::clamp(indicator.end - layout.start, line.from, line.to);
        const float x = line.offset + layout.xs[from];
        // A mark on the line break alone shows as wide as a blank.
        const float width = to > from ? layout.xs[to] - layout.xs[from] : fonts.BlankAdvance();
        if (x > line.right + line.offset || x + width < 0)
            return;
        const QColor colour = QColor::fromRgba(indicator.colour);
        if (indicator.kind == TIndicatorKind::Swatch) {
            // In the room the layout left before the code, on the row where the code starts.
            if (indicator.start - layout.start < line.from || indicator.start - layout.start >= line.to)
                return;
            const float side = layouter.SwatchRoom() - 4;
            const QRectF square(x - 2 - side, line.y + (height - side) / 2, side, side);
            painter.fillRect(square, colour);
            painter.setPen(QColor(96, 96, 96));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(square.adjusted(0.5, 0.5, -0.5, -0.5));
            return;
        }
        switch (indicator.kind) {
        case TIndicatorKind::Tint:
            painter.fillRect(QRectF(x, line.y, width, height), colour);
            break;
        case TIndicatorKind::Box:
            painter.setPen(colour);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(x + 0.5, line.y + 0.5, width - 1, height - 1));
            break;
        case TIndicatorKind::Squiggle: {
            // Up and down every two pixels, just below the baseline.
            const qreal top = line.baseline + fonts.UnderlineOffset();
            QPolygonF wave;
            for (qreal at = x; at <= x + width + 0.5; at += 2)
                wave << QPointF(at, top + (int((at - x) / 2) % 2 ? 2 : 0));
            painter.setPen(QPen(colour, 1));
            painter.drawPolyline(wave);
            break;
        }
        case TIndicatorKind::Swatch:
            break;
        }
    });
}

void TTextPainter::DrawSelection(QPainter& painter, const TLineFrame& line)
{
    // A selected line break shows as a blank's width.
    const TLineLayout& layout = line.layout;
    const int lineEnd = layout.start + layout.Size();
    const bool breakSelected = line.to == layout.Size() && buffer.SelStart() <= lineEnd && buffer.SelEnd() > lineEnd
        && layout.line + 1 < buffer.LineCount();
    if (line.selStart >= line.selEnd && !breakSelected)
        return;
    const float from = line.offset + layout.xs[line.selStart];
    const float to = line.offset + layout.xs[line.selEnd] + (breakSelected ? fonts.BlankAdvance() : 0);
    painter.fillRect(QRectF(from, line.y, to - from, fonts.LineHeight()), line.frame.highlight);
}

int TTextPainter::FirstShownUnit(const TLineLayout& layout, int from, float left) const
{
    const int count = layout.Size();
    const auto& chars = layout.chars;
    int i = static_cast<int>(std::upper_bound(layout.xs.begin(), layout.xs.end(), left) - layout.xs.begin()) - 1;
    i = std::clamp(i, from, count);
    if (i > from && i < count && QChar::isLowSurrogate(chars[i]) && QChar::isHighSurrogate(chars[i - 1]))
        --i;
    return i;
}

int TTextPainter::DrawRun(QPainter& painter, const TLineFrame& line, int from)
{
    const TLineLayout& layout = line.layout;
    const int count = line.to;
    const auto& chars = layout.chars;
    const auto& xs = layout.xs;
    const TTextBuffer::StyleId id = layout.ids[from];
    auto isSelected = [&line](int unit) { return unit >= line.selStart && unit < line.selEnd; };
    const bool selected = isSelected(from);
    const TTextStyle& style = buffer.StyleOf(id);
    const int variant = style.flags & 3;
    const QColor colour = selected ? line.frame.highlightedText : QColor(style.r, style.g, style.b);
    painter.setPen(colour);

    // The ink of the character that marks sit on, with the marks already placed on it.
    QRectF baseInk;
    bool baseKnown = false;
    int j = from;
    while (j < count && layout.ids[j] == id && isSelected(j) == selected && chars[j] != u'\t' && xs[j] <= line.right) {
        char32_t code = chars[j];
        int units = 1;
        if (QChar::isHighSurrogate(chars[j]) && j + 1 < count && QChar::isLowSurrogate(chars[j + 1])) {
            code = QChar::surrogateToUcs4(chars[j], chars[j + 1]);
            units = 2;
        }
        const TTextFonts::TGlyph glyph = fonts.Glyph(variant, code);
        if (glyph.kind == TTextFonts::Kind::Invisible) {
            // A joiner or a variation selector steers its neighbours and shows nothing itself.
            j += units;
            continue;
        }
        QPointF at(xs[j], 0);
        if (glyph.IsMark()) {
            if (!baseKnown)
                baseKnown = FindBaseInk(layout, line.from, j, baseInk);
            if (baseKnown) {
                at = MarkPosition(glyph, baseInk);
                baseInk |= glyph.ink.translated(at);
            } else {
                // Nothing to sit on: the mark shows in the room it was given.
                at.setX((xs[j] + xs[j + units]) / 2 - glyph.ink.center().x());
            }
        } else {
            baseInk = glyph.ink.translated(at);
            baseKnown = true;
        }
        if (!glyph.fallback) {
            glyphScratch.push_back(glyph.index);
            positionScratch.push_back(at);
        } else if (code >= CharCode::FirstPrintable) {
            // Drawn as text so that a font that has the character stands in.
            FlushGlyphs(painter, variant, line);
            painter.setFont(fonts.Font(variant));
            painter.drawText(QPointF(line.offset + at.x(), line.baseline + at.y()),
                QString(reinterpret_cast<const QChar*>(chars.data() + j), units));
        }
        j += units;
    }
    FlushGlyphs(painter, variant, line);
    DrawDecorations(painter, line, from, j, style.flags, colour);
    return j;
}

bool TTextPainter::FindBaseInk(const TLineLayout& layout, int from, int unit, QRectF& ink)
{
    const auto& chars = layout.chars;
    for (int k = unit - 1; k >= from && chars[k] != u'\t'; --k) {
        char32_t code = chars[k];
        if (k > from && QChar::isLowSurrogate(chars[k]) && QChar::isHighSurrogate(chars[k - 1])) {
            code = QChar::surrogateToUcs4(chars[k - 1], chars[k]);
            --k;
        }
        const TTextFonts::TGlyph& glyph = fonts.Glyph(buffer.StyleOf(layout.ids[k]).flags & 3, code);
        if (glyph.kind == TTextFonts::Kind::Plain) {
            ink = glyph.ink.translated(layout.xs[k], 0);
            return true;
        }
    }
    return false;
}

void TTextPainter::FlushGlyphs(QPainter& painter, int variant, const TLineFrame& line)
{
    if (glyphScratch.isEmpty())
        return;
    {
        // The run shares the lists: it lets go of them before they are cleared, so that clearing keeps
        // their memory rather than allocating anew.
        QGlyphRun run;
        run.setRawFont(fonts.RawFont(variant));
        run.setGlyphIndexes(glyphScratch);
        run.setPositions(positionScratch);
        painter.drawGlyphRun(QPointF(line.offset, line.baseline), run);
    }
    glyphScratch.clear();
    positionScratch.clear();
}

void TTextPainter::DrawDecorations(
    QPainter& painter, const TLineFrame& line, int from, int to, int flags, const QColor& colour)
{
    if (!(flags & (TextStyleFlag::Underline | TextStyleFlag::StrikeOut)))
        return;
    const float x = line.offset + line.layout.xs[from];
    const float width = line.layout.xs[to] - line.layout.xs[from];
    if (flags & TextStyleFlag::Underline)
        painter.fillRect(QRectF(x, line.baseline + fonts.UnderlineOffset(), width, fonts.LineWidth()), colour);
    if (flags & TextStyleFlag::StrikeOut)
        painter.fillRect(QRectF(x, line.baseline - fonts.StrikeOutOffset(), width, fonts.LineWidth()), colour);
}
