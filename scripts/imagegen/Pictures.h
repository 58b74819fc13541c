// The four pictures the editor embeds, each drawn from scratch.
#pragma once

#include "Canvas.h"

#include <string>

namespace gen {

Canvas paintToolbar(); // 336 x 24, fourteen icons, 3 and 10 empty
Canvas paintToolbarBackground(); // 32 x 32 grey gradient, opaque
Canvas paintWindowIcon(); // 48 x 48
Canvas paintHudScreen(const std::string& fontDir); // 640 x 480, opaque

} // namespace gen
