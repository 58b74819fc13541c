// Push buttons, check boxes and radio buttons.
#pragma once

#include "gui/WidgetGadget.h"

class QAbstractButton;

// Button style: the low three bits choose the kind; 8 gives check and radio boxes a push-button look.
namespace ButtonStyle {
inline constexpr int Push = 0;
inline constexpr int CheckBox = 2;
inline constexpr int Radio = 3;
inline constexpr int Ok = 4;
inline constexpr int Cancel = 5;
inline constexpr int PushLike = 8;
} // namespace ButtonStyle

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
