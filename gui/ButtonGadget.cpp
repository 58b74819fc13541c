#include "gui/ButtonGadget.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace {
// A click turns an unchecked or indeterminate box checked and a checked one unchecked.
class CheckBoxWidget : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override { setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); }
};

class PushLikeCheckWidget : public QPushButton {
public:
    using QPushButton::QPushButton;
    bool indeterminate = false;

protected:
    void nextCheckState() override
    {
        const bool wasChecked = isChecked() && !indeterminate;
        indeterminate = false;
        setChecked(!wasChecked);
    }
};
} // namespace

TButtonGadget::TButtonGadget(TGadget* group, int style)
    : TWidgetGadget(GadgetClass::Button, group, style)
{
    QWidget* parentWidget = ParentWidgetFor(group);
    QAbstractButton* button = nullptr;
    const bool pushLike = style & ButtonStyle::PushLike;
    switch (Kind()) {
    case ButtonStyle::CheckBox:
        if (pushLike) {
            auto* push = new PushLikeCheckWidget(parentWidget);
            push->setCheckable(true);
            button = push;
        } else {
            button = new CheckBoxWidget(parentWidget);
        }
        break;
    case ButtonStyle::Radio:
        button = new QRadioButton(parentWidget);
        break;
    default: {
        auto* push = new QPushButton(parentWidget);
        push->setDefault(Kind() == ButtonStyle::Ok);
        push->setAutoDefault(false);
        button = push;
        break;
    }
    }
    SetWidget(button);
    QObject::connect(button, &QAbstractButton::clicked, [this] {
        const int kind = Kind();
        const int data = kind == ButtonStyle::CheckBox || kind == ButtonStyle::Radio ? ButtonValue(this) : 0;
        EmitGadgetEvent(Event::GadgetAction, this, data);
    });
}

QAbstractButton* TButtonGadget::Button() const
{
    return static_cast<QAbstractButton*>(Widget());
}

void TButtonGadget::SetText(const QString& text)
{
    TGadget::SetText(text);
    Button()->setText(text);
}

int TButtonGadget::State() const
{
    int state = TGadget::State();
    if (auto* box = qobject_cast<QCheckBox*>(Button())) {
        if (box->checkState() == Qt::PartiallyChecked)
            state |= GadgetState::Selected | GadgetState::Indeterminate;
        else if (box->checkState() == Qt::Checked)
            state |= GadgetState::Selected;
        return state;
    }
    if (Button()->isChecked()) {
        state |= GadgetState::Selected;
        auto* push = dynamic_cast<PushLikeCheckWidget*>(Button());
        if (push && push->indeterminate)
            state |= GadgetState::Indeterminate;
    }
    return state;
}

// 0 unchecks, 1 checks; any other value shows the box indeterminate.
void TButtonGadget::SetSelected(int selected)
{
    QAbstractButton* button = Button();
    if (auto* box = qobject_cast<QCheckBox*>(button)) {
        box->setCheckState(selected == 0 ? Qt::Unchecked : selected == 1 ? Qt::Checked : Qt::PartiallyChecked);
        return;
    }
    if (auto* push = dynamic_cast<PushLikeCheckWidget*>(button))
        push->indeterminate = selected != 0 && selected != 1;
    if (button->isCheckable())
        button->setChecked(selected != 0);
}
