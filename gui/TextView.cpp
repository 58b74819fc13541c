#include "gui/TextView.h"

#include "gui/KeyMap.h"
#include "gui/TextMotion.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
// Room left of the first column, so that a caret at the start of a line stays visible.
constexpr int LeftMargin = 3;
constexpr int CaretWidth = 1;
// Changed lines beyond this many are measured by their longest line only.
constexpr int MeasuredLinesPerChange = 32;
} // namespace

TTextView::TTextView(TTextBuffer& textBuffer, QWidget* parent)
    : QAbstractScrollArea(parent)
    , buffer(textBuffer)
{
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);

    QObject::connect(&caretTimer, &QTimer::timeout, this, [this] {
        caretOn = !caretOn;
        if (!frozen)
            viewport()->update(lastCaretRect);
    });
    dragScrollTimer.setInterval(50);
    QObject::connect(&dragScrollTimer, &QTimer::timeout, this, [this] { AutoScroll(); });

    fonts.SetFont(font());
    UpdateScrollBars();
}

TTextView::~TTextView()
{
    client = nullptr;
}

int TTextView::TopLine() const
{
    return verticalScrollBar()->value();
}

int TTextView::VisibleLines() const
{
    return std::max(1, viewport()->height() / fonts.LineHeight());
}

float TTextView::TextOffset() const
{
    return static_cast<float>(LeftMargin - horizontalScrollBar()->value());
}

int TTextView::LineAtY(qreal y) const
{
    const int row = static_cast<int>(std::floor(y / fonts.LineHeight()));
    return std::clamp(TopLine() + row, 0, buffer.LineCount() - 1);
}

void TTextView::SetTextFont(const QFont& newFont)
{
    setFont(newFont);
    fonts.SetFont(newFont);
    layouter.FontChanged();
    documentWidth = 0;
    visibleRangeValid = false;
    UpdateScrollBars();
    RepaintAll();
}

void TTextView::SetBackground(const QColor& colour)
{
    background = colour;
    RepaintAll();
}

void TTextView::SetTabWidth(int pixels)
{
    layouter.SetTabWidth(pixels);
    RepaintAll();
}

void TTextView::SetFrozen(bool freeze)
{
    frozen = freeze;
    if (!frozen)
        RepaintAll();
}

void TTextView::RepaintAll()
{
    if (!frozen)
        viewport()->update();
}

int TTextView::PositionAtPoint(QPointF point)
{
    return layouter.PositionAtX(LineAtY(point.y()), static_cast<float>(point.x()) - TextOffset());
}

QPoint TTextView::PointOfPosition(int pos)
{
    pos = std::clamp(pos, 0, buffer.Length());
    const float x = layouter.XOfPosition(pos) + TextOffset();
    return { static_cast<int>(std::floor(x)), (buffer.LineAt(pos) - TopLine()) * fonts.LineHeight() };
}

QRect TTextView::CaretRect()
{
    return { PointOfPosition(buffer.Caret()), QSize(CaretWidth, fonts.LineHeight()) };
}

TTextRange TTextView::VisibleRange()
{
    if (!visibleRangeValid) {
        const int top = TopLine();
        visibleRange = { buffer.CharAt(top), buffer.CharAt(top + VisibleLines() + 1) };
        visibleRangeValid = true;
    }
    return visibleRange;
}

void TTextView::UpdateLines(int first, int last)
{
    if (frozen)
        return;
    const int top = TopLine();
    first = std::max(first, top);
    last = std::min(last, top + VisibleLines());
    if (first > last)
        return;
    const int height = fonts.LineHeight();
    viewport()->update(QRect(0, (first - top) * height, viewport()->width(), (last - first + 1) * height));
}

void TTextView::UpdateScrollBars()
{
    scrollBarsPending = false;
    const int visible = VisibleLines();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, buffer.LineCount() - visible));
    vertical->setPageStep(visible);
    vertical->setSingleStep(1);
    const int viewWidth = viewport()->width();
    const int contentWidth = static_cast<int>(std::ceil(documentWidth)) + 2 * LeftMargin + CaretWidth;
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, contentWidth - viewWidth));
    horizontal->setPageStep(std::max(1, viewWidth));
    horizontal->setSingleStep(std::max(1, static_cast<int>(fonts.BlankAdvance() * 2)));
}

void TTextView::TrackWidth(float width)
{
    if (width <= documentWidth)
        return;
    documentWidth = width;
    UpdateScrollBars();
}

