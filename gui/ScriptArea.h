// TScriptArea: what the editor's code sees of the script's text area beyond the gadget operations:
// the decorations on its text and one notice after every change of its text or selection.
//
// The notice is the editor's own: the GadgetAction and GadgetSelect events stay as they are, raised for
// the user's changes only. Subscribers hear of every change, the program's too (undo, the tools'
// insertions, a load), once, after it is made.
#pragma once

#include "gui/PopupItem.h"
#include "gui/TextBuffer.h"
#include "gui/TextDecorations.h"

#include <functional>
#include <span>
#include <vector>

class TGadget;

struct TAreaChange {
    bool text = false; // the text changed: `span` says where
    bool selection = false; // the caret or the selection moved
    TChangedSpan span;
};

// The layers of decorations; each owner replaces only its own.
namespace DecorationLayer {
inline constexpr int Brackets = 1;
inline constexpr int Diagnostics = 2;
inline constexpr int Swatches = 3;
} // namespace DecorationLayer

// How the text area shows the script.
struct TViewOptions {
    bool lineNumbers = true;
    bool currentLine = true;
    bool whitespace = false;
    bool wordWrap = false;
    int tabColumns = 5;
    // Points added to the font's size: Zoom In and Out step it by one.
    int zoom = 0;

    bool operator==(const TViewOptions&) const = default;
};

class TScriptArea {
public:
    using TChangeHandler = std::function<void(const TAreaChange& change)>;

    virtual ~TScriptArea() = default;

    // SetStyle for every run in turn in its colour from `palette`, as one change: the colouring sets the
    // parts of many lines at once rather than paying a gadget call and a repaint check for each.
    virtual void SetStyles(std::span<const TRunColour> palette, std::span<const TColouredRun> runs) = 0;

    virtual void SetIndicators(int layer, std::vector<TIndicator> indicators) = 0;
    virtual const std::vector<TIndicator>& Indicators(int layer) const = 0;
    virtual void SetLineMarkers(int layer, std::vector<TLineMarker> markers) = 0;
    virtual const std::vector<TLineMarker>& LineMarkers(int layer) const = 0;

    virtual void SetViewOptions(const TViewOptions& options) = 0;
    virtual const TViewOptions& ViewOptions() const = 0;
    // Zoom steps the text area limits to what its font can take; Ctrl and the wheel step it too, and
    // then `handler` hears the new zoom.
    static constexpr int MinZoom = -6;
    static constexpr int MaxZoom = 30;
    virtual void OnZoom(std::function<void(int zoom)> handler) = 0;
    // The completion list: see TTextView. Its keys (Up, Down, Page Up, Page Down, Tab, Escape, and Enter
    // in a list the user asked for) are its own while it shows.
    virtual void ShowCompletions(int pos, const std::vector<TPopupItem>& items, bool enterChooses) = 0;
    virtual void HideCompletions() = 0;
    virtual bool CompletionsShown() const = 0;
    virtual void OnCompletionChosen(std::function<void(int index)> handler) = 0;
    virtual void ShowCalltip(int pos, const QString& richText) = 0;
    virtual void HideCalltip() = 0;
    virtual bool CalltipShown() const = 0;
    virtual void SetTooltipSource(std::function<QString(int pos)> source) = 0;
    // Ctrl and a click on a swatch (or the code it stands before) calls the handler with it.
    virtual void OnSwatchClick(std::function<void(const TIndicator& swatch)> handler) = 0;

    // The handler hears of every change from now on, until unsubscribed by the number returned.
    virtual int Subscribe(TChangeHandler handler) = 0;
    virtual void Unsubscribe(int subscription) = 0;
    // Changes made between the two are told once, as one, when the outermost batch ends: a command of
    // many edits (a block indent, Replace All) is one change to its subscribers.
    virtual void BeginChanges() = 0;
    virtual void EndChanges() = 0;
};

// The text area's script interface; null for any other gadget.
TScriptArea* ScriptArea(TGadget* gadget);

// Holds a batch of changes open for its lifetime.
class TChangeBatch {
public:
    explicit TChangeBatch(TScriptArea* area)
        : area(area)
    {
        if (area)
            area->BeginChanges();
    }
    ~TChangeBatch()
    {
        if (area)
            area->EndChanges();
    }
    TChangeBatch(const TChangeBatch&) = delete;
    TChangeBatch& operator=(const TChangeBatch&) = delete;

private:
    TScriptArea* area;
};
