#include "gui/TextView.h"

#include "gui/KeyMap.h"
#include "gui/TextGutter.h"
#include "gui/TextMotion.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextDocument>
#include <QToolTip>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
// Room left of the first column, so that a caret at the start of a line stays visible.
constexpr int LeftMargin = 3;
constexpr int CaretWidth = 1;
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
    // Drops arrive at the viewport, which hands them on to this widget's handlers.
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);

    QObject::connect(&caretTimer, &QTimer::timeout, this, [this] {
        caretOn = !caretOn;
        if (!frozen)
            viewport()->update(lastCaretRect);
    });
    dragScrollTimer.setInterval(50);
    QObject::connect(&dragScrollTimer, &QTimer::timeout, this, [this] { AutoScroll(); });

    fonts.SetFont(font());
    MeasureAllLines();
    UpdateScrollBars();
}

TTextView::~TTextView()
{
    client = nullptr;
}

int TTextView::TopLine() const
{
    return rows.On() ? rows.LineOfRow(TopRow()).line : TopRow();
}

TRowPlace TTextView::ShownRow(int row) const
{
    const int shown = TopRow() + row;
    if (shown >= rows.Count())
        return { -1, 0 };
    return rows.LineOfRow(shown);
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
    if (rows.On())
        return rows.LineOfRow(std::max(0, TopRow() + row)).line;
    return std::clamp(TopLine() + row, 0, buffer.LineCount() - 1);
}

TTextRow TTextView::RowAtY(qreal y)
{
    const int row = static_cast<int>(std::floor(y / fonts.LineHeight()));
    const TRowPlace place = rows.LineOfRow(std::max(0, TopRow() + row));
    return rows.RowAt(place.line, place.index);
}

float TTextView::WrapWidth()
{
    // The caret at a row's end stays inside the viewport.
    const float width = static_cast<float>(viewport()->width() - 2 * LeftMargin - CaretWidth);
    return std::max({ 1.0f, fonts.BlankAdvance(), width });
}

void TTextView::SetWordWrap(bool wrap)
{
    if (wrap == rows.On())
        return;
    const int top = TopLine();
    // The scroll bar's going changes the viewport's width: lines wrap at the width it leaves.
    if (!wrap)
        rows.SetWidth(0);
    setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    if (wrap) {
        rows.SetWidth(WrapWidth());
        rows.Settle(top, VisibleLines());
    }
    visibleRangeValid = false;
    UpdateScrollBars();
    verticalScrollBar()->setValue(rows.FirstRow(top));
    RepaintAll();
    if (gutter)
        gutter->update();
}

void TTextView::Rewrap()
{
    const float width = WrapWidth();
    if (width == rows.Width())
        return;
    const int top = TopLine();
    rows.SetWidth(width);
    rows.Settle(top, VisibleLines());
    UpdateScrollBars();
    verticalScrollBar()->setValue(rows.FirstRow(top));
    RepaintAll();
}

void TTextView::SetTextFont(const QFont& newFont)
{
    setFont(newFont);
    fonts.SetFont(newFont);
    layouter.FontChanged();
    if (tabColumns > 0)
        layouter.SetTabWidth(static_cast<int>(std::lround(tabColumns * fonts.BlankAdvance())));
    PlaceGutter();
    MeasureAllLines();
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
    MeasureAllLines();
    UpdateScrollBars();
    RepaintAll();
}

void TTextView::SetTabColumns(int columns)
{
    tabColumns = std::max(1, columns);
    SetTabWidth(static_cast<int>(std::lround(tabColumns * fonts.BlankAdvance())));
}

void TTextView::SetLineNumbers(bool shown)
{
    if (shown == (gutter != nullptr))
        return;
    if (shown) {
        gutter = new TTextGutter(*this);
        gutter->show();
    } else {
        delete gutter;
        gutter = nullptr;
    }
    PlaceGutter();
}

