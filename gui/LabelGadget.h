// Labels: static text with an alignment and an optional frame.
#pragma once

#include "gui/GadgetStyles.h"
#include "gui/WidgetGadget.h"

class TLabelGadget : public TWidgetGadget {
public:
    TLabelGadget(TGadget* group, int style);
    void SetText(const QString& text) override;
};
