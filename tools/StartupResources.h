// The images and the font loaded once at start-up and shared by the main window and the HUD preview.
#pragma once

#include <memory>

class TImage;
class TImageFont;
class TPixmap;

struct TStartupResources {
    std::shared_ptr<TPixmap> gradient; // tiled behind the toolbar
    std::shared_ptr<TPixmap> icon; // the main window's icon
    std::shared_ptr<TImage> hudBackground; // the HUD preview's game screen
    std::shared_ptr<TImageFont> hudFont; // the HUD preview's font
};

// Loads them in start-up order. A resource that fails to load stays null; the window then goes without
// that picture rather than failing to start.
void LoadStartupResources();
const TStartupResources& StartupResources();
