// The syntax-colouring scenario of the benchmark: the real lexer and colouring over the generated script.
#pragma once

#include "highlight/TokenClass.h"

// The editor's default colours, as a settings file of defaults holds them.
TColourScheme DefaultColourScheme();

// Prints key=value lines: lex_floor_ms, colour_all_ms, colour_line_repaint_ms, colour_keystroke_ms and
// the peak memory with the script loaded and coloured.
int ColouringScenario(int argc, char** argv);