void TTextView::PlaceGutter()
{
    const int width = gutter ? gutter->WidthFor(buffer.LineCount()) : 0;
    if (width != gutterWidth) {
        gutterWidth = width;
        setViewportMargins(width, 0, 0, 0);
    }
    if (gutter) {
        const QRect area = contentsRect();
        gutter->setGeometry(area.left(), area.top(), gutterWidth, viewport()->height());
        gutter->update();
    }
}

void TTextView::SetCurrentLineHighlight(bool shown)
{
    currentLineHighlight = shown;
    RepaintAll();
}

void TTextView::SetShowWhitespace(bool shown)
{
    showWhitespace = shown;
    RepaintAll();
}

QColor TTextView::GutterBackground() const
{
    // A shade off the text's background, darker on a light one and lighter on a dark one.
    return background.lightness() > 127 ? background.darker(106) : background.lighter(140);
}

void TTextView::SelectLines(int from, int to)
{
    const int first = std::clamp(std::min(from, to), 0, buffer.LineCount() - 1);
    const int last = std::clamp(std::max(from, to), 0, buffer.LineCount() - 1);
    const int oldAnchor = buffer.Anchor();
    const int oldCaret = buffer.Caret();
    const int end = last + 1 < buffer.LineCount() ? buffer.LineStart(last + 1) : buffer.Length();
    // Dragging upwards leaves the caret at the top, as a drag over the text does.
    if (to < from)
        buffer.Select(end, buffer.LineStart(first));
    else
        buffer.Select(buffer.LineStart(first), end);
    if (buffer.Anchor() == oldAnchor && buffer.Caret() == oldCaret)
        return;
    SelectionChanged(oldAnchor, oldCaret, true);
    UserChanged(false);
}

void TTextView::DecorationsChanged()
{
    RepaintAll();
    if (gutter)
        gutter->update();
}

void TTextView::SwatchesChanged(std::vector<int> lines)
{
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    for (const int line : lines) {
        lineWidths.Update(line, layouter.Width(line));
        rows.Forget(line, line);
    }
    UpdateScrollBars();
}

void TTextView::FollowCaretLine()
{
    const int line = CaretLine();
    if (line == shownCaretLine)
        return;
    const int old = shownCaretLine;
    shownCaretLine = line;
    if (currentLineHighlight && !frozen) {
        UpdateLines(old, old);
        UpdateLines(line, line);
    }
    if (gutter)
        gutter->update();
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
    if (rows.On())
        return rows.PositionAtX(RowAtY(point.y()), static_cast<float>(point.x()) - TextOffset());
    return layouter.PositionAtX(LineAtY(point.y()), static_cast<float>(point.x()) - TextOffset());
}

QPoint TTextView::PointOfPosition(int pos)
{
    pos = std::clamp(pos, 0, buffer.Length());
    if (rows.On()) {
        const TTextRow row = rows.RowOf(pos);
        const float x = layouter.XOfPosition(pos) - rows.StartX(row) + TextOffset();
        return { static_cast<int>(std::floor(x)),
            (rows.FirstRow(row.line) + row.index - TopRow()) * fonts.LineHeight() };
    }
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
        const int end = rows.On() ? rows.LineOfRow(TopRow() + VisibleLines() + 1).line + 1 : top + VisibleLines() + 1;
        visibleRange = { buffer.CharAt(top), buffer.CharAt(end) };
        visibleRangeValid = true;
    }
    return visibleRange;
}

