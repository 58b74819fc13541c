#include "gui/TextArea.h"

#include "gui/GuiFont.h"
#include "gui/KeyMap.h"
#include "gui/SystemDriver.h"

#include <QKeyEvent>

namespace {
// Tab stops are given in units of ten pixels.
constexpr int PixelsPerTabUnit = 10;

bool IsNavigationKey(int key)
{
    return key >= VirtualKey::Prior && key <= VirtualKey::Down;
}
} // namespace

TTextArea::TTextArea(TGadget* group, int style)
    : TWidgetGadget(GadgetClass::TextArea, group, style)
    , buffer(std::make_unique<TTextBuffer>())
{
    view = new TTextView(*buffer, ParentWidgetFor(group));
    view->SetClient(this);
    SetWidget(view);
    if (ReadOnly()) {
        view->setAcceptDrops(false);
        view->viewport()->setAcceptDrops(false);
    }
    if (style & StyleWordWrap) {
        viewOptions.wordWrap = true;
        view->SetWordWrap(true);
    }
}

TTextArea::~TTextArea()
{
    // The view goes first: it reads the buffer and calls back into this gadget until it is gone.
    view->SetClient(nullptr);
    delete Widget();
}

bool TTextArea::ReplaceText(int pos, int length, const QString& text, TextUnit units)
{
    Busy busyChange(*this);
    LockText();
    TTextChange change;
    const bool replaced = buffer->ReplaceText(pos, length, text, units, &change);
    if (replaced)
        view->TextChanged(change);
    UnlockText();
    return replaced;
}

TScriptArea* ScriptArea(TGadget* gadget)
{
    return dynamic_cast<TTextArea*>(gadget);
}

void TTextArea::SetIndicators(int layer, std::vector<TIndicator> indicators)
{
    // A few marks (the brackets at the caret) repaint where they were and are; many, everything.
    constexpr std::size_t FewMarks = 16;
    const std::vector<TIndicator> old = buffer->Decorations().Indicators(layer);
    const unsigned layoutVersion = buffer->Decorations().LayoutVersion();
    // Swatches take room in their lines: the lines that lose or get one are measured again.
    std::vector<int> swatchLines;
    for (const std::vector<TIndicator>* list : { &old, static_cast<const std::vector<TIndicator>*>(&indicators) }) {
        for (const TIndicator& indicator : *list) {
            if (indicator.kind == TIndicatorKind::Swatch)
                swatchLines.push_back(buffer->LineAt(indicator.start));
        }
    }
    if (!swatchLines.empty()) {
        buffer->Decorations().SetIndicators(layer, std::move(indicators));
        if (buffer->Decorations().LayoutVersion() != layoutVersion)
            view->SwatchesChanged(std::move(swatchLines));
        view->DecorationsChanged();
        return;
    }
    const bool few = old.size() + indicators.size() <= FewMarks;
    if (few) {
        for (const TIndicator& indicator : indicators)
            view->StylesChanged({ indicator.start, indicator.end });
    }
    buffer->Decorations().SetIndicators(layer, std::move(indicators));
    if (!few) {
        view->DecorationsChanged();
        return;
    }
    for (const TIndicator& indicator : old)
        view->StylesChanged({ indicator.start, indicator.end });
}

const std::vector<TIndicator>& TTextArea::Indicators(int layer) const
{
    return buffer->Decorations().Indicators(layer);
}

void TTextArea::SetLineMarkers(int layer, std::vector<TLineMarker> markers)
{
    buffer->Decorations().SetLineMarkers(layer, std::move(markers));
    view->DecorationsChanged();
}

const std::vector<TLineMarker>& TTextArea::LineMarkers(int layer) const
{
    return buffer->Decorations().LineMarkers(layer);
}

int TTextArea::Subscribe(TChangeHandler handler)
{
    subscribers.emplace_back(++lastSubscription, std::move(handler));
    return lastSubscription;
}

void TTextArea::Unsubscribe(int subscription)
{
    std::erase_if(subscribers, [subscription](const auto& entry) { return entry.first == subscription; });
}

void TTextArea::BeginChanges()
{
    ++changeBatch;
}

void TTextArea::EndChanges()
{
    if (changeBatch > 0 && --changeBatch == 0)
        NotifyChange();
}

