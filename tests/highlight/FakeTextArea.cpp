#include "FakeTextArea.h"

TFakeTextArea::TFakeTextArea(const QString& initial)
{
    buffer.ReplaceText(0, -1, initial, TextUnit::Chars);
}

bool TFakeTextArea::Replace(int pos, int length, const QString& text)
{
    return ReplaceText(pos, length, text, TextUnit::Chars);
}

bool TFakeTextArea::ReplaceText(int pos, int length, const QString& text, TextUnit units)
{
    if (!buffer.ReplaceText(pos, length, text, units))
        return false;
    ++textChanges;
    return true;
}

void TFakeTextArea::SetStyles(std::span<const TRunColour> palette, std::span<const TColouredRun> runs)
{
    for (const TColouredRun& run : runs) {
        const TRunColour& colour = palette[run.colour];
        SetStyle(run.pos, run.length, TPartColour { colour.r, colour.g, colour.b, colour.flags });
    }
}

std::optional<TTextParts> TFakeTextArea::TextInPlace() const
{
    if (!lendsText)
        return std::nullopt;
    return buffer.Parts();
}

void TFakeTextArea::SetStyle(int pos, int length, const TPartColour& colour)
{
    calls.push_back({ colour.R, colour.G, colour.B, colour.Style, pos, length });
    buffer.SetStyle(colour.R, colour.G, colour.B, colour.Style, pos, length, TextUnit::Chars);
}

TFakeStyle TFakeTextArea::StyleAt(int pos) const
{
    const TTextStyle& style = buffer.StyleOf(buffer.StyleIdAt(pos));
    return { style.r, style.g, style.b, style.flags };
}

std::vector<TFakeStyle> TFakeTextArea::Styles() const
{
    std::vector<TFakeStyle> styles;
    for (int pos = 0; pos < Length(); ++pos)
        styles.push_back(StyleAt(pos));
    return styles;
}
