#include "gui/TextLayouter.h"

#include "gui/TextMotion.h"

#include <QChar>

#include <algorithm>
#include <cmath>

namespace {
bool IsPrintableAscii(char16_t c)
{
    return c >= 0x20 && c < 0x7f;
}
} // namespace

void TTextLayouter::FontChanged()
{
    PlaceSwatchRoom();
    MeasureAsciiCells();
    PlaceTabStops();
    ++generation;
}

void TTextLayouter::MeasureAsciiCells()
{
    for (int variant = 0; variant < TTextFonts::Variants; ++variant) {
        float cell = fonts.Glyph(variant, U' ').advance;
        for (char32_t c = 0x21; c < 0x7f && cell > 0; ++c) {
            if (fonts.Glyph(variant, c).advance != cell)
                cell = 0;
        }
        asciiCell[variant] = cell;
    }
}

void TTextLayouter::SetTabWidth(int pixels)
{
    askedTabWidth = std::max(1, pixels);
    PlaceTabStops();
    ++generation;
}

void TTextLayouter::PlaceTabStops()
{
    const float column = fonts.BlankAdvance();
    if (!(column > 0)) {
        tabWidth = static_cast<float>(askedTabWidth);
        tabReach = 0;
        return;
    }
    tabWidth = std::max(1.0f, std::round(static_cast<float>(askedTabWidth) / column)) * column;
    tabReach = column - column / 16;
}

template <typename Place>
float TTextLayouter::Walk(const char16_t* chars, const TTextBuffer::StyleId* ids, int count, Place place)
{
    float x = 0;
    // Runs of one style are the rule: the variant is looked up when the style changes.
    TTextBuffer::StyleId id = count > 0 ? ids[0] : 0;
    int variant = buffer.StyleOf(id).flags & 3;
    const int* nextSwatch = swatches.data();
    for (int i = 0; i < count;) {
        if (i == *nextSwatch) {
            // The swatch's room lies before the code: the caret in front of the code stands after it.
            x += swatchRoom;
            place(i, x);
            ++nextSwatch;
        }
        const char16_t c = chars[i];
        if (c == u'\t') {
            x = NextTabStop(x);
            place(++i, x);
            continue;
        }
        if (ids[i] != id) {
            id = ids[i];
            variant = buffer.StyleOf(id).flags & 3;
        }
        const float cell = asciiCell[variant];
        if (cell > 0 && IsPrintableAscii(c)) {
            // Printable ASCII in a monospaced style: each position lies whole cells from the run's
            // start, so columns stay exact and measuring a long script adds no advances one by one.
            const float from = x;
            int k = 0;
            do {
                ++k;
                place(i + k, from + static_cast<float>(k) * cell);
            } while (i + k < count && i + k != *nextSwatch && ids[i + k] == id && IsPrintableAscii(chars[i + k]));
            i += k;
            x = from + static_cast<float>(k) * cell;
            continue;
        }
        const bool hasBase = i > 0 && chars[i - 1] != u'\t';
        if (QChar::isHighSurrogate(c) && i + 1 < count && QChar::isLowSurrogate(chars[i + 1])) {
            // One glyph; the position inside the pair shares the pair's start.
            place(i + 1, x);
            x += Advance(fonts.Glyph(variant, QChar::surrogateToUcs4(c, chars[i + 1])), hasBase);
            place(i + 2, x);
            i += 2;
            continue;
        }
        x += Advance(fonts.Glyph(variant, c), hasBase);
        place(++i, x);
    }
    return x;
}

void TTextLayouter::FindSwatches(int start, int count)
{
    swatches.clear();
    buffer.Decorations().ForEachSwatch(
        start, start + count - 1, [&](const TIndicator& swatch) { swatches.push_back(swatch.start - start); });
    if (swatches.size() > 1) {
        // Each layer gives its own in order; two layers may interleave or mark the same code.
        std::sort(swatches.begin(), swatches.end());
        swatches.erase(std::unique(swatches.begin(), swatches.end()), swatches.end());
    }
    swatches.push_back(INT_MAX);
}

void TTextLayouter::Relayout(int line, TLineLayout& layout)
{
    layout.line = line;
    layout.textVersion = buffer.Version();
    layout.styleVersion = buffer.StyleVersion();
    layout.generation = generation;
    layout.layoutVersion = buffer.Decorations().LayoutVersion();
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
    layout.xs[0] = 0;
    FindSwatches(start, count);
    Walk(layout.chars.data(), layout.ids.data(), count, [&](int i, float x) { layout.xs[i] = x; });
}

float TTextLayouter::Width(int line)
{
    if (line < 0 || line >= buffer.LineCount())
        return 0;
    const int start = buffer.LineStart(line);
    const int count = buffer.LineEnd(line) - start;
    if (static_cast<int>(measuredChars.size()) < count) {
        measuredChars.resize(count);
        measuredIds.resize(count);
    }
    buffer.Copy(start, count, measuredChars.data(), measuredIds.data());
    FindSwatches(start, count);
    return Walk(measuredChars.data(), measuredIds.data(), count, [](int, float) {});
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
