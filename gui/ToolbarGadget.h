// The toolbar: one button per icon of its strip, blank icons shown as separators that still count.
#pragma once

#include "gui/IconStrip.h"
#include "gui/WidgetGadget.h"

class TToolbarGadget : public TWidgetGadget {
public:
    TToolbarGadget(TGadget* group, int style);

    void SetIconStrip(const std::shared_ptr<TIconStrip>& strip) override;
    void SetItemState(int index, int state) override;
    int ItemState(int index) const override;

    // Whether item `index` shows as a separator.
    bool IsSeparator(int index) const;

protected:
    void ApplyItems() override;

private:
    void ApplyState(int index);

    std::shared_ptr<TIconStrip> strip;
    std::vector<int> states;
};
