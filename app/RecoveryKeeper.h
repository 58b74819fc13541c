// Keeps a recovery copy of the unsaved script, written by a thread of its own so that typing never
// waits for the disk.
//
// The main loop reports every change and asks, on each pass, whether a copy is due: the first change
// after a copy starts a two-second wait, so a copy follows at most two seconds behind the typing, also
// while typing goes on. Taking the copy's text is the main thread's only work.
#pragma once

#include "resources/RecoveryFile.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

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
    // Hands a copy to the writer when one is due; `snapshot` is asked only then.
    void Pass(const std::function<TRecoverySnapshot()>& snapshot, Clock::time_point now = Clock::now());
    // The script is safe (saved, replaced or given up by the user): forgets any change not yet copied,
    // waits for a write under way and deletes the copy.
    void Discard();
    // Waits until every copy handed over is written.
    void Flush();
    // Copies written, and copies that failed to be written.
    int Written() const;
    int Failed() const;

private:
    void Work();

    TRecoveryStore& store;
    std::optional<Clock::time_point> changedSince;

    mutable std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::optional<TRecoverySnapshot> pending;
    bool busy = false;
    bool stopping = false;
    int written = 0;
    int failed = 0;
    std::thread worker;
};
