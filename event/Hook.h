// Hook chains: prioritised callbacks by id. The event chain carries every emitted TEvent.
#pragma once

#include <array>

// A hook gets the chain's id, the data handed along the chain and its own context; its result is the
// data for the next hook.
using THookFunction = void* (*)(int id, void* data, void* context);

struct THook {
    THook* succ = nullptr;
    int priority = 0;
    THookFunction func = nullptr;
    void* context = nullptr;
};

// The chains of one process. The program uses the one HookRegistry(); a test that must use up the ids
// makes its own.
class THookRegistry {
public:
    static constexpr int MaxIds = 256;

    THookRegistry() = default;
    ~THookRegistry();
    THookRegistry(const THookRegistry&) = delete;
    THookRegistry& operator=(const THookRegistry&) = delete;

    // Allocates ids 1, 2, 3 ...; the 256th request throws TRuntimeError("Too many hook ids").
    int NewId();
    // Inserts after every hook whose priority is greater than or equal to `priority`.
    void Register(int id, THookFunction func, void* context, int priority);
    // Removes the first hook of the chain with this function and context; true when one was found.
    bool Remove(int id, THookFunction func, void* context);
    // Calls the chain in order, each result becoming the next hook's data; returns the last result.
    void* Call(int id, void* data);

private:
    THook*& ChainOf(int id);

    std::array<THook*, MaxIds> chains {};
    int lastId = 0;
};

THookRegistry& HookRegistry();

// The process's registry, as the layers use it.
int NewHookId();
void RegisterHook(int id, THookFunction func, void* context, int priority);
bool RemoveHook(int id, THookFunction func, void* context);
void* CallHooks(int id, void* data);

// The chain that TEvent::Emit runs, with a TEvent* as data.
int EventEmitHookId();
