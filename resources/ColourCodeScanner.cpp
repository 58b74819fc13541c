#include "resources/ColourCodeScanner.h"

#include "resources/ColourCodes.h"

namespace {
bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool IsLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// One pass over a script. Each reader of a part of Lua takes the position after its opening and
// returns the position after its end.
class TColourCodeScanner {
public:
    explicit TColourCodeScanner(QStringView script)
        : s(script)
    {
    }

    std::vector<TColourCode> Run()
    {
        qsizetype i = 0;
        while (i < s.size()) {
            const QChar c = s[i];
            if (c == QLatin1Char('-') && i + 1 < s.size() && s[i + 1] == QLatin1Char('-')) {
                i += 2;
                const int level = LongBracketLevel(i);
                i = level < 0 ? LineComment(i) : LongBracket(i + level + 2, level, TColourCodePlace::Comment);
            } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                i = QuotedString(i + 1, c);
            } else if (const int level = LongBracketLevel(i); level >= 0) {
                i = LongBracket(i + level + 2, level, TColourCodePlace::String);
            } else if (c == QChar(ColourCodeSign)) {
                i = Take(i, 1, TColourCodeForm::Sign, TColourCodePlace::Code);
            } else {
                ++i;
            }
        }
        return std::move(found);
    }

private:
    // The level of a long bracket opening at `at` ("[[" 0, "[==[" 2), or -1 when none opens there.
    int LongBracketLevel(qsizetype at) const
    {
        if (at >= s.size() || s[at] != QLatin1Char('['))
            return -1;
        qsizetype i = at + 1;
        while (i < s.size() && s[i] == QLatin1Char('='))
            ++i;
        return i < s.size() && s[i] == QLatin1Char('[') ? int(i - at - 1) : -1;
    }

    // A long string or comment runs to the closing bracket of its level, or to the end of the text.
    qsizetype LongBracket(qsizetype i, int level, TColourCodePlace place)
    {
        while (i < s.size()) {
            if (s[i] == QChar(ColourCodeSign)) {
                i = Take(i, 1, TColourCodeForm::Sign, place);
                continue;
            }
            if (s[i] == QLatin1Char(']')) {
                qsizetype j = i + 1;
                while (j < s.size() && s[j] == QLatin1Char('='))
                    ++j;
                if (j - i - 1 == level && j < s.size() && s[j] == QLatin1Char(']'))
                    return j + 1;
            }
            ++i;
        }
        return i;
    }

    qsizetype LineComment(qsizetype i)
    {
        while (i < s.size() && !IsLineBreak(s[i])) {
            if (s[i] == QChar(ColourCodeSign))
                i = Take(i, 1, TColourCodeForm::Sign, TColourCodePlace::Comment);
            else
                ++i;
        }
        return i;
    }

    // A string left open ends with its line, as Lua gives up on it there; the next line starts afresh.
    qsizetype QuotedString(qsizetype i, QChar quote)
    {
        while (i < s.size() && s[i] != quote && !IsLineBreak(s[i])) {
            if (s[i] == QChar(ColourCodeSign)) {
                i = Take(i, 1, TColourCodeForm::Sign, TColourCodePlace::String);
            } else if (s[i] == QLatin1Char('\\')) {
                i = Escape(i);
            } else {
                ++i;
            }
        }
        return i < s.size() && s[i] == quote ? i + 1 : i;
    }

    // A decimal escape takes at most three digits, so "\1690" is the byte 169 and the digit 0. A
    // backslash before a line break continues the string on the next line.
    qsizetype Escape(qsizetype backslash)
    {
        qsizetype i = backslash + 1;
        if (i >= s.size())
            return i;
        if (IsDigit(s[i])) {
            int value = 0;
            for (; i < s.size() && i < backslash + 4 && IsDigit(s[i]); ++i)
                value = value * 10 + s[i].digitValue();
            return value == 169 ? Take(backslash, 4, TColourCodeForm::Escape, TColourCodePlace::String) : i;
        }
        if (IsLineBreak(s[i]) && i + 1 < s.size() && IsLineBreak(s[i + 1]) && s[i + 1] != s[i])
            return i + 2; // "\r\n" or "\n\r", one break
        return i + 1;
    }

    // Records the code whose marker of `markerLength` stands at `start` and returns the position after
    // its digits.
    qsizetype Take(qsizetype start, qsizetype markerLength, TColourCodeForm form, TColourCodePlace place)
    {
        const qsizetype digits = start + markerLength;
        qsizetype end = digits;
        while (end < s.size() && end - digits < ColourCodeDigits && IsDigit(s[end]))
            ++end;
        TColourCode code { start, end - start, -1, -1, -1, form, place };
        int* components[] = { &code.r, &code.g, &code.b };
        for (qsizetype k = 0; k < 3 && digits + 3 * (k + 1) <= end; ++k)
            *components[k] = s.mid(digits + 3 * k, 3).toInt();
        found.push_back(code);
        return end;
    }

    QStringView s;
    std::vector<TColourCode> found;
};
} // namespace

std::vector<TColourCode> FindColourCodes(QStringView script)
{
    return TColourCodeScanner(script).Run();
}
