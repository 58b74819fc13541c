#include "gui/TextGutter.h"

#include "gui/TextView.h"

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

void TTextGutter::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QColor background = view.GutterBackground();
    painter.fillRect(event->rect(), background);
    const int height = view.LineHeight();
    const int top = view.TopLine();
    const int first = top + std::max(0, event->rect().top()) / height;
    const int last = std::min(view.LineCount() - 1, top + event->rect().bottom() / height);
    const int caretLine = view.CaretLine();
    const bool dark = background.lightness() < 128;
    const QColor number = dark ? QColor(150, 150, 150) : QColor(130, 130, 130);
    const QColor current = dark ? QColor(240, 240, 240) : QColor(20, 20, 20);
    QFont plain = view.font();
    QFont bold = plain;
    bold.setBold(true);
    const TTextDecorations& decorations = view.Decorations();
    for (int line = first; line <= last; ++line) {
        const QRect cell(0, (line - top) * height, width(), height);
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
        painter.setFont(line == caretLine ? bold : plain);
        painter.setPen(line == caretLine ? current : number);
        painter.drawText(cell.adjusted(MarkerRoom, 0, -NumberPadding / 2, 0), Qt::AlignRight | Qt::AlignVCenter,
            QString::number(line + 1));
    }
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
