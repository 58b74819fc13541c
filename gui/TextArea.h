// TTextArea: the multi-line formatted text gadget in which the script is edited.
//
// The gadget owns the text (a TTextBuffer) and its view, and carries the rules that the program
// relies on: which keys reach the key filter and in what order, which changes report events, and the
// two counters that keep programmatic changes quiet. A busy counter is raised around every change
// the program makes; a lock counter is raised by LockText. Events are reported only while both are 0.
#pragma once

#include "gui/ScriptArea.h"
#include "gui/TextBuffer.h"
#include "gui/TextView.h"
#include "gui/WidgetGadget.h"

#include <QCursor>

#include <memory>

class TTextArea : public TWidgetGadget, public TScriptArea, private TTextViewClient {
public:
    // Style flags at creation. Word wrap is the view option's starting value.
    static constexpr int StyleWordWrap = 1;
    static constexpr int StyleReadOnly = 2;
    static constexpr int Capacity = TTextBuffer::Capacity;

    TTextArea(TGadget* group, int style);
    ~TTextArea() override;

    bool ReplaceText(int pos, int length, const QString& text, TextUnit units) override;
    void AddText(const QString& text) override;
    QString AreaText(int pos, int length, TextUnit units) const override;
    int AreaLen(TextUnit units) const override;
    void LockText() override;
    void UnlockText() override;
    void SetTabs(int tabs) override;
    int GetCursorPos(TextUnit units) const override;
    int GetSelectionLength(TextUnit units) const override;
    void SetStyle(int r, int g, int b, int flags, int pos, int length, TextUnit units) override;
    void SetSelection(int pos, int length, TextUnit units) override;
    int CharAt(int line) const override;
    int LineAt(int pos) const override;
    TTextParts AreaParts() const override { return buffer->Parts(); }

    void SetText(const QString& text) override;
    QString GetText() const override;
    void SetTextColor(int r, int g, int b) override;
    void SetColor(int r, int g, int b) override;
    void SetFont(const std::shared_ptr<TGuiFont>& font) override;
    // 0 focus; 1 cut; 2 copy, then focus; 3 paste, then focus. Cut and paste are the user's commands
    // and report like typing.
    void Activate(int command) override;
    // (x, y) in the client pixels that GadgetMenu reports.
    void PopupMenu(TGadget* menu, int x, int y) override;

    void SetStyles(std::span<const TRunColour> palette, std::span<const TColouredRun> runs) override;
    void SetIndicators(int layer, std::vector<TIndicator> indicators) override;
    const std::vector<TIndicator>& Indicators(int layer) const override;
    void SetLineMarkers(int layer, std::vector<TLineMarker> markers) override;
    const std::vector<TLineMarker>& LineMarkers(int layer) const override;
    void SetViewOptions(const TViewOptions& options) override;
    const TViewOptions& ViewOptions() const override { return viewOptions; }
    void OnZoom(std::function<void(int zoom)> handler) override { zoomHandler = std::move(handler); }
    void ShowCompletions(int pos, const std::vector<TPopupItem>& items, bool enterChooses) override
    {
        view->ShowCompletions(pos, items, enterChooses);
    }
    void HideCompletions() override { view->HideCompletions(); }
    bool CompletionsShown() const override { return view->CompletionsShown(); }
    void OnCompletionChosen(std::function<void(int index)> handler) override
    {
        view->OnCompletionChosen(std::move(handler));
    }
    void ShowCalltip(int pos, const QString& richText) override { view->ShowCalltip(pos, richText); }
    void HideCalltip() override { view->HideCalltip(); }
    bool CalltipShown() const override { return view->CalltipShown(); }
    void SetTooltipSource(std::function<QString(int pos)> source) override
    {
        view->SetTooltipSource(std::move(source));
    }
    void OnSwatchClick(std::function<void(const TIndicator& swatch)> handler) override
    {
        view->OnSwatchClick(std::move(handler));
    }
    int Subscribe(TChangeHandler handler) override;
    void Unsubscribe(int subscription) override;
    void BeginChanges() override;
    void EndChanges() override;

    TTextView* View() const { return view; }
    const TTextBuffer& Buffer() const { return *buffer; }

private:
    bool Quiet() const { return busy > 0 || lockCount > 0; }
    // Tells the subscribers of what changed since they last heard, unless a batch or a lock is open.
    void NotifyChange();
    bool ReadOnly() const { return (style & StyleReadOnly) != 0; }

    void ViewKeyPress(QKeyEvent* event) override;
    void ViewCommit(const QString& text) override;
    void ViewUserChange(bool textChanged) override;
    bool ViewOfferEdit(int pos, int removed, const QString& inserted) override;
    void ViewMenuRequest(int x, int y) override;
    void ViewFocusLost() override;
    void ViewFilesDropped(const QStringList& paths) override;
    void ViewZoom(int steps) override;
    // The font as set, at the zoom of the view options.
    void ApplyFont();

    // Raises the busy counter for the lifetime of a programmatic change.
    struct Busy {
        explicit Busy(TTextArea& area)
            : area(area)
        {
            ++area.busy;
        }
        ~Busy() { --area.busy; }
        TTextArea& area;
    };

    std::unique_ptr<TTextBuffer> buffer;
    TTextView* view = nullptr; // owned by the widget tree
    int busy = 0;
    int lockCount = 0;
    int lockedAnchor = 0;
    int lockedCaret = 0;
    Qt::CursorShape lockedCursor = Qt::IBeamCursor;

    std::shared_ptr<TGuiFont> baseFont;
    // Until set, the gadget shows text as it always did: no gutter, no band, no zoom.
    TViewOptions viewOptions { .lineNumbers = false, .currentLine = false, .tabColumns = 0 };
    std::function<void(int zoom)> zoomHandler;

    std::vector<std::pair<int, TChangeHandler>> subscribers;
    int lastSubscription = 0;
    int changeBatch = 0;
    // The selection as the subscribers last heard of it.
    int notifiedAnchor = 0;
    int notifiedCaret = 0;
};
