#include "event/Hook.h"

#include "event/RuntimeError.h"

THookRegistry::~THookRegistry()
{
    for (THook* hook : chains) {
        while (hook) {
            THook* next = hook->succ;
            delete hook;
            hook = next;
        }
    }
}

THook*& THookRegistry::ChainOf(int id)
{
    if (id < 0 || id >= MaxIds)
        throw TRuntimeError("Invalid hook id");
    return chains[id];
}

int THookRegistry::NewId()
{
    if (lastId + 1 >= MaxIds)
        throw TRuntimeError("Too many hook ids");
    return ++lastId;
}

void THookRegistry::Register(int id, THookFunction func, void* context, int priority)
{
    THook** link = &ChainOf(id);
    while (*link && (*link)->priority >= priority)
        link = &(*link)->succ;
    *link = new THook { *link, priority, func, context };
}

bool THookRegistry::Remove(int id, THookFunction func, void* context)
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

void* THookRegistry::Call(int id, void* data)
{
    for (THook* hook = ChainOf(id); hook;) {
        THook* next = hook->succ; // a hook may remove itself
        data = hook->func(id, data, hook->context);
        hook = next;
    }
    return data;
}

THookRegistry& HookRegistry()
{
    static THookRegistry registry;
    return registry;
}

int NewHookId()
{
    return HookRegistry().NewId();
}

void RegisterHook(int id, THookFunction func, void* context, int priority)
{
    HookRegistry().Register(id, func, context, priority);
}

bool RemoveHook(int id, THookFunction func, void* context)
{
    return HookRegistry().Remove(id, func, context);
}

void* CallHooks(int id, void* data)
{
    return HookRegistry().Call(id, data);
}

int EventEmitHookId()
{
    static const int id = NewHookId();
    return id;
}
