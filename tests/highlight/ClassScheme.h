// A colour scheme that gives every part class its own colour, so a formatted range tells its class.
#pragma once

#include "FakeTextArea.h"
#include "highlight/SyntaxColouring.h"

#include <QString>

inline TColourScheme ClassScheme()
{
    TColourScheme scheme;
    scheme[TTokenClass::Sign] = { 1, 10, 100, 0 };
    scheme[TTokenClass::Keyword] = { 2, 20, 200, 1 };
    scheme[TTokenClass::Text] = { 3, 30, 130, 0 };
    scheme[TTokenClass::Number] = { 4, 40, 140, 2 };
    scheme[TTokenClass::String] = { 5, 50, 150, 0 };
    scheme[TTokenClass::Comment] = { 6, 60, 160, 2 };
    scheme[TTokenClass::Bracket] = { 7, 70, 170, 3 };
    return scheme;
}

// The class name of a formatting made with ClassScheme, "?" for any other colour.
inline QString ClassName(const TFakeStyle& style)
{
    static const char* const names[] = { "none", "sign", "keyword", "word", "number", "string", "comment", "bracket" };
    const TColourScheme scheme = ClassScheme();
    const TPartColour* byClass[] = { nullptr, &scheme[TTokenClass::Sign], &scheme[TTokenClass::Keyword],
        &scheme[TTokenClass::Text], &scheme[TTokenClass::Number], &scheme[TTokenClass::String],
        &scheme[TTokenClass::Comment], &scheme[TTokenClass::Bracket] };
    if (style == TFakeStyle {})
        return names[0];
    for (int k = 1; k < 8; ++k) {
        const TPartColour& c = *byClass[k];
        if (style == TFakeStyle { c.R, c.G, c.B, c.Style })
            return names[k];
    }
    return QStringLiteral("?");
}

inline QString ClassName(const TStyleCall& call)
{
    return ClassName(TFakeStyle { call.r, call.g, call.b, call.flags });
}
