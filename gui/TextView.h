// TTextView: the text area's widget. Draws the visible lines of a TTextBuffer and turns mouse and keys into edits.
//
// The buffer holds text, formatting and selection; the view only reads them, resolving style ids to
// fonts and colours while it paints, and repaints no more than a change touched. Keys do not act
// here directly: every key press goes to the client (the gadget), which runs the key filter and then
// calls KeyDownAction and CharAction for what the filter let through. Lines never wrap.
#pragma once

#include "gui/TextBuffer.h"
#include "gui/TextFonts.h"
#include "gui/TextMotion.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QTimer>

#include <vector>

class QKeyEvent;

// What the view reports to the gadget that owns it.
class TTextViewClient {
public:
    virtual ~TTextViewClient() = default;
    // A key press, before the view does anything with it.
    virtual void ViewKeyPress(QKeyEvent* event) = 0;
    // Text an input method committed, to be typed unit by unit.
    virtual void ViewCommit(const QString& text) = 0;
    // A user action changed the text, the selection, or both.
    virtual void ViewUserChange(bool textChanged) = 0;
    // The right mouse button went up at (x, y) in client pixels.
    virtual void ViewMenuRequest(int x, int y) = 0;
    virtual void ViewFocusLost() = 0;
};

class TTextView : public QAbstractScrollArea {
public:
    TTextView(TTextBuffer& buffer, QWidget* parent);
    ~TTextView() override;

    // The client gets the keys and hears of user changes; none until set.
    void SetClient(TTextViewClient* newClient) { client = newClient; }

    void SetTextFont(const QFont& font);
    void SetBackground(const QColor& colour);
    void SetTabWidth(int pixels);

    // Programmatic changes of the buffer, made by the gadget: the view repaints what they touched.
    void TextChanged(const TTextChange& change);
    void StylesChanged(TTextRange range)
    {
        // Most styling happens off screen while a whole script is coloured: keep that test inline.
        if (frozen || range.start >= range.end)
            return;
        if (visibleRangeValid && (range.end <= visibleRange.start || range.start >= visibleRange.end))
            return;
        RepaintStyled(range);
    }
    void SelectionChanged(int oldAnchor, int oldCaret, bool scrollToCaret);
    void RepaintAll();
    // While frozen nothing is repainted on request; thawing repaints once.
    void SetFrozen(bool frozen);

    // Actions of keys the key filter let through. Each that changes something reports it to the client.
    void KeyDownAction(int virtualKey, int mods);
    void CharAction(char16_t code);
    // Clipboard commands; Cut and Paste are user edits and report like one.
    void Copy();
    bool Cut();
    // The units the paste inserted: 0 for an empty clipboard or when refused for want of room.
    int Paste();

    // Geometry, in viewport pixels: the top left of the caret cell at a position, and the position
    // nearest to a point.
    QPoint PointOfPosition(int pos);
    int PositionAtPoint(QPointF point);
    int LineHeight() const { return fonts.LineHeight(); }
    int TopLine() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // One line laid out: its units, their style ids, and the x of every position from the line start
    // (one more than units; the middle of a surrogate pair shares the x of the pair's start).
    struct LineLayout {
        int line = -1;
        int start = 0;
        // What the layout was made from; a layout that still matches is not made again.
        unsigned textVersion = 0;
        unsigned styleVersion = 0;
        unsigned generation = 0;
        std::vector<char16_t> chars;
        std::vector<TTextBuffer::StyleId> ids;
        std::vector<float> xs;
        int Size() const { return static_cast<int>(chars.size()); }
    };

    void LayoutLine(int line, LineLayout& layout);
    float XOfPosition(int pos);
    int PositionAtX(const LineLayout& layout, float x) const;
    void DrawLine(QPainter& painter, const LineLayout& layout, int y, float xOffset, const QRect& clip);

    int VisibleLines() const;
    float TextOffset() const;
    QRect CaretRect();
    void UpdateLines(int first, int last);
    void UpdateScrollBars();
    void TrackWidth(float width);
    void EnsureCaretVisible();
    void RestartCaretBlink();
    TTextRange VisibleRange();
    void RepaintStyled(TTextRange range);

    // User actions; UserAction runs one and reports what it changed.
    template <typename Action> void UserAction(Action&& action);
    void MoveCaret(int pos, bool extend);
    bool ReplaceSelection(QStringView text);
    void DeleteRange(int start, int end);
    void Backspace();
    void DeleteForward();
    void MoveVertically(int lines, bool extend);
    void DragTo(QPointF point);
    void AutoScroll();

    TTextBuffer& buffer;
    TTextMotion motion { buffer };
    TTextViewClient* client = nullptr;
    TTextFonts fonts;
    QColor background { 255, 255, 255 };
    int tabWidth = 48;
    // Changes with the font and the tab width, which every layout depends on.
    unsigned layoutGeneration = 1;
    float documentWidth = 0;
    bool scrollBarsPending = false;
    bool frozen = false;

    bool caretOn = true;
    QTimer caretTimer;
    QRect lastCaretRect;
    // The x that Up and Down keep aiming for; negative when the next vertical move takes the caret's.
    float desiredX = -1;

    bool dragging = false;
    QPointF dragPoint;
    QTimer dragScrollTimer;
    QElapsedTimer tripleClickClock;
    QPointF doubleClickPoint;

    float wheelRemainder = 0;
    TTextRange visibleRange;
    bool visibleRangeValid = false;

    LineLayout paintLayout;
    LineLayout workLayout;
    QList<quint32> glyphScratch;
    QList<QPointF> positionScratch;
};
