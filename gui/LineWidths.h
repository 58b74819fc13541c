// TLineWidths: the width of every line of the text area, and the widest of them.
//
// The horizontal scroll range follows the widest line, so it has to shrink when that line is shortened
// or deleted. Keeping one width per line makes finding the next widest a scan of numbers rather than a
// new measurement of the whole text, and the scan runs only when the last line of the greatest width
// narrows or goes. An edit measures only the lines it made, so what it costs follows its size.
#pragma once

#include <vector>

class TLineWidths {
public:
    // Lines [first, first + removed) were replaced by `inserted` lines; measure(line) gives the width
    // of each new one.
    template <typename Measure> void Replace(int first, int removed, int inserted, Measure&& measure)
    {
        for (int line = first; line < first + removed; ++line) {
            if (widths[line] == widest)
                --widestCount;
        }
        if (inserted > removed)
            widths.insert(widths.begin() + first + removed, inserted - removed, 0.0f);
        else if (removed > inserted)
            widths.erase(widths.begin() + first + inserted, widths.begin() + first + removed);
        for (int line = first; line < first + inserted; ++line) {
            const float width = measure(line);
            widths[line] = width;
            Add(width);
        }
        if (widestCount <= 0)
            FindWidest();
    }

    // Forgets every width and measures `lines` lines anew.
    template <typename Measure> void Reset(int lines, Measure&& measure)
    {
        widths.clear();
        widest = 0;
        widestCount = 0;
        Replace(0, 0, lines, measure);
    }

    // The width a layout of the line found, which a change of its styles may have made differ.
    void Update(int line, float width)
    {
        if (line >= 0 && line < Lines() && widths[line] != width)
            Replace(line, 1, 1, [width](int) { return width; });
    }

    int Lines() const { return static_cast<int>(widths.size()); }
    float Width(int line) const { return widths[line]; }
    float Widest() const { return widest; }

private:
    void Add(float width)
    {
        if (width > widest) {
            widest = width;
            widestCount = 1;
        } else if (width == widest) {
            ++widestCount;
        }
    }
    void FindWidest();

    std::vector<float> widths;
    float widest = 0;
    // How many lines have the widest width; none left means the widest has to be looked for again.
    int widestCount = 0;
};
