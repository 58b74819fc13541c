// Canvases: a drawing surface of the drawing layer, presented in a widget; like an active panel, a
// canvas reports the mouse in its client pixels.
#pragma once

#include "gui/WidgetGadget.h"

class TCanvasGadget : public TWidgetGadget {
public:
    TCanvasGadget(TGadget* group, int style);

    std::shared_ptr<TGraphics> CanvasGraphics() const override { return graphics; }
    void Activate(int command) override;

protected:
    void ApplyShape() override;

private:
    std::shared_ptr<TGraphics> graphics;
};
