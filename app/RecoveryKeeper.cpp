#include "app/RecoveryKeeper.h"

TRecoveryKeeper::TRecoveryKeeper(TRecoveryStore& recoveryStore)
    : store(recoveryStore)
    , worker([this] { Work(); })
{
}

TRecoveryKeeper::~TRecoveryKeeper()
{
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    worker.join();
}

void TRecoveryKeeper::Changed(Clock::time_point now)
{
    if (!changedSince)
        changedSince = now;
}

void TRecoveryKeeper::Pass(const std::function<TRecoverySnapshot()>& snapshot, Clock::time_point now)
{
    if (!changedSince || now - *changedSince < delay)
        return;
    changedSince.reset();
    TRecoverySnapshot copy = snapshot();
    {
        std::lock_guard lock(mutex);
        // A copy not yet written is out of date: only the newest counts.
        pending = std::move(copy);
    }
    wake.notify_all();
}

void TRecoveryKeeper::Discard()
{
    changedSince.reset();
    std::unique_lock lock(mutex);
    pending.reset();
    idle.wait(lock, [this] { return !busy; });
    store.Discard();
}

void TRecoveryKeeper::Flush()
{
    std::unique_lock lock(mutex);
    idle.wait(lock, [this] { return !busy && !pending; });
}

int TRecoveryKeeper::Written() const
{
    std::lock_guard lock(mutex);
    return written;
}

int TRecoveryKeeper::Failed() const
{
    std::lock_guard lock(mutex);
    return failed;
}

void TRecoveryKeeper::Work()
{
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || pending.has_value(); });
        if (stopping)
            return;
        TRecoverySnapshot copy = std::move(*pending);
        pending.reset();
        busy = true;
        lock.unlock();
        const bool ok = store.Write(copy);
        lock.lock();
        busy = false;
        (ok ? written : failed) += 1;
        idle.notify_all();
    }
}
