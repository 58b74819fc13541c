// One-line text fields, with the key filter that the number fields use.
#pragma once

#include "gui/WidgetGadget.h"

class TTextFieldGadget : public TWidgetGadget {
public:
    TTextFieldGadget(TGadget* group, int style);

    void SetText(const QString& text) override;
    QString GetText() const override;
    void Activate(int command) override;
    // Selects characters of the field's text; a negative length runs to the end. Units are characters.
    void SetSelection(int pos, int length, TextUnit units) override;
};
