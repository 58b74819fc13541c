// Key filters that keep number fields to numbers (the timer's period and call count, the HUD position).
#pragma once

#include "gui/Gadget.h"

// Takes the arrow keys and Delete at their key-down, and digits, Backspace and the Ctrl+A, C, V and X
// characters; refuses every other key event. Pasted text is not filtered.
int IntegerFilter(TEvent& event, void* context);

// As IntegerFilter, and also the decimal point.
int DecimalFilter(TEvent& event, void* context);
