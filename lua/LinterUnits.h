// A script cut into parts the Lua linter can check one by one and give the same warnings as for the whole.
//
// Game scripts are mostly top-level `function name(...) ... end` statements. One that names none of the
// script's top-level locals shares nothing with the rest but globals, whose warnings do not depend on
// where they are read; so the linter's warnings for it are the same whether it is checked alone or in
// the script, and a check after an edit needs to lint again only the parts whose text changed. What
// is left (the top-level locals, calls and assignments, and the functions that use those locals) is one
// part of its own, in the order of the script.
#pragma once

#include "lua/LuaTokens.h"

#include <QStringView>

#include <vector>

// Units [start, end) of the text, whole lines, the first of which is line `line` (0 for the first).
struct TLinterSegment {
    int start = 0;
    int end = 0;
    int line = 0;
    bool operator==(const TLinterSegment&) const = default;
};

// A part the linter checks on its own: its segments joined, in order.
struct TLinterUnit {
    std::vector<TLinterSegment> segments;
};

// The parts of a script that compiles, `tokens` being its tokens. The whole script is one part when it
// holds the linter's own comment options (they hold for everything after them), a carriage return (the
// linter's lines would not be the text's), or a top-level return (what follows it is unreachable).
std::vector<TLinterUnit> SplitForLinter(QStringView text, const std::vector<TLuaToken>& tokens);
