#include "tools/HudText.h"

#include "draw/Graphics.h"

#include <limits>

int TWord::Width() const
{
    if (width < 0)
        width = TextWidthOf(Text.toStdU16String());
    return width;
}

void TWord::Draw(int x, int y, float alpha) const
{
    const std::u16string text = Text.toStdU16String();
    SetDrawAlpha(alpha);
    SetDrawColor(0, 0, 0);
    DrawTextAt(text, x + 1, y + 1);
    SetDrawAlpha(alpha);
    SetDrawColor(R, G, B);
    DrawTextAt(text, x, y);
}

TText TText::FromString(const QString& s)
{
    TText text;
    for (TColourRun& run : SplitAtColourCodes(s)) {
        TWord word;
        word.Text = std::move(run.text);
        word.R = run.r;
        word.G = run.g;
        word.B = run.b;
        text.Words.push_back(std::move(word));
    }
    return text;
}

int TText::Width() const
{
    int width = 0;
    for (const TWord& word : Words)
        width += word.Width();
    return width;
}

void TText::Draw(int x, int y, float alpha) const
{
    // Far to the right nothing more can show; the offset stays in range however long the text is.
    int64_t offset = 0;
    for (const TWord& word : Words) {
        const int64_t at = int64_t(x) + offset;
        if (at > std::numeric_limits<int32_t>::max() / 2)
            break;
        word.Draw(static_cast<int>(at), y, alpha);
        offset += word.Width();
    }
}