void TTextView::UpdateLines(int first, int last)
{
    if (frozen)
        return;
    if (rows.On()) {
        const int lines = buffer.LineCount();
        const int top = TopRow();
        const int firstRow = std::max(rows.FirstRow(std::max(first, 0)), top);
        const int lastRow = std::min(last >= lines - 1 ? INT_MAX : rows.FirstRow(last + 1) - 1, top + VisibleLines());
        if (firstRow <= lastRow) {
            const int height = fonts.LineHeight();
            viewport()->update(
                QRect(0, (firstRow - top) * height, viewport()->width(), (lastRow - firstRow + 1) * height));
        }
        return;
    }
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
    documentWidth = lineWidths.Widest();
    shownRows = rows.Count();
    const int visible = VisibleLines();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, shownRows - visible));
    vertical->setPageStep(visible);
    vertical->setSingleStep(1);
    const int viewWidth = viewport()->width();
    const int contentWidth = static_cast<int>(std::ceil(documentWidth)) + 2 * LeftMargin + CaretWidth;
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, rows.On() ? 0 : std::max(0, contentWidth - viewWidth));
    horizontal->setPageStep(std::max(1, viewWidth));
    horizontal->setSingleStep(std::max(1, static_cast<int>(fonts.BlankAdvance() * 2)));
}

void TTextView::MeasureAllLines()
{
    lineWidths.Reset(buffer.LineCount(), [this](int line) { return layouter.Width(line); });
    rows.Reset();
}

void TTextView::TextChanged(const TTextChange& change)
{
    visibleRangeValid = false;
    primary.TextChanged(change);
    const bool oneLine = change.breaksRemoved == 0 && change.breaksInserted == 0;
    const int rowsBefore = rows.StoredCount(change.firstLine);
    if (!rows.On())
        UpdateLines(change.firstLine, oneLine ? change.firstLine : INT_MAX);

    // The scroll width follows the widest line. Only the lines the change made are measured; a line
    // that is edited is laid out next anyway, so its layout is made now and kept.
    const int linesBefore = buffer.LineCount() - change.breaksInserted + change.breaksRemoved;
    if (lineWidths.Lines() != linesBefore) {
        MeasureAllLines();
    } else if (change.breaksInserted == 0) {
        lineWidths.Replace(
            change.firstLine, change.breaksRemoved + 1, 1, [this](int line) { return layouter.Line(line).Width(); });
        rows.LinesReplaced(change.firstLine, change.breaksRemoved + 1, 1);
    } else {
        lineWidths.Replace(change.firstLine, change.breaksRemoved + 1, change.breaksInserted + 1,
            [this](int line) { return layouter.Width(line); });
        rows.LinesReplaced(change.firstLine, change.breaksRemoved + 1, change.breaksInserted + 1);
    }
    if (rows.On()) {
        // An edit within a line moves the rows below it only when the line's count changed.
        const bool rowsMoved = !oneLine || rows.RowsOf(change.firstLine) != rowsBefore;
        UpdateLines(change.firstLine, rowsMoved ? INT_MAX : change.firstLine);
    }
    UpdateScrollBars();
    if (gutter && (change.breaksRemoved != 0 || change.breaksInserted != 0)) {
        PlaceGutter();
        gutter->update();
    }
    FollowCaretLine();
}

void TTextView::RepaintStyled(TTextRange range)
{
    const TTextRange visible = VisibleRange();
    if (range.end <= visible.start || range.start >= visible.end)
        return;
    const int first = buffer.LineAt(std::max(range.start, visible.start));
    const int last = buffer.LineAt(std::min(range.end, visible.end) - 1);
    // New styles may change widths, and with them the rows the lines take.
    rows.Forget(first, last);
    UpdateLines(first, last);
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
    FollowCaretLine();
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
    primary.UserSelected();
    if (client)
        client->ViewUserChange(textChanged);
}

