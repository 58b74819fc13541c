// The seven classes of the colouring and the colour and style each is shown in.
#pragma once

#include <array>

// In the order of the settings file and of the settings dialog's rows. A word is a keyword or text;
// every other class is one kind of lexer part.
enum class TTokenClass : int { Text, Comment, Number, Bracket, Sign, Keyword, String };
inline constexpr int TokenClassCount = 7;

// Style bits of the text area's range formatting.
namespace TextStyleBit {
inline constexpr int Bold = 1;
inline constexpr int Italic = 2;
} // namespace TextStyleBit

// Colour and style bits of one class.
struct TPartColour {
    int R = 0, G = 0, B = 0;
    int Style = 0;
    bool operator==(const TPartColour&) const = default;
};

// The colours of all seven classes, indexed by class.
struct TColourScheme {
    std::array<TPartColour, TokenClassCount> Classes {};

    TPartColour& operator[](TTokenClass c) { return Classes[static_cast<int>(c)]; }
    const TPartColour& operator[](TTokenClass c) const { return Classes[static_cast<int>(c)]; }
    bool operator==(const TColourScheme&) const = default;
};
