// Runs of text styled in one go, as the colouring styles many lines' parts at once. Each run names its
// colour by its index in a palette handed over beside the runs, so that a run costs no colour lookup.
#pragma once

// A colour and style flags (bold, italic, underline, strike-out) of the text area's style table.
struct TRunColour {
    int r = 0, g = 0, b = 0, flags = 0;
};

// Characters [pos, pos + length) take the palette's colour `colour`; a run whose colour is not in the
// palette changes nothing.
struct TColouredRun {
    int pos = 0;
    int length = 0;
    int colour = 0;
};
