#include "gui/Hook.h"

#include "gui/RuntimeError.h"

#include <array>

namespace {
constexpr int MaxHookIds = 256;

struct HookTable {
    std::array<THook*, MaxHookIds> chains {};
    int lastId = 0;
};

HookTable& Table()
{
    static HookTable table;
    return table;
}

THook*& ChainOf(int id)
{
    if (id < 0 || id >= MaxHookIds)
        throw TRuntimeError("Invalid hook id");
    return Table().chains[id];
}
} // namespace

int NewHookId()
{
    HookTable& table = Table();
    if (table.lastId + 1 >= MaxHookIds)
        throw TRuntimeError("Too many hook ids");
    return ++table.lastId;
}

void RegisterHook(int id, THookFunction func, void* context, int priority)
{
    THook* hook = new THook { nullptr, priority, func, context };
    THook** link = &ChainOf(id);
    while (*link && (*link)->priority >= priority)
        link = &(*link)->succ;
    hook->succ = *link;
    *link = hook;
}

bool RemoveHook(int id, THookFunction func, void* context)
{
    for (THook** link = &ChainOf(id); *link; link = &(*link)->succ) {
        if ((*link)->func == func && (*link)->context == context) {
            THook* dead = *link;
            *link = dead->succ;
            delete dead;
            return true;
        }
    }
    return false;
}

void* CallHooks(int id, void* data)
{
    for (THook* hook = ChainOf(id); hook;) {
        THook* next = hook->succ; // a hook may remove itself
        data = hook->func(id, data, hook->context);
        hook = next;
    }
    return data;
}

int EventEmitHookId()
{
    static const int id = NewHookId();
    return id;
}
