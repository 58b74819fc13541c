// TTextView: the text area's widget. Draws the visible lines of a TTextBuffer and turns mouse and keys into edits.
//
// The buffer holds text, formatting and selection; the view only reads them, resolving style ids to
// fonts and colours while it paints, and repaints no more than a change touched. Keys do not act
// here directly: every key press goes to the client (the gadget), which runs the key filter and then
// calls KeyDownAction and CharAction for what the filter let through. On request long lines wrap at
// the viewport's edge into rows (TTextRows); the vertical scroll range then counts rows, not lines.
//
// The view keeps the widget's own business: events, scrolling, the caret's blink, mouse gestures (drag
// to select, by characters or, after a double click, by words; drag and drop of text; middle-click
// paste of the primary selection). It lays lines out through a TTextLayouter, draws them through a
// TTextPainter, and leaves what keys, clipboard commands and drops do to a TTextCommands, for which it
// is the host.
#pragma once

#include "gui/CompletionPopup.h"
#include "gui/LineWidths.h"
#include "gui/PrimarySelection.h"
#include "gui/TextBuffer.h"
#include "gui/TextCommands.h"
#include "gui/TextFonts.h"
#include "gui/TextLayouter.h"
#include "gui/TextPainter.h"
#include "gui/TextRows.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

class QDrag;
class TTextGutter;
class QKeyEvent;

// What the view reports to the gadget that owns it.
class TTextViewClient {
public:
    virtual ~TTextViewClient() = default;
    // A key press, before the view does anything with it.
    virtual void ViewKeyPress(QKeyEvent* event) = 0;
    // Text an input method committed, to be typed character by character.
    virtual void ViewCommit(const QString& text) = 0;
    // A user edit that no key describes whole is about to replace `removed` characters at `pos` by
    // `inserted`; false cancels it.
    virtual bool ViewOfferEdit(int pos, int removed, const QString& inserted) = 0;
    // A user action changed the text, the selection, or both.
    virtual void ViewUserChange(bool textChanged) = 0;
    // The right mouse button went up at (x, y) in client pixels.
    virtual void ViewMenuRequest(int x, int y) = 0;
    virtual void ViewFocusLost() = 0;
    // Files of this computer were dropped on the view (a file manager's drag): they are to be opened,
    // not their names inserted.
    virtual void ViewFilesDropped(const QStringList& paths) = 0;
    // Ctrl and the wheel: the text is to grow (positive) or shrink by that many steps.
    virtual void ViewZoom(int steps) = 0;
};

class TTextView : public QAbstractScrollArea, private TTextCommandsHost {
public:
    TTextView(TTextBuffer& buffer, QWidget* parent);
    ~TTextView() override;

    // The client gets the keys and hears of user changes; none until set.
    void SetClient(TTextViewClient* newClient) { client = newClient; }

    void SetTextFont(const QFont& font);
    void SetBackground(const QColor& colour);
    void SetTabWidth(int pixels);
    // Tab stops this many columns apart, whatever the font's size.
    void SetTabColumns(int columns);

    // The habits of a code editor, each off until asked for: line numbers in a gutter with the line
    // markers, a band behind the caret's line, and tabs and trailing blanks made visible.
    void SetLineNumbers(bool shown);
    bool LineNumbers() const { return gutter != nullptr; }
    void SetCurrentLineHighlight(bool shown);
    void SetShowWhitespace(bool shown);
    // Long lines wrap at the viewport's edge, and there is no horizontal scroll bar.
    void SetWordWrap(bool wrap);
    bool WordWrap() const { return rows.On(); }
    // The rows of the scroll range: lines, unless they wrap.
    int RowCount() const { return rows.Count(); }

    // What the gutter asks of the view.
    int LineCount() const { return buffer.LineCount(); }
    int CaretLine() const { return buffer.LineAt(buffer.Caret()); }
    const TTextDecorations& Decorations() const { return buffer.Decorations(); }
    QColor GutterBackground() const;
    int LineAtPoint(qreal y) const { return LineAtY(y); }
    // The line on the row of the viewport `row` rows below its top, and the row's index in it; the
    // line is -1 below the text's end.
    TRowPlace ShownRow(int row) const;
    // Selects whole lines from one to the other, in either order, as the user's doing.
    void SelectLines(int from, int to);
    // The decorations changed: repaint them, the gutter's markers too.
    void DecorationsChanged();
    // Swatches came or went on these lines (in any order, repeats allowed): their widths change.
    void SwatchesChanged(std::vector<int> lines);

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
    void KeyDownAction(int virtualKey, int mods) { commands.KeyDownAction(virtualKey, mods); }
    void CharAction(char32_t code, int mods) { commands.CharAction(code, mods); }
    // Clipboard commands; Cut and Paste are user edits and report like one. Each says whether it changed
    // anything: Paste does not for an empty clipboard or when refused for want of room.
    void Copy() { commands.Copy(); }
    bool Cut() { return commands.Cut(); }
    bool Paste() { return commands.Paste(); }

