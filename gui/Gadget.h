// TGadget: the handle of one widget. The application manipulates every widget through these operations.
//
// The base class holds the fields every gadget shares and the layout arithmetic; each kind of gadget
// overrides the operations that apply to it. An operation a gadget does not support does nothing and
// returns 0 or an empty value, so callers never need to know which kind they hold.
#pragma once

#include "event/Event.h"
#include "resources/TextParts.h"

#include <QString>
#include <QStringView>

#include <any>
#include <functional>
#include <memory>
#include <vector>

class TGraphics;
struct TGuiFont;
struct TIconStrip;
class TPixmap;

enum class GadgetClass : int {
    Desktop = 0,
    Window = 1,
    Button = 2,
    Panel = 3,
    TextField = 4,
    TextArea = 5,
    ComboBox = 6,
    ListBox = 7,
    Toolbar = 8,
    Tabber = 9,
    TreeView = 10,
    HtmlView = 11,
    Label = 12,
    Slider = 13,
    ProgressBar = 14,
    MenuItem = 15,
    Node = 16,
    Canvas = 17,
};

// Bits of TGadget::State().
namespace GadgetState {
inline constexpr int Minimised = 1;
inline constexpr int Maximised = 2;
inline constexpr int Disabled = 4;
inline constexpr int Hidden = 8;
inline constexpr int Selected = 0x10;
inline constexpr int Indeterminate = 0x40;
} // namespace GadgetState

// Bits of an item's state (toolbar buttons).
namespace ItemState {
inline constexpr int Disabled = 4;
inline constexpr int Pressed = 0x10;
} // namespace ItemState

// Commands of TGadget::Activate.
namespace ActivateCommand {
inline constexpr int Focus = 0;
inline constexpr int Cut = 1;
inline constexpr int Copy = 2;
inline constexpr int Paste = 3;
inline constexpr int Minimise = 4;
inline constexpr int Maximise = 5;
inline constexpr int Restore = 6;
inline constexpr int Expand = 7;
inline constexpr int Collapse = 8;
inline constexpr int Select = 9;
inline constexpr int Print = 12;
inline constexpr int Redraw = 13;
} // namespace ActivateCommand

// Layout edge modes of SetLayout.
namespace EdgeMode {
inline constexpr int Centred = 0;
inline constexpr int Aligned = 1;
inline constexpr int Relative = 2;
} // namespace EdgeMode

// Units of the text area's range operations: characters (a line break counts as one) or whole lines.
enum class TextUnit : int { Chars = 1, Lines = 2 };

// The most characters a text area holds; changes that would pass it are refused whole.
inline constexpr int TextAreaCapacity = 4 * 1048576;

// A key filter gets each key event of its gadget before the gadget acts; 0 swallows the key.
using TEventFilter = int (*)(TEvent& event, void* context);

struct TGadgetItem {
    QString text;
    QString tip;
    int icon = -1;
    int flags = 0;
    std::any extra;
};

struct TLayoutRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const TLayoutRect&) const = default;
};

class TGadget {
public:
    TGadget(GadgetClass gadgetClass, TGadget* group, int style);
    virtual ~TGadget();
    TGadget(const TGadget&) = delete;
    TGadget& operator=(const TGadget&) = delete;

    TGadget* parent = nullptr;
    std::vector<TGadget*> kids; // owned, in creation order
    int xpos = 0, ypos = 0, width = 0, height = 0;
    QString name;
    std::any extra;
    int style = 0;
    int sensitivity = 0;
    int visible = 0;
    int lockl = 0, lockr = 0, lockt = 0, lockb = 0;
    int lockx = 0, locky = 0, lockw = 0, lockh = 0;
    int lockcw = 1, lockch = 1;
    // Whether SetLayout or LockLayout captured the values above; only then does DoLayout move the gadget.
    bool layoutLocked = false;
    TEventFilter eventfilter = nullptr;
    void* context = nullptr;
    std::vector<TGadgetItem> items;

    GadgetClass Class() const { return gadgetClass; }

    // Destroys the gadget and its kids, detaching it from its parent.
    void Free();

    virtual void SetFilter(TEventFilter filter, void* filterContext);

    // Geometry, in pixels relative to the parent's client area.
    virtual void SetShape(int x, int y, int w, int h);
    int GetXPos() const { return xpos; }
    int GetYPos() const { return ypos; }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    virtual int ClientWidth() const { return width; }
    virtual int ClientHeight() const { return height; }

    // Layout: stores the edge modes and captures the current shape and the parent's client size.
    void SetLayout(int left, int right, int top, int bottom);
    void LockLayout();
    // Runs DoLayout on every kid; called whenever this gadget's client size changes.
    void LayoutKids();
    // Gives the gadget the shape its captured layout asks for in the parent's present client size. A
    // gadget without a captured layout keeps its shape, and so do windows, menus, tree nodes and the
    // toolbar, which places and sizes itself.
    virtual void DoLayout();
    // The shape DoLayout gives for a parent client size, from the captured values.
    TLayoutRect LayoutFor(int parentClientWidth, int parentClientHeight) const;

