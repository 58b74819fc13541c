// Fonts of the widget layer: the generic library fonts and their Qt form.
#pragma once

#include <QString>

#include <memory>

class QFont;

// Style bits of a font.
namespace FontStyle {
inline constexpr int Bold = 1;
inline constexpr int Italic = 2;
inline constexpr int Underline = 4;
inline constexpr int StrikeOut = 8;
} // namespace FontStyle

// Generic kinds of LibraryFont.
namespace FontKind {
inline constexpr int Gui = 1;
inline constexpr int Monospaced = 2;
inline constexpr int SansSerif = 3;
inline constexpr int Serif = 4;
inline constexpr int Script = 5;
} // namespace FontKind

struct TGuiFont {
    QString name;
    QString path;
    int style = 0;
    double size = 0; // points
    int handle = 0;
};

// A font of a generic kind, resolved to a family that is installed here; a size of 0 or less takes the
// kind's default.
std::shared_ptr<TGuiFont> LibraryFont(int kind, double size, int style);

// The Qt font for a library font (only the widget layer calls this).
QFont QFontOf(const TGuiFont& font);