void TTextView::TextChanged(const TTextChange& change)
{
    visibleRangeValid = false;
    if (change.breaksRemoved == 0 && change.breaksInserted == 0)
        UpdateLines(change.firstLine, change.firstLine);
    else
        UpdateLines(change.firstLine, INT_MAX);

    // The scroll width follows the widest line seen; a whole new text starts afresh.
    if (change.pos == 0 && change.inserted == buffer.Length())
        documentWidth = 0;
    const int first = change.firstLine;
    const int last = std::min(first + change.breaksInserted, buffer.LineCount() - 1);
    if (last - first < MeasuredLinesPerChange) {
        for (int line = first; line <= last; ++line)
            TrackWidth(layouter.Line(line).Width());
    } else {
        int longest = first;
        int longestLength = -1;
        for (int line = first; line <= last; ++line) {
            const int length = buffer.LineEnd(line) - buffer.LineStart(line);
            if (length > longestLength) {
                longestLength = length;
                longest = line;
            }
        }
        TrackWidth(layouter.Line(longest).Width());
    }
    UpdateScrollBars();
}

void TTextView::RepaintStyled(TTextRange range)
{
    const TTextRange visible = VisibleRange();
    if (range.end <= visible.start || range.start >= visible.end)
        return;
    UpdateLines(
        buffer.LineAt(std::max(range.start, visible.start)), buffer.LineAt(std::min(range.end, visible.end) - 1));
}

void TTextView::SelectionChanged(int oldAnchor, int oldCaret, bool scrollToCaret)
{
    commands.ForgetColumn();
    const int oldStart = std::min(oldAnchor, oldCaret);
    const int oldEnd = std::max(oldAnchor, oldCaret);
    if (oldStart != oldEnd || buffer.SelStart() != buffer.SelEnd()) {
        UpdateLines(
            buffer.LineAt(std::min(oldStart, buffer.SelStart())), buffer.LineAt(std::max(oldEnd, buffer.SelEnd())));
    }
    if (scrollToCaret)
        EnsureCaretVisible();
    RestartCaretBlink();
}

void TTextView::TextEdited(const TTextChange& change)
{
    TextChanged(change);
    EnsureCaretVisible();
    RestartCaretBlink();
}

bool TTextView::OfferEdit(int pos, int removed, const QString& inserted)
{
    return !client || client->ViewOfferEdit(pos, removed, inserted);
}

void TTextView::ScrollLines(int lines)
{
    verticalScrollBar()->setValue(verticalScrollBar()->value() + lines);
}

void TTextView::UserChanged(bool textChanged)
{
    if (client)
        client->ViewUserChange(textChanged);
}

void TTextView::EnsureCaretVisible()
{
    const int line = buffer.LineAt(buffer.Caret());
    const int top = TopLine();
    const int visible = VisibleLines();
    if (line < top)
        verticalScrollBar()->setValue(line);
    else if (line >= top + visible)
        verticalScrollBar()->setValue(line - visible + 1);

    const TLineLayout& caretLine = layouter.LineOf(buffer.Caret());
    const float x = caretLine.XOf(buffer.Caret());
    TrackWidth(caretLine.Width());
    const int viewWidth = viewport()->width();
    QScrollBar* horizontal = horizontalScrollBar();
    const int left = static_cast<int>(x);
    const int right = static_cast<int>(std::ceil(x)) + CaretWidth + 2 * LeftMargin;
    // Jump by a third of the width rather than creeping a column at a time.
    if (left < horizontal->value())
        horizontal->setValue(std::max(0, left - viewWidth / 3));
    else if (right > horizontal->value() + viewWidth)
        horizontal->setValue(right - viewWidth + viewWidth / 3);
}

void TTextView::RestartCaretBlink()
{
    caretOn = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash > 0)
        caretTimer.start(flash / 2);
    if (frozen)
        return;
    viewport()->update(lastCaretRect);
    lastCaretRect = CaretRect();
    viewport()->update(lastCaretRect);
}

void TTextView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const TTextPainter::TFrame frame { .topLine = TopLine(),
        .offset = TextOffset(),
        .background = background,
        .highlight = palette().color(QPalette::Highlight),
        .highlightedText = palette().color(QPalette::HighlightedText) };
    const float widest = textPainter.PaintLines(painter, event->rect(), frame);

    lastCaretRect = CaretRect();
    if (hasFocus() && caretOn)
        textPainter.PaintCaret(painter, lastCaretRect, background);

    // A line wider than any seen before widens the scroll range, once painting is over.
    if (widest > documentWidth) {
        documentWidth = widest;
        if (!scrollBarsPending) {
            scrollBarsPending = true;
            QTimer::singleShot(0, this, [this] { UpdateScrollBars(); });
        }
    }
}

void TTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    visibleRangeValid = false;
    UpdateScrollBars();
}

void TTextView::scrollContentsBy(int, int)
{
    visibleRangeValid = false;
    RepaintAll();
    if (!frozen)
        lastCaretRect = CaretRect();
}