void TTextArea::NotifyChange()
{
    if (changeBatch > 0 || lockCount > 0)
        return;
    TAreaChange change;
    if (const std::optional<TChangedSpan> span = buffer->TakeChangedSpan()) {
        change.text = true;
        change.span = *span;
    }
    change.selection = buffer->Anchor() != notifiedAnchor || buffer->Caret() != notifiedCaret;
    if (!change.text && !change.selection)
        return;
    notifiedAnchor = buffer->Anchor();
    notifiedCaret = buffer->Caret();
    // A handler may subscribe or unsubscribe; it hears this change from a copy of the list.
    const auto handlers = subscribers;
    for (const auto& [id, handler] : handlers)
        handler(change);
}

void TTextArea::SetText(const QString& text)
{
    ReplaceText(0, -1, text, TextUnit::Chars);
}

QString TTextArea::GetText() const
{
    return buffer->AreaText(0, buffer->Length(), TextUnit::Chars);
}

void TTextArea::AddText(const QString& text)
{
    Busy busyChange(*this);
    const int oldAnchor = buffer->Anchor();
    const int oldCaret = buffer->Caret();
    TTextChange change;
    if (!buffer->AddText(text, &change))
        return;
    view->TextChanged(change);
    view->SelectionChanged(oldAnchor, oldCaret, true);
    NotifyChange();
}

QString TTextArea::AreaText(int pos, int length, TextUnit units) const
{
    return buffer->AreaText(pos, length, units);
}

int TTextArea::AreaLen(TextUnit units) const
{
    return buffer->AreaLen(units);
}

void TTextArea::LockText()
{
    if (lockCount++ > 0)
        return;
    lockedAnchor = buffer->Anchor();
    lockedCaret = buffer->Caret();
    lockedCursor = view->viewport()->cursor().shape();
    view->SetFrozen(true);
}

void TTextArea::UnlockText()
{
    if (lockCount == 0 || --lockCount > 0)
        return;
    const int oldAnchor = buffer->Anchor();
    const int oldCaret = buffer->Caret();
    buffer->Select(lockedAnchor, lockedCaret);
    if (view->viewport()->cursor().shape() != lockedCursor)
        view->viewport()->setCursor(lockedCursor);
    view->SetFrozen(false);
    view->SelectionChanged(oldAnchor, oldCaret, false);
    NotifyChange();
}

void TTextArea::SetTabs(int tabs)
{
    if (tabs > 0)
        view->SetTabWidth(tabs * PixelsPerTabUnit);
}

int TTextArea::GetCursorPos(TextUnit units) const
{
    return buffer->CursorPos(units);
}

int TTextArea::GetSelectionLength(TextUnit units) const
{
    return buffer->SelectionLength(units);
}

void TTextArea::SetStyle(int r, int g, int b, int flags, int pos, int length, TextUnit units)
{
    Busy busyChange(*this);
    view->StylesChanged(buffer->SetStyle(r, g, b, flags, pos, length, units));
}

void TTextArea::SetStyles(std::span<const TRunColour> palette, std::span<const TColouredRun> runs)
{
    Busy busyChange(*this);
    view->StylesChanged(buffer->SetStyles(palette, runs));
}

void TTextArea::SetSelection(int pos, int length, TextUnit units)
{
    Busy busyChange(*this);
    const int oldAnchor = buffer->Anchor();
    const int oldCaret = buffer->Caret();
    buffer->SetSelection(pos, length, units);
    view->SelectionChanged(oldAnchor, oldCaret, true);
    NotifyChange();
}

int TTextArea::CharAt(int line) const
{
    return buffer->CharAt(line);
}

int TTextArea::LineAt(int pos) const
{
    return buffer->LineAt(pos);
}

void TTextArea::SetTextColor(int r, int g, int b)
{
    Busy busyChange(*this);
    buffer->SetTextColor(r, g, b);
    view->RepaintAll();
}

void TTextArea::SetColor(int r, int g, int b)
{
    view->SetBackground(QColor(r & 255, g & 255, b & 255));
}

void TTextArea::SetFont(const std::shared_ptr<TGuiFont>& font)
{
    if (!font)
        return;
    baseFont = font;
    ApplyFont();
}

void TTextArea::ApplyFont()
{
    if (!baseFont)
        return;
    QFont font = QFontOf(*baseFont);
    if (viewOptions.zoom != 0 && font.pointSizeF() > 0)
        font.setPointSizeF(std::max(4.0, font.pointSizeF() + viewOptions.zoom));
    view->SetTextFont(font);
}

