#include "gui/TextView.h"

#include "event/Event.h"
#include "gui/KeyMap.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QGlyphRun>
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

// Keeps a caret visible on any background.
QColor CaretColourOn(const QColor& background)
{
    return background.lightness() > 127 ? Qt::black : Qt::white;
}
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

void TTextView::SetTextFont(const QFont& newFont)
{
    setFont(newFont);
    fonts.SetFont(newFont);
    ++layoutGeneration;
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
    tabWidth = std::max(1, pixels);
    ++layoutGeneration;
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

void TTextView::LayoutLine(int line, LineLayout& layout)
{
    // Several steps of one action ask for the caret's line: a long line is laid out once.
    if (layout.line == line && layout.textVersion == buffer.Version() && layout.styleVersion == buffer.StyleVersion()
        && layout.generation == layoutGeneration)
        return;
    layout.line = line;
    layout.textVersion = buffer.Version();
    layout.styleVersion = buffer.StyleVersion();
    layout.generation = layoutGeneration;
    if (line < 0 || line >= buffer.LineCount()) {
        layout.start = buffer.Length();
        layout.chars.clear();
        layout.ids.clear();
        layout.xs.assign(1, 0.0f);
        return;
    }
    const int start = buffer.LineStart(line);
    const int count = buffer.LineEnd(line) - start;
    layout.start = start;
    layout.chars.resize(count);
    layout.ids.resize(count);
    layout.xs.resize(count + 1);
    buffer.Copy(start, count, layout.chars.data(), layout.ids.data());

    const float tab = static_cast<float>(tabWidth);
    float x = 0;
    layout.xs[0] = 0;
    for (int i = 0; i < count;) {
        const char16_t c = layout.chars[i];
        if (c == u'\t') {
            x = (std::floor(x / tab) + 1) * tab;
            layout.xs[++i] = x;
            continue;
        }
        const int variant = buffer.StyleOf(layout.ids[i]).flags & 3;
        if (QChar::isHighSurrogate(c) && i + 1 < count && QChar::isLowSurrogate(layout.chars[i + 1])) {
            // One glyph; the position inside the pair shares the pair's start.
            layout.xs[i + 1] = x;
            x += fonts.Glyph(variant, QChar::surrogateToUcs4(c, layout.chars[i + 1])).advance;
            layout.xs[i + 2] = x;
            i += 2;
            continue;
        }
        x += fonts.Glyph(variant, c).advance;
        layout.xs[++i] = x;
    }
}

float TTextView::XOfPosition(int pos)
{
    LayoutLine(buffer.LineAt(pos), workLayout);
    return workLayout.xs[std::clamp(pos - workLayout.start, 0, workLayout.Size())];
}

int TTextView::PositionAtX(const LineLayout& layout, float x) const
{
    const int count = layout.Size();
    int i = static_cast<int>(std::lower_bound(layout.xs.begin(), layout.xs.end(), x) - layout.xs.begin());
    i = std::min(i, count);
    if (i > 0) {
        int before = i - 1;
        if (before > 0 && QChar::isHighSurrogate(layout.chars[before - 1])
            && QChar::isLowSurrogate(layout.chars[before]))
            --before;
        if (x - layout.xs[before] < layout.xs[i] - x)
            i = before;
    }
    return layout.start + i;
}

int TTextView::PositionAtPoint(QPointF point)
{
    const int row = static_cast<int>(std::floor(point.y() / fonts.LineHeight()));
    const int line = std::clamp(TopLine() + row, 0, buffer.LineCount() - 1);
    LayoutLine(line, workLayout);
    return PositionAtX(workLayout, static_cast<float>(point.x()) - TextOffset());
}

QPoint TTextView::PointOfPosition(int pos)
{
    pos = std::clamp(pos, 0, buffer.Length());
    const float x = XOfPosition(pos) + TextOffset();
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
        for (int line = first; line <= last; ++line) {
            LayoutLine(line, workLayout);
            TrackWidth(workLayout.xs.back());
        }
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
        LayoutLine(longest, workLayout);
        TrackWidth(workLayout.xs.back());
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
    desiredX = -1;
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

void TTextView::EnsureCaretVisible()
{
    const int line = buffer.LineAt(buffer.Caret());
    const int top = TopLine();
    const int visible = VisibleLines();
    if (line < top)
        verticalScrollBar()->setValue(line);
    else if (line >= top + visible)
        verticalScrollBar()->setValue(line - visible + 1);

    const float x = XOfPosition(buffer.Caret());
    TrackWidth(workLayout.xs.back());
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
    const QRect clip = event->rect();
    painter.fillRect(clip, background);

    const int height = fonts.LineHeight();
    const int top = TopLine();
    const int first = top + std::max(0, clip.top()) / height;
    const int last = std::min(buffer.LineCount() - 1, top + clip.bottom() / height);
    const float offset = TextOffset();
    float widest = documentWidth;
    for (int line = first; line <= last; ++line) {
        LayoutLine(line, paintLayout);
        widest = std::max(widest, paintLayout.xs.back());
        DrawLine(painter, paintLayout, (line - top) * height, offset, clip);
    }

    lastCaretRect = CaretRect();
    if (hasFocus() && caretOn)
        painter.fillRect(lastCaretRect, CaretColourOn(background));

    // A line wider than any seen before widens the scroll range, once painting is over.
    if (widest > documentWidth) {
        documentWidth = widest;
        if (!scrollBarsPending) {
            scrollBarsPending = true;
            QTimer::singleShot(0, this, [this] { UpdateScrollBars(); });
        }
    }
}

void TTextView::DrawLine(QPainter& painter, const LineLayout& layout, int y, float offset, const QRect& clip)
{
    const int count = layout.Size();
    const auto& chars = layout.chars;
    const auto& xs = layout.xs;
    const int height = fonts.LineHeight();
    const float baseline = static_cast<float>(y + fonts.Ascent());

    // The selected part of this line; a selected line break shows as a blank's width.
    const int lineEnd = layout.start + count;
    const int selStart = std::clamp(buffer.SelStart() - layout.start, 0, count);
    const int selEnd = std::clamp(buffer.SelEnd() - layout.start, 0, count);
    const bool breakSelected
        = buffer.SelStart() <= lineEnd && buffer.SelEnd() > lineEnd && layout.line + 1 < buffer.LineCount();
    if (selStart < selEnd || breakSelected) {
        const float from = offset + xs[selStart];
        const float to = offset + xs[selEnd] + (breakSelected ? fonts.BlankAdvance() : 0);
        painter.fillRect(QRectF(from, y, to - from, height), palette().color(QPalette::Highlight));
    }
    const QColor selectedText = palette().color(QPalette::HighlightedText);

    // Only what the clip can show, with room for glyphs that overhang their cell.
    const float left = static_cast<float>(clip.left()) - offset - 2.0f * height;
    const float right = static_cast<float>(clip.right() + 1) - offset + height;
    int i = static_cast<int>(std::upper_bound(xs.begin(), xs.end(), left) - xs.begin()) - 1;
    i = std::clamp(i, 0, count);
    if (i > 0 && i < count && QChar::isLowSurrogate(chars[i]) && QChar::isHighSurrogate(chars[i - 1]))
        --i;

    while (i < count && xs[i] <= right) {
        if (chars[i] == u'\t') {
            ++i;
            continue;
        }
        const TTextBuffer::StyleId id = layout.ids[i];
        const bool selected = i >= selStart && i < selEnd;
        const TTextStyle& style = buffer.StyleOf(id);
        const int variant = style.flags & 3;
        const QColor colour = selected ? selectedText : QColor(style.r, style.g, style.b);
        painter.setPen(colour);
        auto flush = [&] {
            if (glyphScratch.isEmpty())
                return;
            {
                QGlyphRun run;
                run.setRawFont(fonts.RawFont(variant));
                run.setGlyphIndexes(glyphScratch);
                run.setPositions(positionScratch);
                painter.drawGlyphRun(QPointF(offset, baseline), run);
            }
            glyphScratch.clear();
            positionScratch.clear();
        };

        int j = i;
        while (j < count && layout.ids[j] == id && (j >= selStart && j < selEnd) == selected && chars[j] != u'\t'
            && xs[j] <= right) {
            char32_t code = chars[j];
            int units = 1;
            if (QChar::isHighSurrogate(chars[j]) && j + 1 < count && QChar::isLowSurrogate(chars[j + 1])) {
                code = QChar::surrogateToUcs4(chars[j], chars[j + 1]);
                units = 2;
            }
            const TTextFonts::TGlyph glyph = fonts.Glyph(variant, code);
            if (!glyph.fallback) {
                glyphScratch.push_back(glyph.index);
                positionScratch.push_back(QPointF(xs[j], 0));
            } else if (code >= 32) {
                // Drawn as text so that a font that has the character stands in.
                flush();
                painter.setFont(fonts.Font(variant));
                painter.drawText(QPointF(offset + xs[j], baseline),
                    QString(reinterpret_cast<const QChar*>(chars.data() + j), units));
            }
            j += units;
        }
        flush();
        if (style.flags & (TextStyleFlag::Underline | TextStyleFlag::StrikeOut)) {
            const float width = xs[j] - xs[i];
            if (style.flags & TextStyleFlag::Underline)
                painter.fillRect(
                    QRectF(offset + xs[i], baseline + fonts.UnderlineOffset(), width, fonts.LineWidth()), colour);
            if (style.flags & TextStyleFlag::StrikeOut)
                painter.fillRect(
                    QRectF(offset + xs[i], baseline - fonts.StrikeOutOffset(), width, fonts.LineWidth()), colour);
        }
        i = j;
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
    KeyDownAction(VirtualKeyOf(event), ModifierBitsOf(event->modifiers()));
    for (QChar c : CharCodesOf(event))
        CharAction(c.unicode());
}

void TTextView::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    if (!commit.isEmpty()) {
        if (client)
            client->ViewCommit(commit);
        else {
            for (QChar c : commit)
                CharAction(c.unicode());
        }
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

template <typename Action> void TTextView::UserAction(Action&& action)
{
    const unsigned version = buffer.Version();
    const int anchor = buffer.Anchor();
    const int caret = buffer.Caret();
    action();
    const bool textChanged = buffer.Version() != version;
    if ((textChanged || anchor != buffer.Anchor() || caret != buffer.Caret()) && client)
        client->ViewUserChange(textChanged);
}

void TTextView::MoveCaret(int pos, bool extend)
{
    const int oldAnchor = buffer.Anchor();
    const int oldCaret = buffer.Caret();
    buffer.Select(extend ? oldAnchor : pos, pos);
    SelectionChanged(oldAnchor, oldCaret, true);
}

bool TTextView::ReplaceSelection(QStringView text)
{
    const int start = buffer.SelStart();
    TTextChange change;
    if (!buffer.Replace(start, buffer.SelEnd() - start, text, &change)) {
        QApplication::beep();
        return false;
    }
    buffer.Select(start + change.inserted, start + change.inserted);
    TextChanged(change);
    EnsureCaretVisible();
    RestartCaretBlink();
    return true;
}

void TTextView::DeleteRange(int start, int end)
{
    if (start >= end)
        return;
    TTextChange change;
    buffer.Replace(start, end - start, {}, &change);
    buffer.Select(start, start);
    TextChanged(change);
    EnsureCaretVisible();
    RestartCaretBlink();
}

void TTextView::Backspace()
{
    if (buffer.SelStart() != buffer.SelEnd())
        DeleteRange(buffer.SelStart(), buffer.SelEnd());
    else
        DeleteRange(motion.Previous(buffer.Caret()), buffer.Caret());
}

void TTextView::DeleteForward()
{
    if (buffer.SelStart() != buffer.SelEnd())
        DeleteRange(buffer.SelStart(), buffer.SelEnd());
    else
        DeleteRange(buffer.Caret(), motion.Next(buffer.Caret()));
}

void TTextView::MoveVertically(int lines, bool extend)
{
    const int line = buffer.LineAt(buffer.Caret());
    const int target = std::clamp(line + lines, 0, buffer.LineCount() - 1);
    if (desiredX < 0)
        desiredX = XOfPosition(buffer.Caret());
    const float keep = desiredX;
    LayoutLine(target, workLayout);
    MoveCaret(PositionAtX(workLayout, desiredX), extend);
    desiredX = keep;
}

void TTextView::KeyDownAction(int key, int mods)
{
    const bool shift = (mods & Modifier::Shift) != 0;
    const bool ctrl = (mods & Modifier::Ctrl) != 0;
    const bool alt = (mods & Modifier::Alt) != 0;
    const bool command = ctrl && !alt;
    UserAction([&] {
        const int caret = buffer.Caret();
        const bool hasSelection = buffer.SelStart() != buffer.SelEnd();
        switch (key) {
        case VirtualKey::Left:
            if (hasSelection && !shift)
                MoveCaret(buffer.SelStart(), false);
            else
                MoveCaret(ctrl ? motion.PreviousWord(caret) : motion.Previous(caret), shift);
            desiredX = -1;
            break;
        case VirtualKey::Right:
            if (hasSelection && !shift)
                MoveCaret(buffer.SelEnd(), false);
            else
                MoveCaret(ctrl ? motion.NextWord(caret) : motion.Next(caret), shift);
            desiredX = -1;
            break;
        case VirtualKey::Up:
            MoveVertically(-1, shift);
            break;
        case VirtualKey::Down:
            MoveVertically(1, shift);
            break;
        case VirtualKey::Prior:
        case VirtualKey::Next: {
            const int page = key == VirtualKey::Prior ? -VisibleLines() : VisibleLines();
            verticalScrollBar()->setValue(verticalScrollBar()->value() + page);
            MoveVertically(page, shift);
            break;
        }
        case VirtualKey::Home:
            MoveCaret(ctrl ? 0 : buffer.LineStart(buffer.LineAt(caret)), shift);
            desiredX = -1;
            break;
        case VirtualKey::End:
            MoveCaret(ctrl ? buffer.Length() : buffer.LineEnd(buffer.LineAt(caret)), shift);
            desiredX = -1;
            break;
        case VirtualKey::Delete:
            DeleteForward();
            desiredX = -1;
            break;
        case VirtualKey::Return:
            ReplaceSelection(u"\n");
            desiredX = -1;
            break;
        case VirtualKey::Back:
            // Alt+Backspace types no character, so it deletes here, as the key filter that saw its
            // key-down expects.
            if (alt && !ctrl) {
                Backspace();
                desiredX = -1;
            }
            break;
        case VirtualKey::Insert:
            if (command)
                Copy();
            break;
        case 'A':
            if (command) {
                const int oldAnchor = buffer.Anchor();
                buffer.Select(0, buffer.Length());
                SelectionChanged(oldAnchor, caret, true);
            }
            break;
        case 'C':
            if (command)
                Copy();
            break;
        case 'X':
            if (command && hasSelection) {
                Copy();
                DeleteRange(buffer.SelStart(), buffer.SelEnd());
            }
            break;
        case 'V':
            if (command)
                ReplaceSelection(QGuiApplication::clipboard()->text());
            break;
        default:
            break;
        }
    });
}

void TTextView::CharAction(char16_t code)
{
    UserAction([&] {
        if (code == 8 || code == 127) {
            // 127 is what Ctrl+Backspace types; it deletes one character as Backspace does.
            Backspace();
        } else if (code == u'\t' || (code >= 32 && code != 127)) {
            ReplaceSelection(QStringView(&code, 1));
        } else {
            return;
        }
        desiredX = -1;
    });
}

void TTextView::Copy()
{
    const int start = buffer.SelStart();
    if (buffer.SelEnd() > start)
        QGuiApplication::clipboard()->setText(buffer.AreaText(start, buffer.SelEnd() - start, TextUnit::Chars));
}

bool TTextView::Cut()
{
    if (buffer.SelStart() == buffer.SelEnd())
        return false;
    UserAction([&] {
        Copy();
        DeleteRange(buffer.SelStart(), buffer.SelEnd());
    });
    return true;
}

int TTextView::Paste()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        return 0;
    int inserted = 0;
    UserAction([&] {
        if (ReplaceSelection(text))
            inserted = TTextBuffer::NormalisedLength(text);
    });
    return inserted;
}

void TTextView::DragTo(QPointF point)
{
    UserAction([&] { MoveCaret(PositionAtPoint(point), true); });
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
    DragTo(dragPoint);
}

void TTextView::mousePressEvent(QMouseEvent* event)
{
    const QPointF point = event->position();
    if (event->button() == Qt::LeftButton) {
        const bool tripleClick = tripleClickClock.isValid()
            && tripleClickClock.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval()
            && (point - doubleClickPoint).manhattanLength() < QGuiApplication::styleHints()->startDragDistance();
        tripleClickClock.invalidate();
        desiredX = -1;
        UserAction([&] {
            if (tripleClick) {
                const int line = buffer.LineAt(PositionAtPoint(point));
                const int oldAnchor = buffer.Anchor();
                const int oldCaret = buffer.Caret();
                buffer.Select(buffer.CharAt(line), buffer.CharAt(line + 1));
                SelectionChanged(oldAnchor, oldCaret, true);
                return;
            }
            MoveCaret(PositionAtPoint(point), (event->modifiers() & Qt::ShiftModifier) != 0);
        });
        dragging = !tripleClick;
        dragPoint = point;
    } else if (event->button() == Qt::RightButton) {
        // With nothing selected the right button places the caret first, as a left click would.
        if (buffer.SelStart() == buffer.SelEnd()) {
            desiredX = -1;
            UserAction([&] { MoveCaret(PositionAtPoint(point), false); });
        }
    }
    event->accept();
}

void TTextView::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging || !(event->buttons() & Qt::LeftButton))
        return;
    dragPoint = event->position();
    DragTo(dragPoint);
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
    const int row = static_cast<int>(std::floor(point.y() / fonts.LineHeight()));
    LayoutLine(std::clamp(TopLine() + row, 0, buffer.LineCount() - 1), workLayout);
    const float x = static_cast<float>(point.x()) - TextOffset();
    int index
        = static_cast<int>(std::upper_bound(workLayout.xs.begin(), workLayout.xs.end(), x) - workLayout.xs.begin()) - 1;
    index = std::clamp(index, 0, std::max(0, workLayout.Size() - 1));
    const TTextRange word = motion.WordAt(workLayout.start + index);
    UserAction([&] {
        const int oldAnchor = buffer.Anchor();
        const int oldCaret = buffer.Caret();
        buffer.Select(word.start, word.end);
        SelectionChanged(oldAnchor, oldCaret, true);
    });
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
