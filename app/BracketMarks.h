// The frames (or the tint) that show the bracket or block keyword beside a text area's caret and its
// partner, as the editor sets them after every change.
#pragma once

#include "gui/TextDecorations.h"

#include <vector>

class TGadget;

// The marks for the caret's place in `textarea`: two frames for a pair, a tint with a tooltip for one
// without a partner, none when the caret is beside neither a bracket nor a block keyword.
std::vector<TIndicator> MatchingBracketMarks(TGadget& textarea);
