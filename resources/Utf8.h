// UTF-8 for script files, lossless for bytes that are not valid UTF-8.
//
// Scripts come from anywhere, and a file in some 8-bit code page must survive being opened and saved
// unchanged. So each byte that does not start or continue a valid sequence (overlong forms, encoded
// surrogates, values above U+10FFFF, stray continuation bytes, a sequence cut short) decodes to its own
// character U+DC00 + byte, a lone low surrogate in U+DC80..U+DCFF that valid UTF-8 can never produce,
// and encoding turns exactly those characters back into the single byte.
#pragma once

#include <cstddef>

namespace Utf8 {

inline constexpr char32_t EscapeBase = 0xDC00;

inline bool IsHighSurrogate(char32_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}
inline bool IsLowSurrogate(char32_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}
inline bool IsEscapedByte(char32_t u)
{
    return u >= 0xDC80 && u <= 0xDCFF;
}

// Decodes the character at p (p < end) into `code` and returns the number of bytes it took (1 to 4).
// `end` must be the end of the data or at least four bytes away.
inline int Decode(const unsigned char* p, const unsigned char* end, char32_t& code)
{
    const unsigned b0 = p[0];
    auto continues = [&](std::ptrdiff_t i) { return end - p > i && (p[i] & 0xC0) == 0x80; };
    if (b0 < 0x80) {
        code = b0;
        return 1;
    }
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (continues(1)) {
            code = (char32_t(b0 & 0x1F) << 6) | (p[1] & 0x3F);
            return 2;
        }
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (continues(1) && continues(2)) {
            const char32_t c = (char32_t(b0 & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
            if (c >= 0x800 && !IsHighSurrogate(c) && !IsLowSurrogate(c)) {
                code = c;
                return 3;
            }
        }
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (continues(1) && continues(2) && continues(3)) {
            const char32_t c = (char32_t(b0 & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12)
                | (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
            if (c >= 0x10000 && c <= 0x10FFFF) {
                code = c;
                return 4;
            }
        }
    }
    code = EscapeBase + b0;
    return 1;
}

// Encodes the UTF-16 unit units[i] (with units[i + 1] when the two form a surrogate pair) at `out`, which
// needs room for four bytes. Returns the byte after the last one written and advances i past what it used.
// A surrogate outside a pair and outside the escaped bytes keeps its three-byte form.
inline unsigned char* Encode(const char16_t* units, std::size_t count, std::size_t& i, unsigned char* out)
{
    const char32_t u = units[i++];
    if (u < 0x80) {
        *out++ = static_cast<unsigned char>(u);
    } else if (u < 0x800) {
        *out++ = static_cast<unsigned char>(0xC0 | (u >> 6));
        *out++ = static_cast<unsigned char>(0x80 | (u & 0x3F));
    } else if (IsHighSurrogate(u) && i < count && IsLowSurrogate(units[i])) {
        const char32_t c = 0x10000 + ((u - 0xD800) << 10) + (units[i++] - 0xDC00);
        *out++ = static_cast<unsigned char>(0xF0 | (c >> 18));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else if (IsEscapedByte(u)) {
        *out++ = static_cast<unsigned char>(u - EscapeBase);
    } else {
        *out++ = static_cast<unsigned char>(0xE0 | (u >> 12));
        *out++ = static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | (u & 0x3F));
    }
    return out;
}

} // namespace Utf8
