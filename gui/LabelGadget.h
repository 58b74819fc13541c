// Labels: static text with an alignment and an optional frame.
#pragma once

#include "gui/WidgetGadget.h"

namespace LabelStyle {
inline constexpr int FrameMask = 7;
inline constexpr int FlatFrame = 1;
inline constexpr int SunkenFrame = 2;
inline constexpr int AlignMask = 0x18;
inline constexpr int AlignRight = 8;
inline constexpr int AlignCentre = 0x10;
} // namespace LabelStyle

class TLabelGadget : public TWidgetGadget {
public:
    TLabelGadget(TGadget* group, int style);
    void SetText(const QString& text) override;
};
