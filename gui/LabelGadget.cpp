#include "gui/LabelGadget.h"

#include <QLabel>

TLabelGadget::TLabelGadget(TGadget* group, int style)
    : TWidgetGadget(GadgetClass::Label, group, style)
{
    auto* label = new QLabel(ParentWidgetFor(group));
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
