// TTextDecorations: marks on the text that are not its colouring: indicators on ranges and markers on
// lines, kept in layers so that each owner (bracket matching, the checker, colour swatches) replaces
// its own without touching the others'.
//
// Indicators shift with every edit of the text and vanish when all of their text is deleted; a marker
// moves with its line and goes with it. Recolouring never touches them: they live beside the style ids,
// not in them.
#pragma once

#include <QString>

#include <algorithm>

#include <cstdint>
#include <map>
#include <vector>

enum class TIndicatorKind : uint8_t {
    Squiggle, // a wavy underline
    Box, // a frame around the range
    Tint, // a background under the range
    Swatch, // a square of the colour in a room of its own before the range (colour codes)
};

struct TIndicator {
    int start = 0;
    int end = 0;
    TIndicatorKind kind = TIndicatorKind::Squiggle;
    uint32_t colour = 0xFF000000; // 0xAARRGGBB
    QString tooltip;

    bool operator==(const TIndicator&) const = default;
};

enum class TMarkerKind : uint8_t { Error, Warning, Hint };

struct TLineMarker {
    int line = 0;
    TMarkerKind kind = TMarkerKind::Error;
    QString tooltip;

    bool operator==(const TLineMarker&) const = default;
};

class TTextDecorations {
public:
    // Replaces a layer's indicators; empty ranges are dropped, the rest kept in order of their start.
    void SetIndicators(int layer, std::vector<TIndicator> indicators);
    const std::vector<TIndicator>& Indicators(int layer) const;
    void SetLineMarkers(int layer, std::vector<TLineMarker> markers);
    const std::vector<TLineMarker>& LineMarkers(int layer) const;
    bool Empty() const { return indicators.empty() && markers.empty(); }
    // Changes with every change of any layer, edits included.
    unsigned Version() const { return version; }
    // Changes when swatches come or go other than by an edit: swatches take room in a line's layout.
    unsigned LayoutVersion() const { return layoutVersion; }

    // The text lost `removed` units at pos and got `inserted`; the lines from `firstLine` on lost
    // `breaksRemoved` line breaks and got `breaksInserted`.
    void TextReplaced(int pos, int removed, int inserted, int firstLine, int breaksRemoved, int breaksInserted);

    // Calls f(indicator) for every indicator of every layer that overlaps [start, end), layer by layer.
    template <typename F> void ForEachIndicator(int start, int end, F f) const
    {
        for (const auto& [layer, set] : indicators) {
            (void)layer;
            for (auto it = FirstReaching(set, start); it != set.list.end() && it->start < end; ++it) {
                if (it->end > start)
                    f(*it);
            }
        }
    }
    // Calls f(indicator) for every swatch that starts in [start, end], in order within each layer.
    template <typename F> void ForEachSwatch(int start, int end, F f) const
    {
        for (const auto& [layer, set] : indicators) {
            (void)layer;
            if (!set.swatches)
                continue;
            auto it = std::lower_bound(set.list.begin(), set.list.end(), start,
                [](const TIndicator& indicator, int from) { return indicator.start < from; });
            for (; it != set.list.end() && it->start <= end; ++it) {
                if (it->kind == TIndicatorKind::Swatch)
                    f(*it);
            }
        }
    }
    // The markers on a line, of every layer.
    template <typename F> void ForEachMarker(int line, F f) const
    {
        for (const auto& [layer, list] : markers) {
            (void)layer;
            for (const TLineMarker& marker : list) {
                if (marker.line == line)
                    f(marker);
            }
        }
    }

private:
    struct TIndicatorSet {
        std::vector<TIndicator> list; // ordered by start
        int longest = 0; // no indicator is longer: bounds the search back from a position
        bool swatches = false; // some indicator is a swatch
    };
    static std::vector<TIndicator>::const_iterator FirstReaching(const TIndicatorSet& set, int pos);

    std::map<int, TIndicatorSet> indicators;
    std::map<int, std::vector<TLineMarker>> markers;
    unsigned version = 0;
    unsigned layoutVersion = 0;
};
