// TTextFonts: the text area's font in its four bold and italic variants, with glyphs and advances cached.
//
// The view places every glyph itself, so that hit testing and drawing agree to the pixel whatever the
// font does with kerning or shaping. A character the font lacks is marked as a fallback: the view
// draws it as text so that another installed font can stand in, at the advance that font gives it.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QRawFont>
#include <QRectF>

#include <array>

class TTextFonts {
public:
    // How a character takes its place in a line. A combining mark takes no room and is drawn above,
    // below or through the character before it; a joiner, a variation selector and the other invisible
    // format characters take no room and draw nothing; every other character takes its advance.
    enum class Kind : unsigned char { Plain, MarkAbove, MarkBelow, MarkThrough, Invisible };

    struct TGlyph {
        quint32 index = 0;
        float advance = 0;
        // The glyph's ink around the pen position, y growing downwards from the baseline: where marks go
        // around a character, and where a mark's own ink lies.
        QRectF ink;
        bool fallback = false;
        Kind kind = Kind::Plain;

        bool IsMark() const { return kind == Kind::MarkAbove || kind == Kind::MarkBelow || kind == Kind::MarkThrough; }
    };

    // Variant index: bit 0 bold, bit 1 italic (the low two style flags).
    static constexpr int Variants = 4;

    TTextFonts();
    void SetFont(const QFont& font);

    const QFont& Font(int variant) const { return variants[variant].font; }
    const QRawFont& RawFont(int variant) const { return variants[variant].raw; }
    const TGlyph& Glyph(int variant, char32_t code)
    {
        Variant& v = variants[variant];
        if (code < 128 && v.asciiKnown[code])
            return v.ascii[code];
        return Lookup(v, code);
    }

    int LineHeight() const { return lineHeight; }
    int Ascent() const { return ascent; }
    float UnderlineOffset() const { return underlineOffset; }
    float StrikeOutOffset() const { return strikeOutOffset; }
    float LineWidth() const { return lineWidth; }
    // Advance of a blank in the plain variant: what a selected line break shows as.
    float BlankAdvance() { return Glyph(0, U' ').advance; }

private:
    struct Variant {
        QFont font;
        QRawFont raw;
        QFontMetricsF metrics { QFont() };
        std::array<TGlyph, 128> ascii {};
        std::array<bool, 128> asciiKnown {};
        QHash<char32_t, TGlyph> others;
    };

    const TGlyph& Lookup(Variant& variant, char32_t code);

    std::array<Variant, Variants> variants;
    int lineHeight = 1;
    int ascent = 1;
    float underlineOffset = 1;
    float strikeOutOffset = 1;
    float lineWidth = 1;
};
