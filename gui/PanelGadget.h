// Panels: plain, framed or group-box containers, colour swatches and tiled backgrounds; active panels
// report the mouse.
#pragma once

#include "gui/GadgetStyles.h"
#include "gui/WidgetGadget.h"

#include <QColor>
#include <QImage>

// The group box's caption and frame around its client area.
inline constexpr int GroupInsetLeft = 4;
inline constexpr int GroupInsetTop = 16;
inline constexpr int GroupInsetRight = 4;
inline constexpr int GroupInsetBottom = 4;

class TPanelGadget : public TWidgetGadget {
public:
    TPanelGadget(TGadget* group, int style);

    QWidget* ClientWidget() const override { return client; }
    void SetText(const QString& text) override;
    void SetColor(int r, int g, int b) override;
    void SetPixmap(const std::shared_ptr<TPixmap>& pixmap, int flags) override;

protected:
    void ApplyShape() override;
    int ClientInsetWidth() const override;
    int ClientInsetHeight() const override;

private:
    bool IsGroup() const { return (style & PanelStyle::KindMask) == PanelStyle::Group; }
    QWidget* client = nullptr;
};
