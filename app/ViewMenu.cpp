// The View menu: how the text area shows the script, each choice kept between runs in the extra
// settings file.
#include "app/Application.h"

#include "gui/GadgetFactory.h"
#include "gui/KeyMap.h"
#include "gui/MenuGadget.h"
#include "gui/ScriptArea.h"
#include "settings/ExtraSettings.h"

#include <algorithm>
#include <iterator>

namespace {
constexpr int Ctrl = Modifier::Ctrl;
constexpr int Shift = Modifier::Shift;
constexpr int EqualsKey = 187;
constexpr int MinusKey = 189;
constexpr int NumpadPlus = 107;
constexpr int NumpadMinus = 109;
constexpr int F8 = VirtualKey::F1 + 7;

// The choices that are on or off: their item, what they set, where they are kept, and their default.
struct TSwitch {
    int tag;
    TGadget* TApplication::*item;
    bool TViewOptions::*option;
    const char* key;
    bool otherwise;
};
const TSwitch Switches[] = {
    { TApplication::M_LINE_NUMBERS, &TApplication::mLineNumbers, &TViewOptions::lineNumbers, "view/lineNumbers", true },
    { TApplication::M_CURRENT_LINE, &TApplication::mCurrentLine, &TViewOptions::currentLine,
        "view/highlightCurrentLine", true },
    { TApplication::M_WHITESPACE, &TApplication::mWhitespace, &TViewOptions::whitespace, "view/showWhitespace", false },
    { TApplication::M_WORD_WRAP, &TApplication::mWordWrap, &TViewOptions::wordWrap, "view/wordWrap", false },
};
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
    MakeMenuItem(QString(), 0, mView);
    MakeMenuItem(QStringLiteral("&Problems"), M_PROBLEMS, mView, 'P', Ctrl | Shift);
    MakeMenuItem(QStringLiteral("&Next Problem"), M_NEXT_PROBLEM, mView, F8, 0);
    MakeMenuItem(QStringLiteral("Pre&vious Problem"), M_PREV_PROBLEM, mView, F8, Shift);
    MakeMenuItem(QStringLiteral("&Outline"), M_OUTLINE, mView, 'O', Ctrl | Shift);
}

void TApplication::ApplyViewOptions()
{
    TViewOptions options;
    for (const TSwitch& choice : Switches)
        options.*choice.option = Flag(*Extra, choice.key, choice.otherwise);
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
    for (const TSwitch& choice : Switches)
        (this->*choice.item)->SetSelected(options.*choice.option);
    for (TGadget* item : mTabWidths)
        item->SetSelected(item->style - M_TAB_WIDTH == options.tabColumns);
}

bool TApplication::HandleViewCommand(int tag)
{
    TScriptArea* area = ScriptArea(Textarea);
    TViewOptions options = area->ViewOptions();
    const auto choice
        = std::find_if(std::begin(Switches), std::end(Switches), [tag](const TSwitch& s) { return s.tag == tag; });
    if (choice != std::end(Switches)) {
        options.*choice->option = !(options.*choice->option);
        Extra->Set(choice->key, options.*choice->option);
    } else {
        switch (tag) {
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
    }
    area->SetViewOptions(options);
    ShowViewOptions();
    ReportSettingsProblem();
    return true;
}