void TTextView::EnsureCaretVisible()
{
    if (rows.On()) {
        // Lines that wrap never scroll sideways.
        const TTextRow row = rows.RowOf(buffer.Caret());
        const int target = rows.FirstRow(row.line) + row.index;
        if (rows.Count() != shownRows)
            UpdateScrollBars();
        const int top = TopRow();
        if (target < top)
            verticalScrollBar()->setValue(target);
        else if (target >= top + VisibleLines())
            verticalScrollBar()->setValue(target - VisibleLines() + 1);
        return;
    }
    const int line = buffer.LineAt(buffer.Caret());
    const int top = TopLine();
    const int visible = VisibleLines();
    if (line < top)
        verticalScrollBar()->setValue(line);
    else if (line >= top + visible)
        verticalScrollBar()->setValue(line - visible + 1);

    const TLineLayout& caretLine = layouter.LineOf(buffer.Caret());
    const float x = caretLine.XOf(buffer.Caret());
    lineWidths.Update(line, caretLine.Width());
    if (lineWidths.Widest() != documentWidth)
        UpdateScrollBars();
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
    const TRowPlace top = rows.LineOfRow(TopRow());
    const unsigned rowsVersion = rows.Version();
    const TTextPainter::TFrame frame { .topLine = top.line,
        .topRowIndex = top.index,
        .offset = TextOffset(),
        .background = background,
        .highlight = palette().color(QPalette::Highlight),
        .highlightedText = palette().color(QPalette::HighlightedText),
        .currentLine = currentLineHighlight ? CaretLine() : -1,
        .currentLineBand = background.lightness() > 127 ? background.darker(104) : background.lighter(125),
        .showWhitespace = showWhitespace };
    textPainter.PaintLines(painter, event->rect(), frame);

    lastCaretRect = CaretRect();
    if (hasFocus() && caretOn)
        textPainter.PaintCaret(painter, lastCaretRect, background);
    if (dropCaret >= 0)
        textPainter.PaintCaret(
            painter, QRect(PointOfPosition(dropCaret), QSize(CaretWidth, fonts.LineHeight())), background);

    // Rows that a painted line gained or lost move the lines below it, which this paint may not have
    // reached: the view is painted again.
    if (rows.Version() != rowsVersion && !frozen)
        viewport()->update();
    // A painted line whose styles changed its width moves the scroll range, once painting is over.
    if (lineWidths.Widest() != documentWidth || rows.Count() != shownRows) {
        if (!scrollBarsPending) {
            scrollBarsPending = true;
            QTimer::singleShot(0, this, [this] { UpdateScrollBars(); });
        }
    }
}

void TTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    PlaceGutter();
    visibleRangeValid = false;
    if (rows.On())
        Rewrap();
    UpdateScrollBars();
}

void TTextView::scrollContentsBy(int, int dy)
{
    visibleRangeValid = false;
    RepaintAll();
    if (gutter && dy != 0)
        gutter->update();
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

bool TTextView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = TooltipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport());
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

QString TTextView::TooltipAt(QPointF point)
{
    const int pos = CharacterAtPoint(point);
    if (pos < 0)
        return QString();
    QStringList tips;
    if (tooltipSource) {
        if (const QString tip = tooltipSource(pos); !tip.isEmpty())
            tips << tip;
    }
    buffer.Decorations().ForEachIndicator(pos, pos + 1, [&tips](const TIndicator& indicator) {
        if (!indicator.tooltip.isEmpty() && !tips.contains(indicator.tooltip))
            tips << indicator.tooltip;
    });
    // A tip in rich text (a swatch's square of colour) makes them all rich: the plain ones escaped.
    if (std::any_of(tips.begin(), tips.end(), [](const QString& tip) { return Qt::mightBeRichText(tip); })) {
        for (QString& tip : tips) {
            if (!Qt::mightBeRichText(tip))
                tip = tip.toHtmlEscaped();
        }
        return tips.join(QStringLiteral("<br>"));
    }
    return tips.join(QLatin1Char('\n'));
}

void TTextView::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    // The list under the caret takes its keys first; the rest go on to the text.
    const Qt::KeyboardModifiers held = event->modifiers() & ~Qt::KeypadModifier;
    if (completions && held == Qt::NoModifier && completions->Key(event->key()))
        return;
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
    if (dropPoint) {
        ScrollForDrop();
        return;
    }
    if (gesture != Gesture::SelectCharacters && gesture != Gesture::SelectWords) {
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
    ExtendSelection(dragPoint);
}

