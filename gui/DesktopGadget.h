// The desktop: the one pre-existing gadget, the group of every top-level window.
#pragma once

#include "gui/Gadget.h"

class TDesktopGadget : public TGadget {
public:
    TDesktopGadget();
    int ClientWidth() const override;
    int ClientHeight() const override;
};
