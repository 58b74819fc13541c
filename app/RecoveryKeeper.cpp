#include "app/RecoveryKeeper.h"

TRecoveryKeeper::TRecoveryKeeper(TRecoveryStore& recoveryStore)
    : store(recoveryStore)
{
    // One more thread than copies under way: the one that syncs the folder after a copy's first
    // placing is free for the next copy meanwhile.
    for (int i = 0; i <= Writers; ++i)
        workers.emplace_back([this] { Work(); });
}

TRecoveryKeeper::~TRecoveryKeeper()
{
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    for (std::thread& worker : workers)
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
    {
        // Only this thread hands copies over, so a writer free now is still free below.
        std::lock_guard lock(mutex);
        if (underWay >= Writers)
            return; // stays due: taken the moment a writer is free
    }
    changedSince.reset();
    Job job { snapshot(), 0 };
    {
        std::lock_guard lock(mutex);
        job.order = ++issued;
        queue.push_back(std::move(job));
        ++underWay;
    }
    wake.notify_one();
}

bool TRecoveryKeeper::WriteNow(const TRecoverySnapshot& snapshot)
{
    changedSince.reset();
    quint64 order = 0;
    {
        std::unique_lock lock(mutex);
        idle.wait(lock, [this] { return underWay == 0; });
        order = ++issued;
    }
    const TRecoveryWrite result = store.Write(snapshot, order);
    store.SyncNewName();
    std::lock_guard lock(mutex);
    Record(order, result);
    return result.kept;
}

void TRecoveryKeeper::Discard()
{
    changedSince.reset();
    std::unique_lock lock(mutex);
    underWay -= int(queue.size());
    queue.clear();
    idle.wait(lock, [this] { return underWay == 0; });
    store.Discard();
}

void TRecoveryKeeper::Flush()
{
    std::unique_lock lock(mutex);
    idle.wait(lock, [this] { return underWay == 0; });
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

QString TRecoveryKeeper::Problem() const
{
    std::lock_guard lock(mutex);
    // Before any copy, the store may have found its folder unusable at the start.
    return reported == 0 ? store.Problem() : problem;
}

void TRecoveryKeeper::Record(quint64 order, const TRecoveryWrite& result)
{
    (result.kept ? written : failed) += 1;
    // An older copy that ends after a newer one has nothing more to tell.
    if (order > reported) {
        reported = order;
        problem = result.kept ? QString() : result.problem;
    }
}

void TRecoveryKeeper::Work()
{
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || !queue.empty(); });
        if (stopping)
            return;
        Job job = std::move(queue.front());
        queue.pop_front();
        lock.unlock();
        const TRecoveryWrite result = store.Write(job.snapshot, job.order);
        lock.lock();
        Record(job.order, result);
        --underWay;
        idle.notify_all();
        lock.unlock();
        store.SyncNewName();
        lock.lock();
    }
}