    // Items of list-like gadgets (combo boxes, toolbars).
    virtual void Clear();
    virtual void InsertItem(
        int index, const QString& text, const QString& tip, int icon, std::any itemExtra, int flags);
    virtual void SetItem(int index, const QString& text, const QString& tip, int icon, std::any itemExtra, int flags);
    int ItemCount() const { return static_cast<int>(items.size()); }
    QString ItemText(int index) const;
    QString ItemTip(int index) const;
    int ItemFlags(int index) const;
    int ItemIcon(int index) const;
    std::any ItemExtra(int index) const;
    virtual void SetItemState(int index, int state);
    virtual int ItemState(int index) const;
    virtual void SelectItem(int index, int select);
    virtual int SelectedItem() const { return -1; }

    virtual void Activate(int command) { }
    virtual int State() const;
    virtual void SetText(const QString& text);
    virtual QString GetText() const { return name; }
    virtual void SetFont(const std::shared_ptr<TGuiFont>& font) { }
    virtual void SetColor(int r, int g, int b) { }
    virtual void SetTextColor(int r, int g, int b) { }
    virtual void SetTooltip(const QString& tip) { }
    virtual void SetPixmap(const std::shared_ptr<TPixmap>& pixmap, int flags) { }
    virtual void SetIconStrip(const std::shared_ptr<TIconStrip>& strip) { }
    virtual void SetShow(int show);
    virtual void SetEnabled(int enabled);
    virtual void SetSelected(int selected) { }
    virtual void SetHotKey(int key, int modifiers) { }
    virtual void SetSensitivity(int flags) { sensitivity = flags; }
    int GetSensitivity() const { return sensitivity; }

    // Windows and menus.
    virtual TGadget* GetMenu() { return nullptr; }
    virtual void UpdateMenu() { }
    // Pops up a menu made with MakeMenuItem under no parent at (x, y) in this gadget's client pixels,
    // and returns once it is closed; a chosen item raises its MenuAction as a menu bar's item does.
    virtual void PopupMenu(TGadget* menu, int x, int y) { }
    virtual void SetMinimumSize(int w, int h) { }

    // List boxes: every row replaced at once, each row's text asked of `text` only when it shows. Their
    // rows are not items: a list may hold thousands.
    virtual void SetRows(int count, std::function<QString(int row)> text) { }
    virtual int RowCount() const { return 0; }
    virtual QString RowText(int row) const { return {}; }

    // Tree views and nodes.
    virtual TGadget* RootNode() { return nullptr; }
    virtual TGadget* InsertNode(int index, const QString& text, int icon) { return nullptr; }
    virtual TGadget* SelectedNode() const { return nullptr; }

    // The text area.
    // Replaces [pos, pos + length) and keeps the selection's start and length; false when refused
    // because the result would not fit, in which case nothing changed.
    virtual bool ReplaceText(int pos, int length, const QString& text, TextUnit units) { return false; }
    virtual void AddText(const QString& text) { }
    virtual QString AreaText(int pos, int length, TextUnit units) const { return {}; }
    virtual int AreaLen(TextUnit units) const { return 0; }
    virtual void LockText() { }
    virtual void UnlockText() { }
    virtual void SetTabs(int tabs) { }
    virtual int GetCursorPos(TextUnit units) const { return 0; }
    virtual int GetSelectionLength(TextUnit units) const { return 0; }
    virtual void SetStyle(int r, int g, int b, int flags, int pos, int length, TextUnit units) { }
    virtual void SetSelection(int pos, int length, TextUnit units) { }
    virtual int CharAt(int line) const { return 0; }
    virtual int LineAt(int pos) const { return 0; }
    virtual TTextParts AreaParts() const { return {}; }

    // Canvases: the drawing context attached at creation.
    virtual std::shared_ptr<TGraphics> CanvasGraphics() const { return nullptr; }

protected:
    // Called after the base has updated the shape fields; moves the platform widget.
    virtual void ApplyShape() { }
    // Called after SetShow and SetEnabled have updated the state.
    virtual void ApplyVisibility() { }
    virtual void ApplyEnabled() { }
    virtual void ApplyItems() { }

    bool enabled = true;

private:
    GadgetClass gadgetClass;
};

// Whether a window is the one the user works in now.
bool IsActiveWindow(TGadget* window);
// Hidden: bit 8 of State(), of the gadget alone or (recursive) of it and each parent.
bool IsHidden(TGadget* gadget, bool recursive);
// -1 when State() has the indeterminate bit, 1 when checked, else 0.
int ButtonValue(TGadget* button);
// SetColor when `background`, SetTextColor otherwise.
void SetGadgetColor(TGadget* gadget, int r, int g, int b, bool background);
