#include "app/Application.h"

#include "app/StartupResources.h"
#include "draw/Pixmap.h"
#include "gui/Gadgets.h"
#include "gui/GuiFont.h"
#include "gui/SystemDriver.h"
#include "highlight/History.h"
#include "settings/WSettings.h"

TApplication* App = nullptr;

namespace {
constexpr int Ctrl = 2;

// Main window: title bar, resizable, menu bar, client coordinates, hidden at creation, centred.
constexpr int MainWindowStyle = 1 | 2 | 4 | 0x20 | 0x40 | 0x200;
constexpr int ClientWidth = 640;
constexpr int ClientHeight = 512;
constexpr int ToolbarStripHeight = 32;

const QStringList ToolbarTips = {
    "New",
    "Open",
    "Save",
    "",
    "Insert item id",
    "Create hud text",
    "Insert formatted color",
    "Create timer",
    "Create image (doesn't work yet)",
    "Create hook",
    "",
    "Run Tarvane",
    "Run Tarvane Dedicated",
    "Command-Line Arguments",
};
} // namespace

TApplication::TApplication() = default;

TApplication::~TApplication()
{
    delete History;
    delete wSettings;
    if (Window)
        Window->Free();
}

void TApplication::Init()
{
    Window = MakeWindow(QString(), 0, 0, ClientWidth, ClientHeight, nullptr, MainWindowStyle);
    Window->SetPixmap(StartupResources().icon, 8);
    Window->SetMinimumSize(389, 240);

    CreateToolbarStrip();

    // One-pixel lines frame the text area.
    TGadget* frame = MakePanel(0, 32, 640, 1, Window, 0);
    frame->SetLayout(1, 1, 1, 0);
    frame = MakePanel(0, 32, 1, 460, Window, 0);
    frame->SetLayout(1, 0, 1, 1);
    frame = MakePanel(638, 32, 1, 459, Window, 0);
    frame->SetColor(105, 105, 105);
    frame->SetLayout(0, 1, 1, 1);
    frame = MakePanel(1, 490, 638, 1, Window, 0);
    frame->SetColor(105, 105, 105);
    frame->SetLayout(1, 1, 0, 1);

    Textarea = MakeTextArea(0, 32, 640, 460, Window, 0);
    Textarea->SetTabs(4);
    Textarea->SetFont(LibraryFont(FontKind::Monospaced, 10, 0));
    Textarea->SetLayout(1, 1, 1, 1);
    Textarea->SetFilter(TextareaFilter, Textarea);

    lLines = MakeLabel(QStringLiteral("Line: 1 / 1"), 5, 494, 315, 15, Window, 0);
    lLines->SetLayout(1, 2, 0, 1);
    lChar = MakeLabel(QStringLiteral("Char: 0"), 320, 494, 315, 15, Window, 8);
    lChar->SetLayout(2, 1, 0, 1);

    CreateMenus();

    wSettings = new TWSettings();
    wSettings->Init(Window, Textarea);

    UpdateTitle();
    Window->SetShow(1);
    Textarea->Activate(0);

    History = new THistory([this](int line) { UpdateTextareaLine(line); });
    LoadKeywords();
}

void TApplication::CreateToolbarStrip()
{
    gfxToolbar = LoadPixmapUrl("incbin::incbins/toolbar.png");
    TGadget* strip = MakePanel(0, 0, Window->ClientWidth(), ToolbarStripHeight, Window, 0);
    strip->SetLayout(1, 1, 1, 0);
    strip->SetPixmap(StartupResources().gradient, 8);
    Toolbar = MakeToolbar(LoadIconStrip(gfxToolbar), 0, 0, 0, 0, strip, 0);
    SetToolbarItemTips(Toolbar, ToolbarTips);
    SetItemEnabled(Toolbar, TB_IMAGE, false);
}

void TApplication::CreateMenus()
{
    TGadget* root = Window->GetMenu();

    mFile = MakeMenuItem(QStringLiteral("File"), 0, root);
    MakeMenuItem(QStringLiteral("&New"), M_NEW, mFile, 'N', Ctrl);
    MakeMenuItem(QStringLiteral("L&oad..."), M_LOAD, mFile, 'O', Ctrl);
    mFileSave = MakeMenuItem(QStringLiteral("&Save"), M_SAVE, mFile, 'S', Ctrl);
    MakeMenuItem(QStringLiteral("Save As..."), M_SAVEAS, mFile);
    MakeMenuItem(QString(), 0, mFile);
    MakeMenuItem(QStringLiteral("Exit"), M_EXIT, mFile);

    mEdit = MakeMenuItem(QStringLiteral("Edit"), 0, root);
    MakeMenuItem(QStringLiteral("Undo"), M_UNDO, mEdit, 'Z', Ctrl);
    MakeMenuItem(QString(), 0, mEdit);
    MakeMenuItem(QStringLiteral("Cut"), M_CUT, mEdit, 'X', Ctrl);
    MakeMenuItem(QStringLiteral("&Copy"), M_COPY, mEdit, 'C', Ctrl);
    MakeMenuItem(QStringLiteral("Paste"), M_PASTE, mEdit, 'V', Ctrl);
    MakeMenuItem(QString(), 0, mEdit);
    MakeMenuItem(QStringLiteral("Select All"), M_ALL, mEdit, 'A', Ctrl);
    MakeMenuItem(QStringLiteral("Select &Line"), M_LINE, mEdit, 'L', Ctrl);
    MakeMenuItem(QString(), 0, mEdit);
    MakeMenuItem(QStringLiteral("Block Indent"), M_BIN, mEdit, 221, Ctrl);
    MakeMenuItem(QStringLiteral("Block Outdent"), M_BOUT, mEdit, 219, Ctrl);

    mTool = MakeMenuItem(QStringLiteral("Tool"), 0, root);
    MakeMenuItem(QStringLiteral("Insert Item ID"), M_ITEMID, mTool, '1', Ctrl);
    MakeMenuItem(QStringLiteral("Create HUD"), M_HUD, mTool, '2', Ctrl);
    MakeMenuItem(QStringLiteral("Insert Color"), M_COLOR, mTool, '3', Ctrl);
    MakeMenuItem(QStringLiteral("Create Timer"), M_TIME, mTool, '4', Ctrl);
    MakeMenuItem(QStringLiteral("Create Image"), M_IMG, mTool, '5', Ctrl)->SetEnabled(0);
    MakeMenuItem(QStringLiteral("Create Hook"), M_HOOK, mTool, '6', Ctrl);
    MakeMenuItem(QStringLiteral("S&ettings"), M_SETTINGS, mTool, 'E', Ctrl);

    mHelp = MakeMenuItem(QStringLiteral("Help"), 0, root);
    MakeMenuItem(QStringLiteral("About"), M_ABOUT, mHelp);

    Window->UpdateMenu();
}

void TApplication::UpdateTitle()
{
    ApplicationTitle = QStringLiteral("Tarvane:LE - ") + FileName;
    if (Modified) {
        ApplicationTitle += QLatin1Char('*');
        SetItemEnabled(Toolbar, TB_SAVE, true);
        mFileSave->SetEnabled(1);
    } else {
        SetItemEnabled(Toolbar, TB_SAVE, false);
        mFileSave->SetEnabled(0);
    }
    Window->SetText(ApplicationTitle);
}
