// The game's colour codes: "©" and nine digits, red, green and blue with three digits each.
#pragma once

#include <QString>

// A decimal number string of one or two digits padded with zeros to three; any other length unchanged.
QString PadColorComponent(const QString& digits);

// The code for a colour; always ten characters for components 0 to 255.
QString ColorCode(int red, int green, int blue);