    // Geometry, in viewport pixels: the top left of the caret cell at a position, and the position
    // nearest to a point.
    QPoint PointOfPosition(int pos);
    int PositionAtPoint(QPointF point);
    int LineHeight() const { return fonts.LineHeight(); }
    // What the indicators on the character under a point say, one per line; empty when none says anything.
    QString TooltipAt(QPointF point);
    // The swatch drawn at a point, or over whose code the point lies; null when none is.
    const TIndicator* SwatchAtPoint(QPointF point);
    // The completion list under the caret, its left edge at the position `pos`; `enterChooses` for a list
    // the user asked for (Enter then inserts, as Tab does). The handler hears the chosen item's index.
    void ShowCompletions(int pos, const std::vector<TPopupItem>& items, bool enterChooses);
    void HideCompletions();
    bool CompletionsShown() const;
    int CurrentCompletion() const;
    void OnCompletionChosen(std::function<void(int index)> handler);
    // A line of rich text above the line of `pos`, starting at its x.
    void ShowCalltip(int pos, const QString& text);
    void HideCalltip();
    bool CalltipShown() const;
    QString CalltipText() const;
    // More to say under the pointer than the indicators do: the text for a position, or empty.
    void SetTooltipSource(std::function<QString(int pos)> source) { tooltipSource = std::move(source); }
    // Ctrl and a click on a swatch or its code call this instead of placing the caret.
    void OnSwatchClick(std::function<void(const TIndicator& swatch)> handler) { swatchClick = std::move(handler); }
    int TopLine() const;

    // Runs a drag of selected text to its end and returns what the target did with it: QDrag::exec
    // unless replaced. Tests replace it to deliver drops while the drag is under way, as the platform
    // does.
    using TDragRunner = std::function<Qt::DropAction(QDrag& drag)>;
    void SetDragRunner(TDragRunner runner) { dragRunner = std::move(runner); }

protected:
    bool event(QEvent* event) override;
    // The pointer resting on marked text shows what its marks say.
    bool viewportEvent(QEvent* event) override;
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
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // What the commands ask of the view: repaint and scroll after them, and tell the client.
    void SelectionMoved(int oldAnchor, int oldCaret) override { SelectionChanged(oldAnchor, oldCaret, true); }
    void TextEdited(const TTextChange& change) override;
    int PageLines() const override { return VisibleLines(); }
    void ScrollLines(int lines) override;
    void UserChanged(bool textChanged) override;
    bool OfferEdit(int pos, int removed, const QString& inserted) override;

    int VisibleLines() const;
    // The scroll bar's value: the row at the top (the line, unless lines wrap).
    int TopRow() const { return verticalScrollBar()->value(); }
    float TextOffset() const;
    float WrapWidth();
    // Wraps the lines anew at the viewport's width, keeping the top line at the top.
    void Rewrap();
    TTextRow RowAtY(qreal y);
    QRect CaretRect();
    int LineAtY(qreal y) const;
    void UpdateLines(int first, int last);
    void UpdateScrollBars();
    void MeasureAllLines();
    void EnsureCaretVisible();
    void RestartCaretBlink();
    TTextRange VisibleRange();
    void RepaintStyled(TTextRange range);
    void AutoScroll();

    // What the left button is doing while it is held.
    enum class Gesture {
        None,
        SelectCharacters,
        SelectWords, // after a double click
        PendingDrag, // pressed on the selection: a drag if the pointer moves far enough, else a click
    };
    bool OnSelection(QPointF point);
    int CharacterAtPoint(QPointF point);
    void ExtendSelection(QPointF point);
    void DragSelection();
    void ShowDropCaret(int pos);
    // While text is dragged over the view, a pointer resting near an edge scrolls that way, so that a
    // drop can reach text out of sight; true when the point is that near.
    bool NearEdge(QPointF point) const;
    void ScrollForDrop();

    TTextBuffer& buffer;
    TTextViewClient* client = nullptr;
    TTextFonts fonts;
    TTextLayouter layouter { buffer, fonts };
    TLineWidths lineWidths;
    TTextRows rows { buffer, layouter, lineWidths };
    TTextPainter textPainter { buffer, fonts, layouter, lineWidths, rows };
    TTextCommands commands { buffer, layouter, *this, &rows };
    QColor background { 255, 255, 255 };
    // The widest line's width as the scroll range last took it.
    float documentWidth = 0;
    // The rows of the text as the scroll range last took them.
    int shownRows = 0;
    bool scrollBarsPending = false;
    bool frozen = false;

    bool caretOn = true;
    QTimer caretTimer;
    QRect lastCaretRect;

    Gesture gesture = Gesture::None;
    QPointF pressPoint;
    QPointF dragPoint;
    // The word a double click selected; dragging on keeps it selected and adds whole words.
    TTextRange anchorWord;
    QTimer dragScrollTimer;
    QElapsedTimer tripleClickClock;
    QPointF doubleClickPoint;

    TPrimarySelection primary { buffer };
    TDragRunner dragRunner;
    // The range this view's own drag carries, while it runs.
    std::optional<TTextRange> ownDrag;
    // Where a drop would insert, shown as a second caret while text is dragged over the view.
    int dropCaret = -1;
    // Where text dragged over the view points, while it is over the view.
    std::optional<QPointF> dropPoint;

    // The gutter is shown with the line numbers; its width follows the number of lines.
    void PlaceGutter();
    // When the caret went to another line, its band and its number follow.
    void FollowCaretLine();

    TTextGutter* gutter = nullptr;
    int gutterWidth = 0;
    bool currentLineHighlight = false;
    bool showWhitespace = false;
    int tabColumns = 0; // 0: tab stops in pixels as SetTabWidth gave them
    int shownCaretLine = 0;

    float wheelRemainder = 0;
    int zoomRemainder = 0;
    TTextRange visibleRange;
    bool visibleRangeValid = false;
    std::function<void(const TIndicator& swatch)> swatchClick;
    TCompletionPopup* completions = nullptr;
    std::function<void(int index)> completionChosen;
    TCalltip* calltip = nullptr;
    std::function<QString(int pos)> tooltipSource;
};
