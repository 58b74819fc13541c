// Keeps a recovery copy of the unsaved script, written by threads of their own so that typing never
// waits for the disk.
//
// The main loop reports every change and asks, on each pass, whether a copy is due: the first change
// after a copy starts a two-second wait, so a copy follows at most two seconds behind the typing, also
// while typing goes on. Taking the copy's text is the main thread's only work, and it is taken only
// when a writer is free to start on it at once: on a slow disk a copy waiting behind a slow one would be
// old before it is written. Two copies may be on their way at a time, so that a disk that takes longer
// than the wait to sync a copy still gets a newer one every wait; the newer always wins.
#pragma once

#include "resources/RecoveryStore.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class TRecoveryKeeper {
public:
    using Clock = std::chrono::steady_clock;

    explicit TRecoveryKeeper(TRecoveryStore& store);
    ~TRecoveryKeeper();
    TRecoveryKeeper(const TRecoveryKeeper&) = delete;
    TRecoveryKeeper& operator=(const TRecoveryKeeper&) = delete;

    // How long a change waits before it is copied.
    std::chrono::milliseconds delay { 2000 };

    // The script changed.
    void Changed(Clock::time_point now = Clock::now());
    // Hands a copy to a writer when one is due and a writer is free; `snapshot` is asked only then.
    void Pass(const std::function<TRecoverySnapshot()>& snapshot, Clock::time_point now = Clock::now());
    // Writes a copy of `snapshot` now, on the calling thread, once the copies under way are written:
    // the editor is about to end. True when it was kept.
    bool WriteNow(const TRecoverySnapshot& snapshot);
    // The script is safe (saved, replaced or given up by the user): forgets any change not yet copied,
    // waits for the writes under way and deletes the copy.
    void Discard();
    // Waits until every copy handed over is written.
    void Flush();
    // Copies written, and copies that failed to be written.
    int Written() const;
    int Failed() const;
    // Why the newest copy written could not be kept; empty while copies are kept. Before the first
    // copy, why the store found its folder unusable, if it did.
    QString Problem() const;

private:
    struct Job {
        TRecoverySnapshot snapshot;
        quint64 order;
    };
    void Work();
    void Record(quint64 order, const TRecoveryWrite& result);

    TRecoveryStore& store;
    std::optional<Clock::time_point> changedSince;

    static constexpr int Writers = 2;
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<Job> queue;
    int underWay = 0; // copies handed over and not yet written, the queued ones included
    quint64 issued = 0;
    quint64 reported = 0; // the order of the copy whose result `problem` tells
    bool stopping = false;
    int written = 0;
    int failed = 0;
    QString problem;
    std::vector<std::thread> workers;
};
