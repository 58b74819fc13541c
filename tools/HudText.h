// A HUD text as the game shows it: runs of characters, each in the colour its colour code gives.
//
// A colour code is "©" and nine characters, three groups of three for red, green and blue ("©255000000"
// is red). Text before the first code is warm yellow. Each group is a whole number, read in decimal,
// "%" binary or "$" hexadecimal, and keeps its lowest 8 bits.
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

// Reads a whole number as the game does: leading blanks, an optional sign, then "%" and binary digits,
// "$" and hexadecimal digits, or decimal digits, as far as they go. No digits give 0; values past the
// 32-bit range stop at its ends.
int32_t ReadWholeNumber(QStringView text);

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

    // Splits `s` at its colour codes. Every "©" starts a run, even one among another code's digits; a
    // code cut short by the end reads blanks for what is missing; empty runs are kept.
    static TText FromString(const QString& s);
    int Width() const;
    // The runs side by side on one line from (x, y).
    void Draw(int x, int y, float alpha) const;
};
