#include "gui/LineLayout.h"

#include <QChar>

#include <algorithm>

float TLineLayout::XOf(int pos) const
{
    return xs[std::clamp(pos - start, 0, Size())];
}

int TLineLayout::PositionAtX(float x) const
{
    const int count = Size();
    int i = static_cast<int>(std::lower_bound(xs.begin(), xs.end(), x) - xs.begin());
    i = std::min(i, count);
    if (i > 0) {
        int before = i - 1;
        if (before > 0 && QChar::isHighSurrogate(chars[before - 1]) && QChar::isLowSurrogate(chars[before]))
            --before;
        if (x - xs[before] < xs[i] - x)
            i = before;
    }
    return start + i;
}

int TLineLayout::CharacterAtX(float x) const
{
    const int index = static_cast<int>(std::upper_bound(xs.begin(), xs.end(), x) - xs.begin()) - 1;
    return start + std::clamp(index, 0, std::max(0, Size() - 1));
}