bool TTextView::event(QEvent* event)
{
    // Tab and Shift+Tab belong to the text, not to moving the focus.
    if (event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void TTextView::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (client) {
        client->ViewKeyPress(event);
        return;
    }
    const int mods = ModifierBitsOf(event->modifiers());
    KeyDownAction(VirtualKeyOf(event), mods);
    ForEachCodePoint(CharCodesOf(event), [&](char32_t code) { CharAction(code, mods); });
}

void TTextView::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    if (!commit.isEmpty()) {
        if (client)
            client->ViewCommit(commit);
        else
            ForEachCodePoint(commit, [&](char32_t code) { CharAction(code, 0); });
    }
    event->accept();
}

QVariant TTextView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const int line = buffer.LineAt(buffer.Caret());
    const int lineStart = buffer.LineStart(line);
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle:
        return lastCaretRect;
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return buffer.Caret() - lineStart;
    case Qt::ImAnchorPosition:
        return std::clamp(buffer.Anchor(), lineStart, buffer.LineEnd(line)) - lineStart;
    case Qt::ImSurroundingText:
        return buffer.AreaText(lineStart, buffer.LineEnd(line) - lineStart, TextUnit::Chars);
    case Qt::ImCurrentSelection:
        return buffer.AreaText(buffer.SelStart(), buffer.SelEnd() - buffer.SelStart(), TextUnit::Chars);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void TTextView::AutoScroll()
{
    if (!dragging) {
        dragScrollTimer.stop();
        return;
    }
    const QRect area = viewport()->rect();
    if (dragPoint.y() < area.top())
        verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
    else if (dragPoint.y() > area.bottom())
        verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
    const int step = horizontalScrollBar()->singleStep();
    if (dragPoint.x() < area.left())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - step);
    else if (dragPoint.x() > area.right())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + step);
    commands.UserMoveCaret(PositionAtPoint(dragPoint), true);
}

void TTextView::mousePressEvent(QMouseEvent* event)
{
    // Every selection the mouse makes goes through SelectionChanged, which makes Up and Down forget
    // the column they aimed for.
    const QPointF point = event->position();
    if (event->button() == Qt::LeftButton) {
        const bool tripleClick = tripleClickClock.isValid()
            && tripleClickClock.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval()
            && (point - doubleClickPoint).manhattanLength() < QGuiApplication::styleHints()->startDragDistance();
        tripleClickClock.invalidate();
        if (tripleClick) {
            const int line = buffer.LineAt(PositionAtPoint(point));
            commands.UserSelect(buffer.CharAt(line), buffer.CharAt(line + 1));
        } else {
            commands.UserMoveCaret(PositionAtPoint(point), (event->modifiers() & Qt::ShiftModifier) != 0);
        }
        dragging = !tripleClick;
        dragPoint = point;
    } else if (event->button() == Qt::RightButton) {
        // With nothing selected the right button places the caret first, as a left click would.
        if (buffer.SelStart() == buffer.SelEnd())
            commands.UserMoveCaret(PositionAtPoint(point), false);
    }
    event->accept();
}

void TTextView::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging || !(event->buttons() & Qt::LeftButton))
        return;
    dragPoint = event->position();
    commands.UserMoveCaret(PositionAtPoint(dragPoint), true);
    if (viewport()->rect().contains(dragPoint.toPoint()))
        dragScrollTimer.stop();
    else if (!dragScrollTimer.isActive())
        dragScrollTimer.start();
}

void TTextView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        dragging = false;
        dragScrollTimer.stop();
    } else if (event->button() == Qt::RightButton && client) {
        const QPoint point = event->position().toPoint();
        client->ViewMenuRequest(point.x(), point.y());
    }
    event->accept();
}

void TTextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF point = event->position();
    // The word under the pointer: the character whose cell holds the point, not the nearest gap.
    const int pos = layouter.Line(LineAtY(point.y())).CharacterAtX(static_cast<float>(point.x()) - TextOffset());
    const TTextRange word = TTextMotion(buffer).WordAt(pos);
    commands.UserSelect(word.start, word.end);
    dragging = false;
    tripleClickClock.start();
    doubleClickPoint = point;
    event->accept();
}

void TTextView::wheelEvent(QWheelEvent* event)
{
    // Ctrl does not zoom: the text keeps its font size.
    const QPoint delta = event->angleDelta();
    if (delta.y() != 0) {
        wheelRemainder += static_cast<float>(delta.y()) / 120.0f * QApplication::wheelScrollLines();
        const int lines = static_cast<int>(wheelRemainder);
        wheelRemainder -= static_cast<float>(lines);
        verticalScrollBar()->setValue(verticalScrollBar()->value() - lines);
    }
    if (delta.x() != 0) {
        const int step = horizontalScrollBar()->singleStep() * 3;
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - delta.x() * step / 120);
    }
    event->accept();
}

void TTextView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    RestartCaretBlink();
}

void TTextView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    caretTimer.stop();
    if (!frozen)
        viewport()->update(lastCaretRect);
    if (event->reason() != Qt::PopupFocusReason && client)
        client->ViewFocusLost();
}
