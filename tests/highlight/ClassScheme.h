// A colour scheme that gives every part class its own colour, so a formatted range tells its class.
#pragma once

#include "FakeTextArea.h"
#include "highlight/Colouring.h"

#include <QString>

inline TColourScheme ClassScheme()
{
    TColourScheme scheme;
    scheme.Sign = { 1, 10, 100, 0 };
    scheme.Keyword = { 2, 20, 200, 1 };
    scheme.Text = { 3, 30, 130, 0 };
    scheme.Number = { 4, 40, 140, 2 };
    scheme.String = { 5, 50, 150, 0 };
    scheme.Comment = { 6, 60, 160, 2 };
    scheme.Bracket = { 7, 70, 170, 3 };
    return scheme;
}

// The class name of a formatting made with ClassScheme, "?" for any other colour.
inline QString ClassName(const TFakeStyle& style)
{
    static const char* const names[] = { "none", "sign", "keyword", "word", "number", "string", "comment", "bracket" };
    const TColourScheme scheme = ClassScheme();
    const TPartColour* byClass[] = { nullptr, &scheme.Sign, &scheme.Keyword, &scheme.Text, &scheme.Number,
        &scheme.String, &scheme.Comment, &scheme.Bracket };
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