int TTextView::CharacterAtPoint(QPointF point)
{
    if (rows.On()) {
        const TTextRow row = RowAtY(point.y());
        const float x = rows.StartX(row) + static_cast<float>(point.x()) - TextOffset();
        return std::clamp(layouter.Line(row.line).CharacterAtX(x), row.start, std::max(row.start, row.end - 1));
    }
    return layouter.Line(LineAtY(point.y())).CharacterAtX(static_cast<float>(point.x()) - TextOffset());
}

const TIndicator* TTextView::SwatchAtPoint(QPointF point)
{
    const int pos = CharacterAtPoint(point);
    if (pos < 0)
        return nullptr;
    const TIndicator* hit = nullptr;
    // A point in a swatch's room lies in the cell of the character before the code.
    buffer.Decorations().ForEachSwatch(std::max(0, pos - 31), pos + 1, [&](const TIndicator& swatch) {
        const QPoint from = PointOfPosition(swatch.start);
        const QPoint to = PointOfPosition(swatch.end);
        const bool onRow = point.y() >= from.y() && point.y() < from.y() + fonts.LineHeight();
        const float right = to.y() == from.y() ? static_cast<float>(to.x()) : static_cast<float>(viewport()->width());
        if (!hit && onRow && point.x() >= from.x() - layouter.SwatchRoom() && point.x() < right)
            hit = &swatch;
    });
    return hit;
}

void TTextView::ShowCompletions(int pos, const std::vector<TPopupItem>& items, bool enterChooses)
{
    if (items.empty()) {
        HideCompletions();
        return;
    }
    if (!completions) {
        completions = new TCompletionPopup(viewport());
        completions->OnChosen([this](int index) {
            if (completionChosen)
                completionChosen(index);
        });
    }
    const QPoint at = PointOfPosition(pos);
    completions->Show(items, at + QPoint(0, fonts.LineHeight()), at, enterChooses);
}

void TTextView::HideCompletions()
{
    if (completions)
        completions->hide();
}

bool TTextView::CompletionsShown() const
{
    return completions && completions->isVisible();
}

int TTextView::CurrentCompletion() const
{
    return CompletionsShown() ? completions->currentRow() : -1;
}

void TTextView::OnCompletionChosen(std::function<void(int index)> handler)
{
    completionChosen = std::move(handler);
}

void TTextView::ShowCalltip(int pos, const QString& text)
{
    if (!calltip)
        calltip = new TCalltip(viewport());
    const QPoint at = PointOfPosition(pos);
    calltip->Show(text, at, at + QPoint(0, fonts.LineHeight()));
}

void TTextView::HideCalltip()
{
    if (calltip)
        calltip->hide();
}

bool TTextView::CalltipShown() const
{
    return calltip && calltip->isVisible();
}

QString TTextView::CalltipText() const
{
    return CalltipShown() ? calltip->text() : QString();
}

bool TTextView::OnSelection(QPointF point)
{
    if (buffer.SelStart() == buffer.SelEnd())
        return false;
    float x = static_cast<float>(point.x()) - TextOffset();
    // Past the end of a line (or of a row) the pointer is over no character, selected or not.
    if (rows.On()) {
        const TTextRow row = RowAtY(point.y());
        const float start = rows.StartX(row);
        if (x < 0 || x >= layouter.Line(row.line).XOf(row.end) - start)
            return false;
        x += start;
    }
    const TLineLayout& line = layouter.Line(LineAtY(point.y()));
    if (x < 0 || x >= line.Width())
        return false;
    const int pos = line.CharacterAtX(x);
    return pos >= buffer.SelStart() && pos < buffer.SelEnd();
}

