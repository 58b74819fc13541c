#include "gui/TextGutter.h"

#include "gui/TextView.h"

#include <QGlyphRun>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <optional>

namespace {
// Room for a marker left of the numbers, and space around the numbers.
constexpr int MarkerRoom = 14;
constexpr int NumberPadding = 6;

QColor MarkerColour(TMarkerKind kind)
{
    switch (kind) {
    case TMarkerKind::Error:
        return QColor(210, 30, 30);
    case TMarkerKind::Warning:
        return QColor(225, 150, 0);
    case TMarkerKind::Hint:
        break;
    }
    return QColor(40, 110, 220);
}

void DrawMarker(QPainter& painter, TMarkerKind kind, const QRectF& cell)
{
    const qreal size = std::min<qreal>(cell.height() - 4, MarkerRoom - 4);
    const QRectF box(cell.center().x() - size / 2, cell.center().y() - size / 2, size, size);
    painter.setPen(Qt::NoPen);
    painter.setBrush(MarkerColour(kind));
    if (kind == TMarkerKind::Warning) {
        QPainterPath triangle;
        triangle.moveTo(box.center().x(), box.top());
        triangle.lineTo(box.right(), box.bottom());
        triangle.lineTo(box.left(), box.bottom());
        triangle.closeSubpath();
        painter.drawPath(triangle);
    } else {
        painter.drawEllipse(box);
    }
}
} // namespace

TTextGutter::TTextGutter(TTextView& textView)
    : QWidget(&textView)
    , view(textView)
{
    setCursor(Qt::ArrowCursor);
    // It fills all it paints, so the widgets under it need not paint first, as they would on every scroll.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int TTextGutter::WidthFor(int lines) const
{
    int digits = 1;
    for (int n = std::max(lines, 1); n >= 10; n /= 10)
        ++digits;
    // Room for at least three digits, so that the text does not jump in a short script's first lines.
    digits = std::max(digits, 3);
    return MarkerRoom + digits * QFontMetrics(view.font()).horizontalAdvance(QLatin1Char('0')) + NumberPadding;
}

void TTextGutter::TakeDigits()
{
    if (digitsTaken && digitsFont == view.font())
        return;
    digitsTaken = true;
    digitsFont = view.font();
    for (int bold = 0; bold < 2; ++bold) {
        QFont font = digitsFont;
        font.setBold(bold == 1);
        TDigits& set = digits[bold];
        set.raw = QRawFont::fromFont(font);
        const QList<quint32> indexes
            = set.raw.isValid() ? set.raw.glyphIndexesForString(QStringLiteral("0123456789")) : QList<quint32>();
        set.usable = indexes.size() == 10 && !indexes.contains(0u);
        if (!set.usable)
            continue;
        const QList<QPointF> advances = set.raw.advancesForGlyphIndexes(indexes);
        for (int k = 0; k < 10; ++k) {
            set.index[k] = indexes[k];
            set.advance[k] = advances[k].x();
        }
    }
    const QFontMetricsF metrics(digitsFont);
    digitsAscent = metrics.ascent();
    digitsHeight = metrics.ascent() + metrics.descent();
}

void TTextGutter::AddNumber(TDigits& set, int number, qreal right, qreal baseline)
{
    qreal x = right;
    do {
        const int digit = number % 10;
        number /= 10;
        x -= set.advance[digit];
        set.glyphs.push_back(set.index[digit]);
        set.positions.emplace_back(x, baseline);
    } while (number > 0);
}

void TTextGutter::DrawRun(QPainter& painter, TDigits& set)
{
    if (set.glyphs.empty())
        return;
    QGlyphRun run;
    run.setRawFont(set.raw);
    run.setRawData(set.glyphs.data(), set.positions.data(), static_cast<int>(set.glyphs.size()));
    painter.drawGlyphRun(QPointF(0, 0), run);
    set.glyphs.clear();
    set.positions.clear();
}

void TTextGutter::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QColor background = view.GutterBackground();
    painter.fillRect(event->rect(), background);
    const int height = view.LineHeight();
    const int firstRow = std::max(0, event->rect().top()) / height;
    const int lastRow = event->rect().bottom() / height;
    const int caretLine = view.CaretLine();
    const bool dark = background.lightness() < 128;
    const QColor number = dark ? QColor(150, 150, 150) : QColor(130, 130, 130);
    const QColor current = dark ? QColor(240, 240, 240) : QColor(20, 20, 20);
    QFont plain = view.font();
    QFont bold = plain;
    bold.setBold(true);
    const TTextDecorations& decorations = view.Decorations();
    TakeDigits();
    const qreal right = width() - NumberPadding / 2;
    for (int row = firstRow; row <= lastRow; ++row) {
        // A wrapped line shows its number on its first row only.
        const TRowPlace shown = view.ShownRow(row);
        if (shown.line < 0)
            break;
        if (shown.index != 0)
            continue;
        const int line = shown.line;
        const QRect cell(0, row * height, width(), height);
        if (!decorations.Empty()) {
            // The gravest marker of the line shows.
            std::optional<TMarkerKind> gravest;
            decorations.ForEachMarker(line, [&gravest](const TLineMarker& marker) {
                if (!gravest || marker.kind < *gravest)
                    gravest = marker.kind;
            });
            if (gravest)
                DrawMarker(painter, *gravest, QRectF(0, cell.top(), MarkerRoom, height));
        }
        TDigits& set = digits[line == caretLine ? 1 : 0];
        if (set.usable) {
            // Centred in the cell, as text aligned to its middle is.
            AddNumber(set, line + 1, right, cell.top() + (height - digitsHeight) / 2 + digitsAscent);
            continue;
        }
        painter.setFont(line == caretLine ? bold : plain);
        painter.setPen(line == caretLine ? current : number);
        painter.drawText(cell.adjusted(MarkerRoom, 0, -NumberPadding / 2, 0), Qt::AlignRight | Qt::AlignVCenter,
            QString::number(line + 1));
    }
    painter.setPen(number);
    DrawRun(painter, digits[0]);
    painter.setPen(current);
    DrawRun(painter, digits[1]);
}

void TTextGutter::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressedLine = view.LineAtPoint(event->position().y());
    view.SelectLines(pressedLine, pressedLine);
}

void TTextGutter::mouseMoveEvent(QMouseEvent* event)
{
    if (pressedLine >= 0 && (event->buttons() & Qt::LeftButton))
        view.SelectLines(pressedLine, view.LineAtPoint(event->position().y()));
}

void TTextGutter::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressedLine = -1;
}

bool TTextGutter::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        QStringList tips;
        view.Decorations().ForEachMarker(view.LineAtPoint(help->pos().y()), [&tips](const TLineMarker& marker) {
            if (!marker.tooltip.isEmpty())
                tips << marker.tooltip;
        });
        if (tips.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tips.join(QLatin1Char('\n')), this);
        return true;
    }
    return QWidget::event(event);
}
