#include "gui/GuiDriver.h"

#include "event/EventQueue.h"
#include "gui/ButtonGadget.h"
#include "gui/CanvasGadget.h"
#include "gui/ComboBoxGadget.h"
#include "gui/DesktopGadget.h"
#include "gui/GuiFont.h"
#include "gui/HotKeys.h"
#include "gui/LabelGadget.h"
#include "gui/ListBoxGadget.h"
#include "gui/MenuGadget.h"
#include "gui/PanelGadget.h"
#include "gui/TextArea.h"
#include "gui/TextFieldGadget.h"
#include "gui/ToolbarGadget.h"
#include "gui/TreeViewGadget.h"
#include "gui/WindowGadget.h"

#include <QApplication>
#include <QFont>
#include <QSessionManager>
#include <QStyleFactory>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {
TDesktopGadget* desktop = nullptr;

TGadget* Construct(GadgetClass gadgetClass, const QString& text, TGadget* group, int style)
{
    switch (gadgetClass) {
    case GadgetClass::Window:
        return new TWindowGadget(group, style);
    case GadgetClass::Button:
        return new TButtonGadget(group, style);
    case GadgetClass::Panel:
        return new TPanelGadget(group, style);
    case GadgetClass::TextField:
        return new TTextFieldGadget(group, style);
    case GadgetClass::TextArea:
        return new TTextArea(group, style);
    case GadgetClass::ComboBox:
        return new TComboBoxGadget(group, style);
    case GadgetClass::Toolbar:
        return new TToolbarGadget(group, style);
    case GadgetClass::TreeView:
        return new TTreeViewGadget(group, style);
    case GadgetClass::ListBox:
        return new TListBoxGadget(group, style);
    case GadgetClass::Label:
        return new TLabelGadget(group, style);
    case GadgetClass::Canvas:
        return new TCanvasGadget(group, style);
    case GadgetClass::MenuItem:
        if (!group)
            return new TMenuGadget(text);
        return group->Class() == GadgetClass::MenuItem ? new TMenuGadget(group, text, style) : nullptr;
    default:
        return nullptr;
    }
}
} // namespace

void StartGui(int& argc, char** argv)
{
    if (GuiStarted())
        return;
    // Qt takes "-style" (or "--style", "-style=...") off the list; a style asked for there wins.
    const bool styleAsked = std::any_of(argv, argv + argc, [](const char* argument) {
        const std::string_view option(argument + (std::strncmp(argument, "--", 2) == 0 ? 1 : 0));
        return option == "-style" || option.starts_with("-style=");
    });
    new QApplication(argc, argv); // lives as long as the process
    QApplication::setQuitOnLastWindowClosed(false);
    if (!styleAsked)
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // One GUI font, sized so that the program's fixed geometry shows every label, field and button whole.
    QApplication::setFont(QFontOf(*LibraryFont(FontKind::Gui, 0, 0)));
    InstallHotKeyFilter();
    EventQueue.Listen();
    EventQueue.SetPlatformPump([] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
    desktop = new TDesktopGadget();
}

bool GuiStarted()
{
    return desktop != nullptr;
}

TGadget* Desktop()
{
    return desktop;
}

TGadget* CreateGadget(
    GadgetClass gadgetClass, const QString& text, int x, int y, int w, int h, TGadget* group, int style)
{
    if (gadgetClass == GadgetClass::Window && !group)
        group = desktop;
    TGadget* gadget = Construct(gadgetClass, text, group, style);
    if (!gadget)
        return nullptr;
    if (group)
        group->kids.push_back(gadget);
    if (gadgetClass == GadgetClass::MenuItem)
        return gadget;
    // Siblings stack in creation order, the first on top: the main window's frame lines lie over the
    // edges of the text area created after them.
    if (gadgetClass != GadgetClass::Window)
        TWidgetGadget::From(gadget)->Widget()->lower();
    gadget->SetText(text);
    if (gadgetClass != GadgetClass::Toolbar)
        gadget->SetShape(x, y, w, h);
    if (group && (group->State() & GadgetState::Disabled))
        gadget->SetEnabled(0);
    if (gadgetClass != GadgetClass::Window || !(style & WindowStyle::Hidden))
        gadget->SetShow(1);
    return gadget;
}

TGadget* ActiveGadget()
{
    QWidget* focus = QApplication::focusWidget();
    for (QWidget* widget = focus; widget; widget = widget->parentWidget()) {
        if (TGadget* gadget = TWidgetGadget::OfWidget(widget))
            return gadget;
    }
    return nullptr;
}

void ProcessPlatformInput()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void OnSessionEnd(std::function<void()> keep)
{
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, [keep = std::move(keep)](QSessionManager&) { keep(); });
}