void TTextArea::SetViewOptions(const TViewOptions& options)
{
    TViewOptions wanted = options;
    wanted.zoom = std::clamp(wanted.zoom, MinZoom, MaxZoom);
    const TViewOptions old = viewOptions;
    viewOptions = wanted;
    if (wanted.zoom != old.zoom)
        ApplyFont();
    if (wanted.tabColumns > 0 && (wanted.tabColumns != old.tabColumns || wanted.zoom != old.zoom))
        view->SetTabColumns(wanted.tabColumns);
    view->SetLineNumbers(wanted.lineNumbers);
    view->SetCurrentLineHighlight(wanted.currentLine);
    view->SetShowWhitespace(wanted.whitespace);
    view->SetWordWrap(wanted.wordWrap);
}

void TTextArea::ViewZoom(int steps)
{
    TViewOptions options = viewOptions;
    options.zoom = std::clamp(options.zoom + steps, MinZoom, MaxZoom);
    if (options.zoom == viewOptions.zoom)
        return;
    SetViewOptions(options);
    if (zoomHandler)
        zoomHandler(viewOptions.zoom);
}

void TTextArea::Activate(int command)
{
    switch (command) {
    case ActivateCommand::Cut:
        if (!ReadOnly())
            view->Cut();
        break;
    case ActivateCommand::Copy:
        view->Copy();
        TWidgetGadget::Activate(ActivateCommand::Focus);
        break;
    case ActivateCommand::Paste:
        if (!ReadOnly())
            view->Paste();
        TWidgetGadget::Activate(ActivateCommand::Focus);
        break;
    default:
        TWidgetGadget::Activate(command);
        break;
    }
}

void TTextArea::PopupMenu(TGadget* menu, int x, int y)
{
    const QPoint screen = view->viewport()->mapToGlobal(QPoint(x, y));
    SystemDriver().PopupMenu(menu, screen.x(), screen.y());
}

void TTextArea::ViewKeyPress(QKeyEvent* event)
{
    const int key = VirtualKeyOf(event);
    const int mods = ModifierBitsOf(event->modifiers());
    const bool ctrl = (mods & Modifier::Ctrl) != 0;
    const bool shift = (mods & Modifier::Shift) != 0;

    // There are no keyboard alignment or font-size commands; their keys do nothing at all.
    if (ctrl && (key == 'L' || key == 'E' || key == 'R'))
        return;
    if (ctrl && shift && (key == VirtualKey::Comma || key == VirtualKey::Period))
        return;

    if (ReadOnly()) {
        if (IsNavigationKey(key) || (ctrl && (key == 'A' || key == 'C')))
            view->KeyDownAction(key, mods);
        return;
    }

    if (!OfferKeyToFilter(this, Event::KeyDown, key, mods))
        return;
    view->KeyDownAction(key, mods);
    // A character beyond U+FFFF is one key character: the filter records one step for both its halves.
    ForEachCodePoint(CharCodesOf(event), [&](char32_t code) {
        if (OfferKeyToFilter(this, Event::KeyChar, static_cast<int>(code), mods))
            view->CharAction(code, mods);
    });
}

void TTextArea::ViewCommit(const QString& text)
{
    if (ReadOnly())
        return;
    ForEachCodePoint(text, [&](char32_t code) {
        if (OfferKeyToFilter(this, Event::KeyChar, static_cast<int>(code), 0))
            view->CharAction(code, 0);
    });
}

void TTextArea::ViewUserChange(bool textChanged)
{
    NotifyChange();
    if (Quiet())
        return;
    EmitGadgetEvent(Event::GadgetSelect, this);
    if (textChanged)
        EmitGadgetEvent(Event::GadgetAction, this);
}

bool TTextArea::ViewOfferEdit(int pos, int removed, const QString& inserted)
{
    // The mouse does not edit what the keyboard may not.
    if (ReadOnly())
        return false;
    if (!eventfilter)
        return true;
    TEvent event = TEvent::Create(Event::TextEdit, this, pos, 0, removed, 0, inserted);
    return eventfilter(event, context) != 0;
}

void TTextArea::ViewMenuRequest(int x, int y)
{
    if (!Quiet())
        EmitGadgetEvent(Event::GadgetMenu, this, 0, x, y);
}

void TTextArea::ViewFilesDropped(const QStringList& paths)
{
    // The window takes the file, as a drop on the window itself would give it; an editor of one
    // document at a time takes the first of several.
    TGadget* window = this;
    while (window->parent && window->Class() != GadgetClass::Window)
        window = window->parent;
    if (!paths.isEmpty() && !Quiet())
        EmitGadgetEvent(Event::WindowAccept, window, 0, 0, 0, paths.first());
}

void TTextArea::ViewFocusLost()
{
    if (!Quiet())
        EmitGadgetEvent(Event::GadgetLostFocus, this);
}
