#include "gui/CanvasGadget.h"

#include "draw/Graphics.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWidget>

#include <cstring>

namespace {
class CanvasWidget : public QWidget {
public:
    CanvasWidget(TGadget* gadget, QWidget* parent)
        : QWidget(parent)
        , gadget(gadget)
    {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    // Copies a finished frame and repaints with it.
    void Present(const TGraphics& graphics)
    {
        if (frame.width() != graphics.Width() || frame.height() != graphics.Height())
            frame = QImage(graphics.Width(), graphics.Height(), QImage::Format_RGB32);
        if (!frame.isNull())
            std::memcpy(frame.bits(), graphics.Pixels().data(), graphics.Pixels().size() * sizeof(std::uint32_t));
        presenting = true;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        if (!frame.isNull())
            painter.drawImage(0, 0, frame);
        // A repaint the program did not cause itself asks it for a new frame.
        if (!presenting)
            EmitGadgetEvent(Event::GadgetPaint, gadget);
        presenting = false;
    }

    void mousePressEvent(QMouseEvent* event) override { Report(Event::MouseDown, event); }
    void mouseReleaseEvent(QMouseEvent* event) override { Report(Event::MouseUp, event); }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        EmitGadgetEvent(Event::MouseMove, gadget, 0, event->position().x(), event->position().y());
    }
    void wheelEvent(QWheelEvent* event) override
    {
        EmitGadgetEvent(
            Event::MouseWheel, gadget, event->angleDelta().y() / 120, event->position().x(), event->position().y());
    }

private:
    void Report(int id, QMouseEvent* event)
    {
        EmitGadgetEvent(id, gadget, MouseButtonNumber(event->button()), event->position().x(), event->position().y());
    }

    TGadget* gadget;
    QImage frame;
    bool presenting = false;
};
} // namespace

TCanvasGadget::TCanvasGadget(TGadget* group, int style)
    : TWidgetGadget(GadgetClass::Canvas, group, style)
{
    auto* widget = new CanvasWidget(this, ParentWidgetFor(group));
    SetWidget(widget);
    sensitivity = 3;
    graphics = CreateGraphics(1, 1);
    graphics->SetPresenter([widget](const TGraphics& finished) { widget->Present(finished); });
}

void TCanvasGadget::ApplyShape()
{
    graphics->Resize(std::max(1, width), std::max(1, height));
    TWidgetGadget::ApplyShape();
}

void TCanvasGadget::Activate(int command)
{
    if (command == ActivateCommand::Redraw) {
        Widget()->update();
        return;
    }
    TWidgetGadget::Activate(command);
}
