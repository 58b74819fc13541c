#include "gui/DesktopGadget.h"

#include <QGuiApplication>
#include <QScreen>

TDesktopGadget::TDesktopGadget()
    : TGadget(GadgetClass::Desktop, nullptr, 0)
{
    visible = 1;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        SetShape(area.x(), area.y(), area.width(), area.height());
    }
}

// The work area: the screen without panels and task bars.
int TDesktopGadget::ClientWidth() const
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().width() : width;
}

int TDesktopGadget::ClientHeight() const
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().height() : height;
}
