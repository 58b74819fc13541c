#include "resources/EmbeddedFiles.h"

#include "resources/Incbin.h"

// Start and end of each file, placed by the assembler source that CMake generates from the same list.
#define TLE_EMBEDDED(symbol) extern "C" const unsigned char tle_incbin_##symbol[], tle_incbin_##symbol##_end[];
TLE_EMBEDDED(keywords)
TLE_EMBEDDED(toolbar)
TLE_EMBEDDED(items)
TLE_EMBEDDED(gradient)
TLE_EMBEDDED(icon)
TLE_EMBEDDED(hudtxt)
TLE_EMBEDDED(arial)
#undef TLE_EMBEDDED

namespace {
void Register(const char* name, const unsigned char* start, const unsigned char* end)
{
    RegisterIncbin(QString::fromLatin1(name), start, end - start);
}
} // namespace

void RegisterEmbeddedFiles()
{
    Register("incbins/keywords.txt", tle_incbin_keywords, tle_incbin_keywords_end);
    Register("incbins/toolbar.png", tle_incbin_toolbar, tle_incbin_toolbar_end);
    Register("incbins/items.txt", tle_incbin_items, tle_incbin_items_end);
    Register("incbins/gradient.png", tle_incbin_gradient, tle_incbin_gradient_end);
    Register("incbins/icon.png", tle_incbin_icon, tle_incbin_icon_end);
    Register("incbins/hudtxt.jpg", tle_incbin_hudtxt, tle_incbin_hudtxt_end);
    Register("incbins/arial.ttf", tle_incbin_arial, tle_incbin_arial_end);
}
