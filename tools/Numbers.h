// Numbers as the tool dialogs read and write them: always with a decimal point, whatever the user's
// locale says, and never past the range of the type that holds them.
#pragma once

#include <QString>

#include <cstdint>

// Reads a real as the C library's atof reads text in the C locale, held in single precision: leading
// white space, an optional sign, digits with an optional point and fraction, an optional exponent;
// reading stops at the first character that does not fit and no number at all is 0. What single
// precision cannot hold (infinity, a value past its range) is 0 as well.
float ParseReal(const QString& text);

// printf's "%#.9g" of the value: nine significant digits, trailing zeros and the point kept, the
// exponent form below 0.0001 and from 1000000000 on.
QString FormatReal(float value);

// The fraction cut off towards zero; values past the 32-bit range clamp to its ends, and NaN is 0.
int32_t TruncateToInt32(double value);
