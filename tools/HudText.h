// A HUD text as the game shows it: runs of characters, each drawn in the colour its colour code gives
// (resources/ColourCodes.h reads the codes).
#pragma once

#include "resources/ColourCodes.h"

#include <QString>

#include <cstdint>
#include <vector>

// One run of text in one colour.
class TWord {
public:
    QString Text;
    uint8_t R = 0;
    uint8_t G = 0;
    uint8_t B = 0;

    // The run's width in the current font, measured on first use: a run never changes its text.
    int Width() const;
    // The run with a one-pixel black shadow: black at (x + 1, y + 1), then the colour at (x, y).
    void Draw(int x, int y, float alpha) const;

private:
    mutable int width = -1;
};

class TText {
public:
    std::vector<TWord> Words;

    // The runs of SplitAtColourCodes.
    static TText FromString(const QString& s);
    int Width() const;
    // The runs side by side on one line from (x, y).
    void Draw(int x, int y, float alpha) const;
};