void TTextView::ExtendSelection(QPointF point)
{
    const int pos = PositionAtPoint(point);
    if (gesture != Gesture::SelectWords) {
        commands.UserMoveCaret(pos, true);
        return;
    }
    // Whole words in either direction: the double-clicked word stays selected, and the selection
    // reaches to the far edge of the word under the pointer.
    const int character = CharacterAtPoint(point);
    const TTextRange word = TTextMotion(buffer).WordAt(character);
    if (character < anchorWord.start)
        commands.UserSelect(anchorWord.end, word.start < word.end ? word.start : pos);
    else
        commands.UserSelect(anchorWord.start, std::max(anchorWord.end, word.start < word.end ? word.end : pos));
}

void TTextView::mousePressEvent(QMouseEvent* event)
{
    // Every selection the mouse makes goes through SelectionChanged, which makes Up and Down forget
    // the column they aimed for.
    const QPointF point = event->position();
    HideCompletions();
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier) && swatchClick) {
        if (const TIndicator* swatch = SwatchAtPoint(point)) {
            const TIndicator clicked = *swatch; // the handler may replace the swatches
            gesture = Gesture::None;
            event->accept();
            swatchClick(clicked);
            return;
        }
    }
    if (event->button() == Qt::LeftButton) {
        const bool tripleClick = tripleClickClock.isValid()
            && tripleClickClock.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval()
            && (point - doubleClickPoint).manhattanLength() < QGuiApplication::styleHints()->startDragDistance();
        tripleClickClock.invalidate();
        const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
        if (tripleClick) {
            const int line = buffer.LineAt(PositionAtPoint(point));
            commands.UserSelect(buffer.CharAt(line), buffer.CharAt(line + 1));
            gesture = Gesture::None;
        } else if (!shift && OnSelection(point)) {
            // The selection may be about to be dragged; the caret waits for the button to come up.
            gesture = Gesture::PendingDrag;
        } else {
            commands.UserMoveCaret(PositionAtPoint(point), shift);
            gesture = Gesture::SelectCharacters;
        }
        pressPoint = point;
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
    if (gesture == Gesture::None || !(event->buttons() & Qt::LeftButton))
        return;
    dragPoint = event->position();
    if (gesture == Gesture::PendingDrag) {
        if ((dragPoint - pressPoint).manhattanLength() >= QApplication::startDragDistance()) {
            gesture = Gesture::None;
            DragSelection();
        }
        return;
    }
    ExtendSelection(dragPoint);
    if (viewport()->rect().contains(dragPoint.toPoint()))
        dragScrollTimer.stop();
    else if (!dragScrollTimer.isActive())
        dragScrollTimer.start();
}

void TTextView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        // A press on the selection that did not become a drag is a plain click.
        if (gesture == Gesture::PendingDrag)
            commands.UserMoveCaret(PositionAtPoint(pressPoint), false);
        gesture = Gesture::None;
        dragScrollTimer.stop();
    } else if (event->button() == Qt::RightButton && client) {
        const QPoint point = event->position().toPoint();
        client->ViewMenuRequest(point.x(), point.y());
    } else if (event->button() == Qt::MiddleButton) {
        // The middle button pastes the primary selection where it is released, as on any X desktop.
        commands.UserInsert(PositionAtPoint(event->position()), TPrimarySelection::Text(), false);
    }
    event->accept();
}

void TTextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF point = event->position();
    // The word under the pointer: the character whose cell holds the point, not the nearest gap.
    const int pos = CharacterAtPoint(point);
    const TTextRange word = TTextMotion(buffer).WordAt(pos);
    commands.UserSelect(word.start, word.end);
    // Held down, the button goes on selecting by words; at a line's end there is no word to keep.
    anchorWord = word.start < word.end ? word : TTextRange { buffer.Caret(), buffer.Caret() };
    gesture = Gesture::SelectWords;
    dragPoint = point;
    tripleClickClock.start();
    doubleClickPoint = point;
    event->accept();
}

