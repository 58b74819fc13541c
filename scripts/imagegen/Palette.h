// The small shared palette that keeps the toolbar and window icon consistent.
#pragma once

#include "Canvas.h"

namespace gen::palette {

inline const Color ink = rgb(36, 40, 52);
inline const Color paperHi = rgb(255, 255, 255);
inline const Color paperLo = rgb(214, 222, 234);
inline const Color fold = rgb(190, 200, 216);
inline const Color yellowHi = rgb(255, 224, 120);
inline const Color yellowLo = rgb(232, 166, 42);
inline const Color blueHi = rgb(104, 164, 238);
inline const Color blueLo = rgb(36, 86, 172);
inline const Color greenHi = rgb(136, 220, 96);
inline const Color greenLo = rgb(34, 146, 48);
inline const Color redHi = rgb(246, 106, 84);
inline const Color redLo = rgb(186, 36, 32);
inline const Color steelHi = rgb(240, 243, 247);
inline const Color steelLo = rgb(146, 156, 170);
inline const Color woodHi = rgb(226, 174, 104);
inline const Color woodLo = rgb(164, 106, 52);
inline const Color woodDark = rgb(120, 74, 34);
inline const Color slateHi = rgb(120, 132, 154);
inline const Color slateLo = rgb(58, 66, 84);
inline const Color screen = rgb(30, 42, 66);

// Light falls from the top left: every fill runs from its light to its dark
// colour along that diagonal of the shape's box.
inline Paint lit(const Shape& s, Color hi, Color lo)
{
    return linear(s.x0, s.y0, hi, s.x1, s.y1, lo);
}
inline Paint litVertical(const Shape& s, Color hi, Color lo)
{
    return linear(0, s.y0, hi, 0, s.y1, lo);
}

} // namespace gen::palette
