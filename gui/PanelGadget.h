// Panels: plain, framed or group-box containers, colour swatches and tiled backgrounds; active panels
// report the mouse.
#pragma once

#include "gui/WidgetGadget.h"

#include <QColor>
#include <QImage>

namespace PanelStyle {
inline constexpr int KindMask = 3;
inline constexpr int Plain = 0;
inline constexpr int Sunken = 1;
inline constexpr int Raised = 2;
inline constexpr int Group = 3;
inline constexpr int Active = 4;
inline constexpr int Canvas = 8;
} // namespace PanelStyle

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
