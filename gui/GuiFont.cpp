#include "gui/GuiFont.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace {
// Families in order of preference for each kind, chosen among what Debian installs with the editor.
QStringList CandidatesFor(int kind)
{
    switch (kind) {
    case FontKind::Monospaced:
        return { "Liberation Mono", "DejaVu Sans Mono" };
    case FontKind::SansSerif:
        return { "Liberation Sans", "DejaVu Sans" };
    case FontKind::Serif:
        return { "Liberation Serif", "DejaVu Serif" };
    case FontKind::Script:
        return { "Comic Neue", "DejaVu Sans" };
    default:
        return { "Liberation Sans", "DejaVu Sans" };
    }
}

QString ResolveFamily(int kind)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : CandidatesFor(kind)) {
        if (installed.contains(family))
            return family;
    }
    if (kind == FontKind::Monospaced)
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

double DefaultSize(int kind)
{
    switch (kind) {
    case FontKind::Gui:
        return 8;
    case FontKind::Serif:
        return 11;
    default:
        return 10;
    }
}
} // namespace

std::shared_ptr<TGuiFont> LibraryFont(int kind, double size, int style)
{
    if (kind < FontKind::Gui || kind > FontKind::Script)
        kind = FontKind::Gui;
    auto font = std::make_shared<TGuiFont>();
    font->name = ResolveFamily(kind);
    font->size = size > 0 ? size : DefaultSize(kind);
    font->style = style;
    return font;
}

QFont QFontOf(const TGuiFont& font)
{
    QFont qfont(font.name);
    qfont.setPointSizeF(font.size > 0 ? font.size : 10);
    qfont.setBold(font.style & FontStyle::Bold);
    qfont.setItalic(font.style & FontStyle::Italic);
    qfont.setUnderline(font.style & FontStyle::Underline);
    qfont.setStrikeOut(font.style & FontStyle::StrikeOut);
    if (font.name.contains("Mono"))
        qfont.setStyleHint(QFont::Monospace);
    return qfont;
}
