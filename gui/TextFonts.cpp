#include "gui/TextFonts.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace {
// Format characters that only steer how their neighbours join or look: zero-width spaces and joiners,
// direction marks and embeddings, the word joiner and invisible operators, the byte-order mark,
// variation selectors and tags.
bool IsInvisible(char32_t code)
{
    return (code >= 0x200B && code <= 0x200F) || (code >= 0x202A && code <= 0x202E)
        || (code >= 0x2060 && code <= 0x206F) || code == 0x034F || (code >= 0x180B && code <= 0x180F)
        || (code >= 0xFE00 && code <= 0xFE0F) || code == 0xFEFF || (code >= 0xE0000 && code <= 0xE0FFF);
}

TTextFonts::Kind KindOf(char32_t code)
{
    if (code < 0x0300)
        return TTextFonts::Kind::Plain;
    if (IsInvisible(code))
        return TTextFonts::Kind::Invisible;
    const QChar::Category category = QChar::category(code);
    if (category != QChar::Mark_NonSpacing && category != QChar::Mark_Enclosing)
        return TTextFonts::Kind::Plain;
    // The canonical combining classes of marks that go above and below their character.
    switch (QChar::combiningClass(code)) {
    case 214:
    case 228:
    case 230:
    case 232:
    case 234:
        return TTextFonts::Kind::MarkAbove;
    case 202:
    case 218:
    case 220:
    case 222:
    case 233:
        return TTextFonts::Kind::MarkBelow;
    default:
        return TTextFonts::Kind::MarkThrough;
    }
}
} // namespace

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
    glyph.kind = KindOf(code);
    glyph.ink = glyph.fallback ? variant.metrics.tightBoundingRect(text) : variant.raw.boundingRect(glyph.index);
    if (code < 128) {
        variant.ascii[code] = glyph;
        variant.asciiKnown[code] = true;
        return variant.ascii[code];
    }
    return *variant.others.insert(code, glyph);
}
