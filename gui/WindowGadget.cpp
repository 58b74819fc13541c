#include "gui/WindowGadget.h"

#include "gui/MenuGadget.h"
#include "gui/PixmapImage.h"
#include "gui/ScreenFit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>
#include <QWindow>

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
    // Holds the client area of a fixed-size window that the screen is too small for.
    QScrollArea* scroller = nullptr;

    int MenuBarHeight() const { return menuBar && !menuBar->isHidden() ? menuBar->sizeHint().height() : 0; }

    // The client area keeps the size the program laid its gadgets out for; when the window is smaller,
    // scroll bars reach the rest.
    void ShowClientScrolled(bool scrolled, QSize clientSize)
    {
        if (scrolled && !scroller) {
            scroller = new QScrollArea(this);
            scroller->setFrameShape(QFrame::NoFrame);
            scroller->setWidget(client);
            scroller->show();
        } else if (!scrolled && scroller) {
            scroller->takeWidget();
            client->setParent(this);
            client->show();
            delete scroller;
            scroller = nullptr;
        }
        if (scroller)
            client->resize(clientSize);
    }

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
        if (scroller) {
            scroller->setGeometry(0, bar, width(), std::max(0, height() - bar));
            return;
        }
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

QMargins FrameMarginsOf(const QWidget* window)
{
    const QWindow* handle = window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

// What the window manager's frame adds around a window: what the platform tells of it, or of another
// window once that was framed, else a typical title bar and border; nothing where the platform draws
// no frames.
QMargins ExpectedFrame(const QWidget* window)
{
    if (!FrameMarginsOf(window).isNull())
        return FrameMarginsOf(window);
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other->isVisible() && !FrameMarginsOf(other).isNull())
            return FrameMarginsOf(other);
    }
    static const QStringList frameless { "minimal", "eglfs", "linuxfb", "vnc" };
    if (frameless.contains(QGuiApplication::platformName()))
        return {};
    return QMargins(4, 32, 4, 4);
}

QRect AvailableArea(const QRect& window)
{
    QScreen* screen = QGuiApplication::screenAt(window.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
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
    const int bar = MenuBarHeight();
    const QSize clientSize(ClientWidth(), ClientHeight());
    QRect shown(xpos, ypos, clientSize.width(), clientSize.height() + bar);
    // A shown window lies on the screen's work area, whatever high-DPI scaling made of the program's
    // sizes: a resizable one gets smaller, a fixed one scrolls its client area.
    if (visible) {
        top->winId(); // the platform window, which may know its frame already
        shown = FitOnScreen(shown, ExpectedFrame(top), AvailableArea(shown));
        if (style & WindowStyle::Resizable) {
            shown.setSize(shown.size().expandedTo(top->minimumSize()));
            width = shown.width() + ClientInsetWidth();
            height = shown.height() - bar + ClientInsetHeight();
        }
        xpos = shown.x();
        ypos = shown.y();
    }
    top->ShowClientScrolled(shown.width() < ClientWidth() || shown.height() < ClientHeight() + bar, clientSize);
    applyingShape = true;
    top->move(shown.topLeft());
    if (style & WindowStyle::Resizable)
        top->resize(shown.size());
    else
        top->setFixedSize(shown.size());
    applyingShape = false;
    LayoutKids();
}

void TWindowGadget::ApplyVisibility()
{
    QWidget* top = Widget();
    // Fitted on the screen each time it appears.
    if (visible && top->isHidden())
        ApplyShape();
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
