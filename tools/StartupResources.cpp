#include "tools/StartupResources.h"

#include "draw/Image.h"
#include "draw/ImageFont.h"
#include "draw/Pixmap.h"

namespace {
TStartupResources resources;
}

void LoadStartupResources()
{
    resources.gradient = LoadPixmapUrl("incbin::incbins/gradient.png");
    resources.icon = LoadPixmapUrl("incbin::incbins/icon.png");
    resources.hudBackground = LoadImageUrl("incbin::incbins/hudtxt.jpg", -1);
    resources.hudFont = LoadFontUrl("incbin::incbins/arial.ttf", 13, 4);
}

const TStartupResources& StartupResources()
{
    return resources;
}
