// Push buttons, check boxes and radio buttons.
#pragma once

#include "gui/GadgetStyles.h"
#include "gui/WidgetGadget.h"

class QAbstractButton;

class TButtonGadget : public TWidgetGadget {
public:
    TButtonGadget(TGadget* group, int style);

    void SetText(const QString& text) override;
    int State() const override;
    void SetSelected(int selected) override;

private:
    int Kind() const { return style & 7; }
    QAbstractButton* Button() const;
};
