// The drawing layer's share of the HUD preview: one background copy is the floor, draws are multiples of it.
#pragma once

// Prints the figures as a table of times and multiples of the floor.
void RunDrawBench();
