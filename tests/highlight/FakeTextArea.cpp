#include "FakeTextArea.h"

#include <algorithm>

namespace {

// Every "\r\n", "\r" and "\n" becomes one line break.
QString Normalise(const QString& input)
{
    QString out;
    out.reserve(input.size());
    for (qsizetype i = 0; i < input.size(); ++i) {
        if (input[i] == u'\r') {
            out += u'\n';
            if (i + 1 < input.size() && input[i + 1] == u'\n')
                ++i;
        } else {
            out += input[i];
        }
    }
    return out;
}

} // namespace

TFakeTextArea::TFakeTextArea(const QString& initial)
    : TGadget(GadgetClass::TextArea, nullptr, 0)
    , text(Normalise(initial))
{
    styles.resize(text.size());
}

TFakeTextArea::Range TFakeTextArea::Convert(int pos, int length, TextUnit units) const
{
    long long start = pos;
    long long count = length;
    if (units == TextUnit::Lines) {
        start = CharAt(pos);
        if (length >= 0)
            count = CharAt(static_cast<int>(std::min<long long>(static_cast<long long>(pos) + length, INT32_MAX)))
                - start;
    }
    const long long total = text.size();
    if (count < 0)
        count = total - start;
    const long long first = std::clamp(start, 0LL, total);
    const long long last = std::clamp(start + count, first, total);
    return { static_cast<int>(first), static_cast<int>(last) };
}

int TFakeTextArea::CharAt(int line) const
{
    if (line <= 0)
        return 0;
    int found = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && ++found == line)
            return static_cast<int>(i + 1);
    }
    return static_cast<int>(text.size());
}

int TFakeTextArea::LineAt(int pos) const
{
    const qsizetype end = std::clamp<qsizetype>(pos, 0, text.size());
    return static_cast<int>(QStringView(text).first(end).count(u'\n'));
}

int TFakeTextArea::AreaLen(TextUnit units) const
{
    return units == TextUnit::Lines ? LineAt(static_cast<int>(text.size())) : static_cast<int>(text.size());
}

QString TFakeTextArea::AreaText(int pos, int length, TextUnit units) const
{
    const Range range = Convert(pos, length, units);
    return text.mid(range.start, range.end - range.start);
}

bool TFakeTextArea::ReplaceText(int pos, int length, const QString& input, TextUnit units)
{
    const Range range = Convert(pos, length, units);
    const QString inserted = Normalise(input);
    // New characters take the formatting of the one before them, as typing does.
    const TFakeStyle style = range.start > 0 ? styles[range.start - 1] : TFakeStyle {};
    text.replace(range.start, range.end - range.start, inserted);
    styles.erase(styles.begin() + range.start, styles.begin() + range.end);
    styles.insert(styles.begin() + range.start, inserted.size(), style);
    ++textChanges;
    // The selection keeps its start and length, not shifted by the change.
    const int length0 = selEnd - selStart;
    selStart = std::min(selStart, static_cast<int>(text.size()));
    selEnd = std::min(selStart + length0, static_cast<int>(text.size()));
    return true;
}

int TFakeTextArea::GetCursorPos(TextUnit units) const
{
    return units == TextUnit::Lines ? LineAt(selStart) : selStart;
}

int TFakeTextArea::GetSelectionLength(TextUnit units) const
{
    if (units == TextUnit::Lines)
        return LineAt(selEnd - 1) - LineAt(selStart) + 1;
    return selEnd - selStart;
}

void TFakeTextArea::SetStyle(int r, int g, int b, int flags, int pos, int length, TextUnit units)
{
    calls.push_back({ r, g, b, flags, pos, length });
    const Range range = Convert(pos, length, units);
    std::fill(styles.begin() + range.start, styles.begin() + range.end, TFakeStyle { r, g, b, flags });
}

void TFakeTextArea::SetSelection(int pos, int length, TextUnit units)
{
    const Range range = Convert(pos, length, units);
    selStart = range.start;
    selEnd = range.end;
}
