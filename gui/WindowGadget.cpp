#include "gui/WindowGadget.h"

#include "gui/MenuGadget.h"
#include "gui/PixmapImage.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMenuBar>
#include <QWidget>

#include <algorithm>

namespace {
// The top-level widget: a menu bar (when the window has one) above the client area, placed by hand so
// that the client area has exactly the size the program asked for.
class WindowWidget : public QWidget {
public:
    WindowWidget(TWindowGadget* gadget, QWidget* parent, Qt::WindowFlags flags)
        : QWidget(parent, flags)
        , gadget(gadget)
    {
    }

    QWidget* client = nullptr;
    QMenuBar* menuBar = nullptr;

    int MenuBarHeight() const { return menuBar && !menuBar->isHidden() ? menuBar->sizeHint().height() : 0; }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        // The program decides what closing means: it hides dialogs and ends on the main window.
        event->ignore();
        EmitGadgetEvent(Event::WindowClose, gadget);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        // Escape leaves a tool window as its close box does; what the focused gadget did not take
        // arrives here.
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier
            && (gadget->style & WindowStyle::ToolWindow)) {
            EmitGadgetEvent(Event::WindowClose, gadget);
            return;
        }
        QWidget::keyPressEvent(event);
    }

    void resizeEvent(QResizeEvent* event) override
    {
        const int bar = MenuBarHeight();
        if (menuBar)
            menuBar->setGeometry(0, 0, width(), bar);
        client->setGeometry(0, bar, width(), std::max(0, height() - bar));
        gadget->ClientResized(width(), std::max(0, height() - bar), event->spontaneous());
    }

    void moveEvent(QMoveEvent* event) override { gadget->Moved(x(), y(), event->spontaneous()); }

    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::ActivationChange && isActiveWindow())
            EmitGadgetEvent(Event::WindowActivate, gadget);
        QWidget::changeEvent(event);
    }

private:
    TWindowGadget* gadget;
};

WindowWidget* TopOf(const TWindowGadget* gadget)
{
    return static_cast<WindowWidget*>(gadget->Widget());
}

Qt::WindowFlags FlagsFor(int style)
{
    Qt::WindowFlags flags = (style & WindowStyle::ToolWindow) ? Qt::Tool : Qt::Window;
    if (!(style & WindowStyle::TitleBar))
        flags |= Qt::FramelessWindowHint;
    else if (!(style & WindowStyle::Resizable))
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    return flags;
}
} // namespace

TWindowGadget::TWindowGadget(TGadget* group, int style)
    : TWidgetGadget(GadgetClass::Window, group, style)
{
    QWidget* owner = group && group->Class() == GadgetClass::Window ? TWidgetGadget::From(group)->Widget() : nullptr;
    auto* top = new WindowWidget(this, owner, FlagsFor(style));
    top->client = new QWidget(top);
    client = top->client;
    if (style & WindowStyle::MenuBar) {
        top->menuBar = new QMenuBar(top);
        top->menuBar->setNativeMenuBar(false);
        top->menuBar->hide();
    }
    SetWidget(top);
}

TWindowGadget::~TWindowGadget()
{
    delete rootMenu;
}

int TWindowGadget::MenuBarHeight() const
{
    return TopOf(this)->MenuBarHeight();
}

int TWindowGadget::ClientInsetWidth() const
{
    return (style & WindowStyle::ClientCoords) ? 0 : WindowFrameWidth;
}

int TWindowGadget::ClientInsetHeight() const
{
    return (style & WindowStyle::ClientCoords) ? 0 : WindowFrameHeight;
}

void TWindowGadget::ApplyShape()
{
    WindowWidget* top = TopOf(this);
    const int clientW = ClientWidth();
    const int clientH = ClientHeight();
    applyingShape = true;
    top->move(xpos, ypos);
    const int totalH = clientH + MenuBarHeight();
    if (style & WindowStyle::Resizable)
        top->resize(clientW, totalH);
    else
        top->setFixedSize(clientW, totalH);
    applyingShape = false;
    LayoutKids();
}

void TWindowGadget::ApplyVisibility()
{
    QWidget* top = Widget();
    top->setVisible(visible != 0);
}

void TWindowGadget::ClientResized(int clientWidth, int clientHeight, bool byUser)
{
    if (applyingShape)
        return;
    const int newWidth = clientWidth + ClientInsetWidth();
    const int newHeight = clientHeight + ClientInsetHeight();
    if (newWidth == width && newHeight == height)
        return;
    width = newWidth;
    height = newHeight;
    LayoutKids();
    if (byUser)
        EmitGadgetEvent(Event::WindowSize, this, 0, clientWidth, clientHeight);
}

void TWindowGadget::Moved(int x, int y, bool byUser)
{
    if (applyingShape || (x == xpos && y == ypos))
        return;
    xpos = x;
    ypos = y;
    if (byUser)
        EmitGadgetEvent(Event::WindowMove, this, 0, x, y);
}

void TWindowGadget::SetText(const QString& text)
{
    TGadget::SetText(text);
    Widget()->setWindowTitle(text);
}

int TWindowGadget::State() const
{
    int state = TGadget::State();
    if (Widget()->isMinimized())
        state |= GadgetState::Minimised;
    if (Widget()->isMaximized())
        state |= GadgetState::Maximised;
    return state;
}

void TWindowGadget::Activate(int command)
{
    QWidget* top = Widget();
    switch (command) {
    case ActivateCommand::Focus:
        top->raise();
        top->activateWindow();
        break;
    case ActivateCommand::Minimise:
        top->showMinimized();
        break;
    case ActivateCommand::Maximise:
        top->showMaximized();
        break;
    case ActivateCommand::Restore:
        top->showNormal();
        break;
    default:
        break;
    }
}

void TWindowGadget::SetPixmap(const std::shared_ptr<TPixmap>& pixmap, int flags)
{
    if (pixmap && (flags & PixmapFlag::WindowIcon))
        Widget()->setWindowIcon(QIcon(QPixmap::fromImage(ImageOfPixmap(*pixmap))));
}

void TWindowGadget::SetMinimumSize(int w, int h)
{
    Widget()->setMinimumSize(w, h);
}

TGadget* TWindowGadget::GetMenu()
{
    if (!rootMenu && TopOf(this)->menuBar)
        rootMenu = new TMenuGadget(this, TopOf(this)->menuBar);
    return rootMenu;
}

void TWindowGadget::UpdateMenu()
{
    WindowWidget* top = TopOf(this);
    if (!top->menuBar)
        return;
    top->menuBar->show();
    // The client area keeps its size; the window grows by the menu bar.
    ApplyShape();
}

bool IsActiveWindow(TGadget* window)
{
    auto* gadget = dynamic_cast<TWindowGadget*>(window);
    return gadget && TopOf(gadget)->isActiveWindow();
}
