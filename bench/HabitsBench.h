// The code editor's habits in the benchmark: line numbers, the current line's band, the bracket frames
// and many indicators, each measured on and off over the generated script.
#pragma once

// Prints key=value lines: habits_* for a keystroke, the bracket matching alone, a page scrolled and a
// page repainted under 100,000 indicators.
int HabitsScenario(int argc, char** argv);
