#include "gui/TextRows.h"

#include "gui/TextMotion.h"

#include <algorithm>
#include <cmath>

namespace {
bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}
} // namespace

void TTextRows::SetWidth(float width)
{
    width = std::max(0.0f, width);
    if (width == wrapWidth)
        return;
    wrapWidth = width;
    breaksLine = -1;
    if (On()) {
        Reset();
        return;
    }
    counts.clear();
    exact.clear();
    tree.clear();
    treeStale = true;
    total = 0;
    ++version;
}

int TTextRows::Estimate(int line) const
{
    const float width = line < widths.Lines() ? widths.Width(line) : 0;
    return std::max(1, static_cast<int>(std::ceil(width / wrapWidth)));
}

void TTextRows::Reset()
{
    if (!On())
        return;
    const int lines = buffer.LineCount();
    counts.resize(lines);
    exact.assign(lines, 0);
    total = 0;
    for (int line = 0; line < lines; ++line) {
        counts[line] = Estimate(line);
        total += counts[line];
    }
    treeStale = true;
    breaksLine = -1;
    ++version;
}

void TTextRows::LinesReplaced(int first, int removed, int inserted)
{
    if (!On())
        return;
    if (Lines() - removed + inserted != buffer.LineCount() || first < 0 || first + removed > Lines()) {
        Reset();
        return;
    }
    const bool sameLines = removed == inserted;
    for (int line = first; line < first + removed; ++line)
        total -= counts[line];
    if (inserted > removed) {
        counts.insert(counts.begin() + first + removed, inserted - removed, 0);
        exact.insert(exact.begin() + first + removed, inserted - removed, 0);
    } else if (removed > inserted) {
        counts.erase(counts.begin() + first + inserted, counts.begin() + first + removed);
        exact.erase(exact.begin() + first + inserted, exact.begin() + first + removed);
    }
    for (int line = first; line < first + inserted; ++line) {
        const int count = Estimate(line);
        if (sameLines)
            Add(line, count - counts[line]);
        counts[line] = count;
        exact[line] = 0;
        total += count;
    }
    if (!sameLines)
        treeStale = true;
    breaksLine = -1;
    ++version;
}

void TTextRows::Forget(int first, int last)
{
    first = std::max(first, 0);
    last = std::min(last, Lines() - 1);
    for (int line = first; line <= last; ++line)
        exact[line] = 0;
}

int TTextRows::Count() const
{
    return On() ? total : buffer.LineCount();
}

void TTextRows::Rebuild() const
{
    const int lines = static_cast<int>(counts.size());
    tree.assign(lines + 1, 0);
    for (int i = 1; i <= lines; ++i) {
        tree[i] += counts[i - 1];
        const int parent = i + (i & -i);
        if (parent <= lines)
            tree[parent] += tree[i];
    }
    treeStale = false;
}

void TTextRows::Add(int line, int delta) const
{
    if (treeStale || delta == 0)
        return;
    const int lines = static_cast<int>(counts.size());
    for (int i = line + 1; i <= lines; i += i & -i)
        tree[i] += delta;
}

int TTextRows::Prefix(int line) const
{
    if (treeStale)
        Rebuild();
    int sum = 0;
    for (int i = line; i > 0; i -= i & -i)
        sum += tree[i];
    return sum;
}

int TTextRows::FirstRow(int line) const
{
    if (!On())
        return line;
    return Prefix(std::clamp(line, 0, Lines()));
}

TRowPlace TTextRows::LineOfRow(int row) const
{
    const int lines = On() ? Lines() : buffer.LineCount();
    if (!On() || lines == 0)
        return { std::clamp(row, 0, std::max(0, lines - 1)), 0 };
    if (row >= total)
        return { lines - 1, counts[lines - 1] - 1 };
    if (treeStale)
        Rebuild();
    // Down the tree: the most lines whose rows all lie before `row`.
    int line = 0;
    int rest = std::max(row, 0);
    int step = 1;
    while (step * 2 <= lines)
        step *= 2;
    for (; step > 0; step /= 2) {
        if (line + step <= lines && tree[line + step] <= rest) {
            line += step;
            rest -= tree[line];
        }
    }
    return { line, rest };
}

void TTextRows::SetCount(int line, int count)
{
    if (line < 0 || line >= Lines())
        return;
    exact[line] = 1;
    if (counts[line] == count)
        return;
    Add(line, count - counts[line]);
    total += count - counts[line];
    counts[line] = count;
    ++version;
}