void TTextView::DragSelection()
{
    const TTextRange range { buffer.SelStart(), buffer.SelEnd() };
    auto* data = new QMimeData;
    data->setText(buffer.AreaText(range.start, range.Length(), TextUnit::Chars));
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    // A drop in this view moves or copies the text itself; whatever another program does with it, the
    // text stays here, so that it is never lost to a target that only claimed to take it.
    ownDrag = range;
    if (dragRunner)
        dragRunner(*drag);
    else
        drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    ownDrag.reset();
    ShowDropCaret(-1);
    drag->deleteLater();
}

void TTextView::ShowDropCaret(int pos)
{
    if (pos == dropCaret)
        return;
    const QSize size(CaretWidth, fonts.LineHeight());
    if (dropCaret >= 0)
        viewport()->update(QRect(PointOfPosition(dropCaret), size));
    dropCaret = pos;
    if (dropCaret >= 0)
        viewport()->update(QRect(PointOfPosition(dropCaret), size));
}

bool TTextView::NearEdge(QPointF point) const
{
    const QRectF inner
        = QRectF(viewport()->rect())
              .adjusted(fonts.LineHeight(), fonts.LineHeight(), -fonts.LineHeight(), -fonts.LineHeight());
    return !inner.contains(point);
}

void TTextView::ScrollForDrop()
{
    if (!dropPoint || !NearEdge(*dropPoint)) {
        dragScrollTimer.stop();
        return;
    }
    const QRect area = viewport()->rect();
    const int margin = fonts.LineHeight();
    if (dropPoint->y() < area.top() + margin)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
    else if (dropPoint->y() > area.bottom() - margin)
        verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
    const int step = horizontalScrollBar()->singleStep();
    if (dropPoint->x() < area.left() + margin)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - step);
    else if (dropPoint->x() > area.right() - margin)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + step);
    ShowDropCaret(PositionAtPoint(*dropPoint));
}

void TTextView::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

namespace {
// The files a drag carries when it carries nothing but files of this computer.
QStringList LocalFiles(const QMimeData& data)
{
    QStringList files;
    if (!data.hasUrls())
        return files;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            return {};
        files << url.toLocalFile();
    }
    return files;
}
} // namespace

void TTextView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!ownDrag && !LocalFiles(*event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        return;
    }
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    dropPoint = event->position();
    ShowDropCaret(PositionAtPoint(*dropPoint));
    if (NearEdge(*dropPoint) && !dragScrollTimer.isActive())
        dragScrollTimer.start();
}

void TTextView::dragLeaveEvent(QDragLeaveEvent* event)
{
    dropPoint.reset();
    ShowDropCaret(-1);
    event->accept();
}

void TTextView::dropEvent(QDropEvent* event)
{
    dropPoint.reset();
    ShowDropCaret(-1);
    if (const QStringList files = LocalFiles(*event->mimeData()); !ownDrag && !files.isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
        client->ViewFilesDropped(files);
        return;
    }
    if (!event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    const int pos = PositionAtPoint(event->position());
    if (ownDrag) {
        // Within the view the text moves, or with Ctrl held is copied, as one gesture.
        const bool copy = (event->modifiers() & Qt::ControlModifier) != 0;
        commands.UserDrop(*ownDrag, pos, copy);
        event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
        event->accept();
    } else {
        commands.UserInsert(pos, event->mimeData()->text(), true);
        event->acceptProposedAction();
    }
    setFocus(Qt::MouseFocusReason);
}

void TTextView::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // Ctrl zooms, a notch a step.
        zoomRemainder += delta.y();
        const int steps = zoomRemainder / 120;
        zoomRemainder -= steps * 120;
        if (steps != 0 && client)
            client->ViewZoom(steps);
        event->accept();
        return;
    }
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
    // The list and the tip belong to typing here; another window taking the keys ends them.
    if (event->reason() != Qt::PopupFocusReason) {
        HideCompletions();
        HideCalltip();
    }
    if (!frozen)
        viewport()->update(lastCaretRect);
    if (event->reason() != Qt::PopupFocusReason && client)
        client->ViewFocusLost();
}
