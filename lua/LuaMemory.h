// Lua states with a memory ceiling, so that no script can exhaust the machine: past the ceiling an
// allocation fails and Lua reports "not enough memory".
#pragma once

#include <cstddef>

struct lua_State;

struct TLuaBudget {
    std::size_t used = 0;
    std::size_t limit = 0;
};

// A new state that allocates within `budget` (which must outlive it), or null when even that fails. A
// panic, which only an error outside a protected call raises, ends the process rather than running on.
lua_State* NewBudgetedLuaState(TLuaBudget& budget);
