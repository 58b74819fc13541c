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

#include <array>

class TTextFonts {
public:
    struct TGlyph {
        quint32 index = 0;
        float advance = 0;
        bool fallback = false;
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
