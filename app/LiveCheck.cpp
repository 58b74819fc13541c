#include "app/LiveCheck.h"

TLiveCheck::TLiveCheck(TChecker check)
    : checker(std::move(check))
    , worker([this] { Work(); })
{
}

TLiveCheck::~TLiveCheck()
{
    {
        std::lock_guard lock(mutex);
        stopping = true;
        cancel = true;
    }
    wake.notify_all();
    worker.join();
}

void TLiveCheck::Changed(Clock::time_point now)
{
    ++version;
    changedSince = now;
    std::lock_guard lock(mutex);
    // A check of the old text is of no use; a newer request replaces one not yet taken.
    if (running)
        cancel = true;
    request.reset();
}

std::optional<TCheckResult> TLiveCheck::Pass(const std::function<TCheckInput()>& input, Clock::time_point now)
{
    if (changedSince && now - *changedSince >= delay) {
        changedSince.reset();
        TRequest next { version, input() };
        {
            std::lock_guard lock(mutex);
            request = std::move(next);
        }
        wake.notify_one();
    }
    std::optional<TDone> taken;
    {
        std::lock_guard lock(mutex);
        if (!done)
            return std::nullopt;
        taken.swap(done);
    }
    if (taken->version != version || taken->result.cancelled)
        return std::nullopt;
    return std::move(taken->result);
}

bool TLiveCheck::Idle() const
{
    std::lock_guard lock(mutex);
    return !changedSince && !request && !running && !done;
}

void TLiveCheck::Work()
{
    // The checker keeps what it can between checks, so it lives as long as the thread.
    std::optional<TScriptChecker> own;
    if (!checker)
        own.emplace();
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || request; });
        if (stopping)
            return;
        TRequest job = std::move(*request);
        request.reset();
        running = job.version;
        cancel = false;
        lock.unlock();
        const TScriptChecker::TEarlyResult early = [&](TCheckResult first) {
            std::lock_guard earlyLock(mutex);
            done = TDone { job.version, std::move(first) };
        };
        TCheckResult result = own ? own->Check(job.input, &cancel, early) : checker(job.input, &cancel, early);
        lock.lock();
        running.reset();
        done = TDone { job.version, std::move(result) };
    }
}
