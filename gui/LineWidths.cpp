#include "gui/LineWidths.h"

#include <algorithm>

void TLineWidths::FindWidest()
{
    // Runs on a key press that narrows the widest line of a long script: four maxima side by side
    // keep the scan from waiting on each comparison.
    float widths4[4] = { 0, 0, 0, 0 };
    const int lines = Lines();
    int line = 0;
    for (; line + 4 <= lines; line += 4) {
        for (int k = 0; k < 4; ++k)
            widths4[k] = std::max(widths4[k], widths[line + k]);
    }
    for (; line < lines; ++line)
        widths4[0] = std::max(widths4[0], widths[line]);
    widest = std::max(std::max(widths4[0], widths4[1]), std::max(widths4[2], widths4[3]));
    widestCount = static_cast<int>(std::count(widths.begin(), widths.end(), widest));
}
