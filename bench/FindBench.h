// The find and replace scenario of the benchmark: the whole editor searching and rewriting the generated script.
#pragma once

// Prints key=value lines: find_floor_ms, find_next_ms, replace_matches, replace_floor_ms,
// replace_colour_ms and replace_all_ms.
int FindScenario(int argc, char** argv);
