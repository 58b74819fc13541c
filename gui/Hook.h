// Hook chains: prioritised callbacks by id. The event chain carries every emitted TEvent.
#pragma once

// A hook gets the chain's id, the data handed along the chain and its own context; its result is the
// data for the next hook.
using THookFunction = void* (*)(int id, void* data, void* context);

struct THook {
    THook* succ = nullptr;
    int priority = 0;
    THookFunction func = nullptr;
    void* context = nullptr;
};

// Allocates ids 1, 2, 3 ...; the 256th request throws TRuntimeError("Too many hook ids").
int NewHookId();

// Inserts after every hook whose priority is greater than or equal to `priority`.
void RegisterHook(int id, THookFunction func, void* context, int priority);

// Removes the first hook of the chain with this function and context; true when one was found.
bool RemoveHook(int id, THookFunction func, void* context);

// Calls the chain in order, each result becoming the next hook's data; returns the last result.
void* CallHooks(int id, void* data);

// The chain that TEvent::Emit runs, with a TEvent* as data.
int EventEmitHookId();
