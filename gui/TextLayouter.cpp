#include "gui/TextLayouter.h"

#include "gui/TextMotion.h"

#include <QChar>

#include <algorithm>
#include <cmath>

void TTextLayouter::SetTabWidth(int pixels)
{
    tabWidth = std::max(1, pixels);
    ++generation;
}

void TTextLayouter::Relayout(int line, TLineLayout& layout)
{
    layout.line = line;
    layout.textVersion = buffer.Version();
    layout.styleVersion = buffer.StyleVersion();
    layout.generation = generation;
    if (line < 0 || line >= buffer.LineCount()) {
        layout.start = buffer.Length();
        layout.chars.clear();
        layout.ids.clear();
        layout.xs.assign(1, 0.0f);
        return;
    }
    const int start = buffer.LineStart(line);
    const int count = buffer.LineEnd(line) - start;
    layout.start = start;
    layout.chars.resize(count);
    layout.ids.resize(count);
    layout.xs.resize(count + 1);
    buffer.Copy(start, count, layout.chars.data(), layout.ids.data());

    const float tab = static_cast<float>(tabWidth);
    float x = 0;
    layout.xs[0] = 0;
    for (int i = 0; i < count;) {
        const char16_t c = layout.chars[i];
        if (c == u'\t') {
            x = (std::floor(x / tab) + 1) * tab;
            layout.xs[++i] = x;
            continue;
        }
        const int variant = buffer.StyleOf(layout.ids[i]).flags & 3;
        const bool hasBase = i > 0 && layout.chars[i - 1] != u'\t';
        if (QChar::isHighSurrogate(c) && i + 1 < count && QChar::isLowSurrogate(layout.chars[i + 1])) {
            // One glyph; the position inside the pair shares the pair's start.
            layout.xs[i + 1] = x;
            x += Advance(fonts.Glyph(variant, QChar::surrogateToUcs4(c, layout.chars[i + 1])), hasBase);
            layout.xs[i + 2] = x;
            i += 2;
            continue;
        }
        x += Advance(fonts.Glyph(variant, c), hasBase);
        layout.xs[++i] = x;
    }
}

float TTextLayouter::Advance(const TTextFonts::TGlyph& glyph, bool hasBase)
{
    if (glyph.kind == TTextFonts::Kind::Plain)
        return glyph.advance;
    if (glyph.kind == TTextFonts::Kind::Invisible)
        return 0;
    // A mark with nothing to sit on, at the line's start or after a tab, shows in a blank's room.
    return hasBase ? 0 : fonts.BlankAdvance();
}

int TTextLayouter::PositionAtX(int line, float x)
{
    const TLineLayout& layout = Line(line);
    const int pos = layout.PositionAtX(x);
    const TTextMotion motion(buffer);
    if (motion.IsClusterBoundary(pos))
        return pos;
    const int before = motion.Previous(pos);
    const int after = motion.Next(pos);
    return x - layout.XOf(before) <= layout.XOf(after) - x ? before : after;
}
