// The game's colour codes as the game reads them in a text it shows.
//
// A colour code is "©" and nine characters, three groups of three for red, green and blue ("©255000000"
// is red). Text before the first code is warm yellow. Each group is a whole number, read in decimal,
// "%" binary or "$" hexadecimal, and keeps its lowest 8 bits.
#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

inline constexpr char16_t ColourCodeSign = u'\u00a9';
// The characters after the sign: three for each component.
inline constexpr int ColourCodeDigits = 9;

// Reads a whole number as the game does: leading blanks, an optional sign, then "%" and binary digits,
// "$" and hexadecimal digits, or decimal digits, as far as they go. No digits give 0; values past the
// 32-bit range stop at its ends.
int32_t ReadWholeNumber(QStringView text);

// One run of a shown text in one colour.
struct TColourRun {
    QString text;
    uint8_t r = 0, g = 0, b = 0;
};

// Splits `s` at its colour codes. Every "©" starts a run, even one among another code's digits; a code
// cut short by the end reads blanks for what is missing; empty runs are kept.
std::vector<TColourRun> SplitAtColourCodes(const QString& s);
