// The View menu: how the text area shows the script, each choice kept between runs in the extra
// settings file.
#include "app/Application.h"

#include "gui/GadgetFactory.h"
#include "gui/KeyMap.h"
#include "gui/MenuGadget.h"
#include "gui/ScriptArea.h"
#include "settings/ExtraSettings.h"

namespace {
constexpr int Ctrl = Modifier::Ctrl;
constexpr int Shift = Modifier::Shift;
constexpr int EqualsKey = 187;
constexpr int MinusKey = 189;
constexpr int NumpadPlus = 107;
constexpr int NumpadMinus = 109;

const char* const LineNumbersKey = "view/lineNumbers";
const char* const CurrentLineKey = "view/highlightCurrentLine";
const char* const WhitespaceKey = "view/showWhitespace";
const char* const WordWrapKey = "view/wordWrap";
const char* const TabColumnsKey = "view/tabColumns";
const char* const ZoomKey = "view/zoom";

bool Flag(const TExtraSettings& extra, const char* key, bool otherwise)
{
    const QVariant value = extra.Value(key);
    return value.isValid() ? value.toBool() : otherwise;
}

// A menu item with more keys than its first, and the label it shows for them.
void MoreKeys(TGadget* item, const QString& label, std::initializer_list<std::pair<int, int>> keys)
{
    auto* menuItem = static_cast<TMenuGadget*>(item);
    for (const auto& [key, modifiers] : keys)
        menuItem->AddHotKey(key, modifiers);
    menuItem->SetKeyLabel(label);
}
} // namespace

void TApplication::CreateViewMenu(TGadget* root)
{
    mView = MakeMenuItem(QStringLiteral("View"), 0, root);
    mLineNumbers = MakeMenuItem(QStringLiteral("&Line Numbers"), M_LINE_NUMBERS, mView);
    mCurrentLine = MakeMenuItem(QStringLiteral("&Highlight Current Line"), M_CURRENT_LINE, mView);
    mWhitespace = MakeMenuItem(QStringLiteral("Show &Whitespace"), M_WHITESPACE, mView);
    mWordWrap = MakeMenuItem(QStringLiteral("Word Wra&p"), M_WORD_WRAP, mView);
    TGadget* tabs = MakeMenuItem(QStringLiteral("&Tab Width"), 0, mView);
    for (int columns : { 2, 4, 5 })
        mTabWidths.push_back(MakeMenuItem(QStringLiteral("&%1 columns").arg(columns), M_TAB_WIDTH + columns, tabs));
    MakeMenuItem(QString(), 0, mView);
    MoreKeys(MakeMenuItem(QStringLiteral("Zoom &In"), M_ZOOM_IN, mView, EqualsKey, Ctrl), QStringLiteral("Ctrl++"),
        { { EqualsKey, Ctrl | Shift }, { NumpadPlus, Ctrl } });
    MoreKeys(MakeMenuItem(QStringLiteral("Zoom &Out"), M_ZOOM_OUT, mView, MinusKey, Ctrl), QStringLiteral("Ctrl+-"),
        { { NumpadMinus, Ctrl } });
    MoreKeys(MakeMenuItem(QStringLiteral("&Reset Zoom"), M_ZOOM_RESET, mView, '0', Ctrl), QStringLiteral("Ctrl+0"),
        { { VirtualKey::Numpad0, Ctrl } });
}

void TApplication::ApplyViewOptions()
{
    TViewOptions options;
    options.lineNumbers = Flag(*Extra, LineNumbersKey, true);
    options.currentLine = Flag(*Extra, CurrentLineKey, true);
    options.whitespace = Flag(*Extra, WhitespaceKey, false);
    options.wordWrap = Flag(*Extra, WordWrapKey, false);
    const int columns = Extra->Value(TabColumnsKey).toInt();
    options.tabColumns = columns == 2 || columns == 4 || columns == 5 ? columns : 5;
    options.zoom = std::clamp(Extra->Value(ZoomKey).toInt(), TScriptArea::MinZoom, TScriptArea::MaxZoom);
    TScriptArea* area = ScriptArea(Textarea);
    area->SetViewOptions(options);
    area->OnZoom([this](int zoom) {
        Extra->Set(ZoomKey, zoom);
        ReportSettingsProblem();
    });
    ShowViewOptions();
}

void TApplication::ShowViewOptions()
{
    const TViewOptions& options = ScriptArea(Textarea)->ViewOptions();
    mLineNumbers->SetSelected(options.lineNumbers);
    mCurrentLine->SetSelected(options.currentLine);
    mWhitespace->SetSelected(options.whitespace);
    mWordWrap->SetSelected(options.wordWrap);
    for (TGadget* item : mTabWidths)
        item->SetSelected(item->style - M_TAB_WIDTH == options.tabColumns);
}

bool TApplication::HandleViewCommand(int tag)
{
    TScriptArea* area = ScriptArea(Textarea);
    TViewOptions options = area->ViewOptions();
    switch (tag) {
    case M_LINE_NUMBERS:
        options.lineNumbers = !options.lineNumbers;
        Extra->Set(LineNumbersKey, options.lineNumbers);
        break;
    case M_CURRENT_LINE:
        options.currentLine = !options.currentLine;
        Extra->Set(CurrentLineKey, options.currentLine);
        break;
    case M_WHITESPACE:
        options.whitespace = !options.whitespace;
        Extra->Set(WhitespaceKey, options.whitespace);
        break;
    case M_WORD_WRAP:
        options.wordWrap = !options.wordWrap;
        Extra->Set(WordWrapKey, options.wordWrap);
        break;
    case M_ZOOM_IN:
    case M_ZOOM_OUT:
    case M_ZOOM_RESET:
        options.zoom = tag == M_ZOOM_RESET ? 0 : options.zoom + (tag == M_ZOOM_IN ? 1 : -1);
        options.zoom = std::clamp(options.zoom, TScriptArea::MinZoom, TScriptArea::MaxZoom);
        Extra->Set(ZoomKey, options.zoom);
        break;
    default:
        if (tag != M_TAB_WIDTH + 2 && tag != M_TAB_WIDTH + 4 && tag != M_TAB_WIDTH + 5)
            return false;
        options.tabColumns = tag - M_TAB_WIDTH;
        Extra->Set(TabColumnsKey, options.tabColumns);
        break;
    }
    area->SetViewOptions(options);
    ShowViewOptions();
    ReportSettingsProblem();
    return true;
}
