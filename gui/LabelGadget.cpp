#include "gui/LabelGadget.h"

#include <QLabel>
#include <QMouseEvent>

namespace {
// A label that reports a left click, for a status text that leads somewhere.
class ClickableLabel : public QLabel {
public:
    ClickableLabel(TGadget* gadget, QWidget* parent)
        : QLabel(parent)
        , gadget(gadget)
    {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            EmitGadgetEvent(Event::GadgetAction, gadget);
        QLabel::mouseReleaseEvent(event);
    }

private:
    TGadget* gadget;
};
} // namespace

TLabelGadget::TLabelGadget(TGadget* group, int style)
    : TWidgetGadget(GadgetClass::Label, group, style)
{
    QWidget* parent = ParentWidgetFor(group);
    auto* label = style & LabelStyle::Clickable ? new ClickableLabel(this, parent) : new QLabel(parent);
    Qt::Alignment alignment = Qt::AlignTop;
    switch (style & LabelStyle::AlignMask) {
    case LabelStyle::AlignRight:
        alignment |= Qt::AlignRight;
        break;
    case LabelStyle::AlignCentre:
        alignment |= Qt::AlignHCenter;
        break;
    default:
        alignment |= Qt::AlignLeft;
        break;
    }
    label->setAlignment(alignment);
    // Static text wraps at its width: a long hook signature takes a second line.
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    switch (style & LabelStyle::FrameMask) {
    case LabelStyle::FlatFrame:
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        break;
    case LabelStyle::SunkenFrame:
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        break;
    default:
        break;
    }
    SetWidget(label);
}

void TLabelGadget::SetText(const QString& text)
{
    TGadget::SetText(text);
    static_cast<QLabel*>(Widget())->setText(text);
}