const std::vector<int>& TTextRows::Breaks(const TLineLayout& layout)
{
    if (layout.line == breaksLine && layout.textVersion == breaksText && layout.styleVersion == breaksStyle
        && layout.generation == breaksGeneration && wrapWidth == breaksWidth)
        return breaks;
    breaksLine = layout.line;
    breaksText = layout.textVersion;
    breaksStyle = layout.styleVersion;
    breaksGeneration = layout.generation;
    breaksWidth = wrapWidth;
    breaks.assign(1, 0);
    if (!On())
        return breaks;

    const int count = layout.Size();
    const auto& xs = layout.xs;
    const auto& chars = layout.chars;
    const TTextMotion motion(buffer);
    auto boundary = [&](int unit) { return motion.IsClusterBoundary(layout.start + unit); };
    for (int start = 0;;) {
        // The furthest position that still fits on the row.
        const int fits
            = static_cast<int>(std::upper_bound(xs.begin() + start, xs.end(), xs[start] + wrapWidth) - xs.begin()) - 1;
        if (fits >= count)
            break;
        int next = fits;
        // Blanks that overflow the edge stay at the end of the row.
        while (next < count && IsBlank(chars[next]))
            ++next;
        if (next >= count)
            break;
        if (next == fits || !boundary(next)) {
            // After the last blank that fits; with none, at the last cluster boundary that fits, and a
            // cluster wider than the row goes on a row of its own.
            next = start;
            for (int k = fits; k > start && next == start; --k) {
                if (IsBlank(chars[k - 1]) && boundary(k))
                    next = k;
            }
            for (int k = fits; k > start && next == start; --k) {
                if (boundary(k))
                    next = k;
            }
            if (next == start)
                next = motion.Next(layout.start + start) - layout.start;
            if (next >= count)
                break;
        }
        breaks.push_back(next);
        start = next;
    }
    SetCount(layout.line, static_cast<int>(breaks.size()));
    return breaks;
}

int TTextRows::RowsOf(int line)
{
    if (!On())
        return 1;
    if (line >= 0 && line < Lines() && exact[line])
        return counts[line];
    return static_cast<int>(Breaks(layouter.Line(line)).size());
}

void TTextRows::Settle(int line, int rows)
{
    for (int seen = 0; On() && line < buffer.LineCount() && seen <= rows; ++line)
        seen += RowsOf(line);
}

TTextRow TTextRows::Fill(const TLineLayout& layout, int index)
{
    const std::vector<int>& starts = Breaks(layout);
    const int rows = static_cast<int>(starts.size());
    index = std::clamp(index, 0, rows - 1);
    const bool last = index + 1 == rows;
    return { .line = layout.line,
        .index = index,
        .start = layout.start + starts[index],
        .end = layout.start + (last ? layout.Size() : starts[index + 1]),
        .last = last };
}

TTextRow TTextRows::RowAt(int line, int index)
{
    return Fill(layouter.Line(line), index);
}

TTextRow TTextRows::RowOf(int pos)
{
    const TLineLayout& layout = layouter.LineOf(pos);
    const std::vector<int>& starts = Breaks(layout);
    const int index
        = static_cast<int>(std::upper_bound(starts.begin(), starts.end(), pos - layout.start) - starts.begin()) - 1;
    return Fill(layout, index);
}

TTextRow TTextRows::Step(const TTextRow& row, int count)
{
    int line = row.line;
    int index = row.index;
    const int lines = buffer.LineCount();
    while (count > 0) {
        const int rows = RowsOf(line);
        if (index + count < rows) {
            index += count;
            count = 0;
        } else if (line + 1 >= lines) {
            index = rows - 1;
            count = 0;
        } else {
            count -= rows - index;
            ++line;
            index = 0;
        }
    }
    while (count < 0) {
        if (index + count >= 0) {
            index += count;
            count = 0;
        } else if (line == 0) {
            index = 0;
            count = 0;
        } else {
            count += index + 1;
            --line;
            index = RowsOf(line) - 1;
        }
    }
    return RowAt(line, index);
}

int TTextRows::LastStop(const TTextRow& row)
{
    return row.last ? row.end : std::max(row.start, TTextMotion(buffer).Previous(row.end));
}

int TTextRows::PositionAtX(const TTextRow& row, float x)
{
    const float rowX = StartX(row);
    return std::clamp(layouter.PositionAtX(row.line, rowX + x), row.start, LastStop(row));
}
