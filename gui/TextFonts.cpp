#include "gui/TextFonts.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

TTextFonts::TTextFonts()
{
    SetFont(QFont());
}

void TTextFonts::SetFont(const QFont& font)
{
    int height = 1;
    int maxAscent = 1;
    for (int v = 0; v < Variants; ++v) {
        Variant& variant = variants[v];
        variant.font = font;
        // Underline and strike-through belong to a character's style, and the view draws them itself.
        variant.font.setUnderline(false);
        variant.font.setStrikeOut(false);
        variant.font.setBold((v & 1) != 0);
        variant.font.setItalic((v & 2) != 0);
        variant.raw = QRawFont::fromFont(variant.font);
        variant.metrics = QFontMetricsF(variant.font);
        variant.asciiKnown.fill(false);
        variant.others.clear();
        const QFontMetrics metrics(variant.font);
        height = std::max(height, metrics.lineSpacing());
        maxAscent = std::max(maxAscent, metrics.ascent());
    }
    lineHeight = height;
    ascent = maxAscent;
    const QFontMetricsF& plain = variants[0].metrics;
    lineWidth = std::max<float>(1, std::round(plain.lineWidth()));
    underlineOffset = std::max<float>(1, std::round(plain.underlinePos()));
    strikeOutOffset = std::round(plain.strikeOutPos());
}

const TTextFonts::TGlyph& TTextFonts::Lookup(Variant& variant, char32_t code)
{
    if (code >= 128) {
        auto found = variant.others.constFind(code);
        if (found != variant.others.constEnd())
            return *found;
    }
    const QString text = QString::fromUcs4(&code, 1);
    TGlyph glyph;
    if (variant.raw.isValid()) {
        const QList<quint32> indexes = variant.raw.glyphIndexesForString(text);
        if (indexes.size() == 1 && indexes[0] != 0)
            glyph.index = indexes[0];
    }
    glyph.fallback = glyph.index == 0;
    glyph.advance = static_cast<float>(variant.metrics.horizontalAdvance(text));
    if (code < 128) {
        variant.ascii[code] = glyph;
        variant.asciiKnown[code] = true;
        return variant.ascii[code];
    }
    return *variant.others.insert(code, glyph);
}
