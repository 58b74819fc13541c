#include "lua/LuaMemory.h"

#include <cstdlib>

extern "C" {
#include <lua.h>
}

namespace {
void* Allocate(void* context, void* block, std::size_t oldSize, std::size_t newSize)
{
    auto* budget = static_cast<TLuaBudget*>(context);
    if (newSize == 0) {
        budget->used -= block ? oldSize : 0;
        std::free(block);
        return nullptr;
    }
    const std::size_t before = block ? oldSize : 0;
    if (newSize > before && newSize - before > budget->limit - budget->used)
        return nullptr;
    void* grown = std::realloc(block, newSize);
    if (grown)
        budget->used = budget->used - before + newSize;
    return grown;
}

int Panic(lua_State*)
{
    std::abort();
}
} // namespace

lua_State* NewBudgetedLuaState(TLuaBudget& budget)
{
    lua_State* state = lua_newstate(Allocate, &budget);
    if (state)
        lua_atpanic(state, Panic);
    return state;
}
