#include "gui/PanelGadget.h"

#include "gui/PixmapImage.h"

#include <QFrame>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {
// The client area: paints the background colour or tiled image, and reports the mouse when active.
class PanelSurface : public QFrame {
public:
    PanelSurface(TGadget* gadget, QWidget* parent)
        : QFrame(parent)
        , gadget(gadget)
    {
    }

    QColor background;
    QImage tile;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        if (!tile.isNull())
            painter.drawTiledPixmap(rect(), QPixmap::fromImage(tile));
        else if (background.isValid())
            painter.fillRect(rect(), background);
        painter.end();
        QFrame::paintEvent(event);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (!Active())
            return QFrame::mousePressEvent(event);
        EmitGadgetEvent(
            Event::MouseDown, gadget, MouseButtonNumber(event->button()), event->position().x(), event->position().y());
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (!Active())
            return QFrame::mouseReleaseEvent(event);
        EmitGadgetEvent(
            Event::MouseUp, gadget, MouseButtonNumber(event->button()), event->position().x(), event->position().y());
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!Active())
            return QFrame::mouseMoveEvent(event);
        EmitGadgetEvent(Event::MouseMove, gadget, 0, event->position().x(), event->position().y());
    }

    void wheelEvent(QWheelEvent* event) override
    {
        if (!Active())
            return QFrame::wheelEvent(event);
        EmitGadgetEvent(
            Event::MouseWheel, gadget, event->angleDelta().y() / 120, event->position().x(), event->position().y());
    }

private:
    bool Active() const { return gadget->style & PanelStyle::Active; }
    TGadget* gadget;
};
} // namespace

TPanelGadget::TPanelGadget(TGadget* group, int style)
    : TWidgetGadget(GadgetClass::Panel, group, style)
{
    QWidget* parentWidget = ParentWidgetFor(group);
    if (IsGroup()) {
        auto* box = new QGroupBox(parentWidget);
        client = new PanelSurface(this, box);
        SetWidget(box);
    } else {
        auto* surface = new PanelSurface(this, parentWidget);
        switch (style & PanelStyle::KindMask) {
        case PanelStyle::Sunken:
            surface->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            break;
        case PanelStyle::Raised:
            surface->setFrameStyle(QFrame::Panel | QFrame::Raised);
            break;
        default:
            break;
        }
        surface->setLineWidth(1);
        client = surface;
        SetWidget(surface);
    }
    if (style & PanelStyle::Active) {
        sensitivity = 3;
        client->setMouseTracking(true);
    }
}

int TPanelGadget::ClientInsetWidth() const
{
    return IsGroup() ? GroupInsetLeft + GroupInsetRight : 0;
}

int TPanelGadget::ClientInsetHeight() const
{
    return IsGroup() ? GroupInsetTop + GroupInsetBottom : 0;
}

void TPanelGadget::ApplyShape()
{
    if (IsGroup())
        client->setGeometry(GroupInsetLeft, GroupInsetTop, ClientWidth(), ClientHeight());
    TWidgetGadget::ApplyShape();
}

void TPanelGadget::SetText(const QString& text)
{
    TGadget::SetText(text);
    if (auto* box = qobject_cast<QGroupBox*>(Widget()))
        box->setTitle(text);
}

void TPanelGadget::SetColor(int r, int g, int b)
{
    auto* surface = static_cast<PanelSurface*>(client);
    surface->background = QColor(r & 255, g & 255, b & 255);
    surface->update();
}

// The program tiles its images over the whole panel (drawing mode 0 of the low three bits).
void TPanelGadget::SetPixmap(const std::shared_ptr<TPixmap>& pixmap, int flags)
{
    auto* surface = static_cast<PanelSurface*>(client);
    surface->tile = pixmap ? ImageOfPixmap(*pixmap) : QImage();
    surface->update();
}
