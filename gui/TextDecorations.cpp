#include "gui/TextDecorations.h"

#include <algorithm>

namespace {
const std::vector<TIndicator> NoIndicators;
const std::vector<TLineMarker> NoMarkers;
} // namespace

void TTextDecorations::SetIndicators(int layer, std::vector<TIndicator> list)
{
    ++version;
    std::erase_if(list, [](const TIndicator& indicator) { return indicator.end <= indicator.start; });
    const auto old = indicators.find(layer);
    const bool hadSwatches = old != indicators.end() && old->second.swatches;
    const bool swatches = std::any_of(
        list.begin(), list.end(), [](const TIndicator& indicator) { return indicator.kind == TIndicatorKind::Swatch; });
    if (hadSwatches || swatches)
        ++layoutVersion;
    if (list.empty()) {
        indicators.erase(layer);
        return;
    }
    std::stable_sort(
        list.begin(), list.end(), [](const TIndicator& a, const TIndicator& b) { return a.start < b.start; });
    TIndicatorSet& set = indicators[layer];
    set.swatches = swatches;
    set.longest = 0;
    for (const TIndicator& indicator : list)
        set.longest = std::max(set.longest, indicator.end - indicator.start);
    set.list = std::move(list);
}

const std::vector<TIndicator>& TTextDecorations::Indicators(int layer) const
{
    const auto found = indicators.find(layer);
    return found == indicators.end() ? NoIndicators : found->second.list;
}

void TTextDecorations::SetLineMarkers(int layer, std::vector<TLineMarker> list)
{
    ++version;
    if (list.empty())
        markers.erase(layer);
    else
        markers[layer] = std::move(list);
}

const std::vector<TLineMarker>& TTextDecorations::LineMarkers(int layer) const
{
    const auto found = markers.find(layer);
    return found == markers.end() ? NoMarkers : found->second;
}

std::vector<TIndicator>::const_iterator TTextDecorations::FirstReaching(const TIndicatorSet& set, int pos)
{
    // Nothing that starts further back than the longest indicator can reach pos.
    const int from = pos - set.longest;
    return std::lower_bound(set.list.begin(), set.list.end(), from,
        [](const TIndicator& indicator, int start) { return indicator.start < start; });
}

void TTextDecorations::TextReplaced(
    int pos, int removed, int inserted, int firstLine, int breaksRemoved, int breaksInserted)
{
    if (Empty())
        return;
    ++version;
    const int removedEnd = pos + removed;
    const int delta = inserted - removed;
    for (auto layer = indicators.begin(); layer != indicators.end();) {
        TIndicatorSet& set = layer->second;
        auto first = set.list.begin() + (FirstReaching(set, pos) - set.list.cbegin());
        // A keystroke only moves the marks after it; the list is walked again only when one of them
        // lost text, which may leave it empty or leave no mark as long as the longest was.
        bool shortened = false;
        for (auto it = first; it != set.list.end(); ++it) {
            TIndicator& indicator = *it;
            if (indicator.end <= pos)
                continue;
            // Text put in at the start of a range goes before it, not into it.
            if (indicator.start >= removedEnd) {
                indicator.start += delta;
                indicator.end += delta;
                continue;
            }
            // The edit overlaps the range: what is left of its own text stays marked, and text typed
            // inside it joins it.
            const int length = indicator.end - indicator.start;
            if (indicator.start >= pos && indicator.end <= removedEnd) {
                indicator.end = indicator.start; // all of its text is gone
            } else {
                if (indicator.start >= pos)
                    indicator.start = pos + inserted;
                indicator.end = indicator.end > removedEnd ? indicator.end + delta : pos;
            }
            shortened = shortened || indicator.end - indicator.start < length;
            set.longest = std::max(set.longest, indicator.end - indicator.start);
        }
        if (shortened) {
            std::erase_if(set.list, [](const TIndicator& indicator) { return indicator.end <= indicator.start; });
            set.longest = 0;
            for (const TIndicator& indicator : set.list)
                set.longest = std::max(set.longest, indicator.end - indicator.start);
        }
        layer = set.list.empty() ? indicators.erase(layer) : std::next(layer);
    }

    const int lineDelta = breaksInserted - breaksRemoved;
    if (breaksRemoved == 0 && breaksInserted == 0)
        return;
    for (auto layer = markers.begin(); layer != markers.end();) {
        std::vector<TLineMarker>& list = layer->second;
        // The lines whose breaks went were joined to the edit's first line: their markers go with them.
        std::erase_if(list, [&](const TLineMarker& marker) {
            return marker.line > firstLine && marker.line <= firstLine + breaksRemoved;
        });
        for (TLineMarker& marker : list) {
            if (marker.line > firstLine)
                marker.line += lineDelta;
        }
        layer = list.empty() ? markers.erase(layer) : std::next(layer);
    }
}
