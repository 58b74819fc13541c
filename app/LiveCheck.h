// TLiveCheck: the script checked on a worker thread a short pause after its text stops changing.
//
// The main loop reports every change of the text and, on each pass, offers the input of a check; the
// input is asked for only when the pause is over, so typing costs a counter and a flag. The worker owns
// the one checker and takes the newest request; a change cancels the check under way. Every result
// carries the version of the text it was made for, and only a result for the text as it stands now is
// handed back: one for an older text, cancelled or not, is dropped. A long script's check may give back
// two results, the second (with the linter's) replacing the first.
#pragma once

#include "lua/ScriptCheck.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

class TLiveCheck {
public:
    using Clock = std::chrono::steady_clock;
    // What checks a text; called on the worker thread only. It may hand over a first result before the
    // whole one, as TScriptChecker does for a long script.
    using TChecker = std::function<TCheckResult(
        const TCheckInput& input, const std::atomic<bool>* cancel, const TScriptChecker::TEarlyResult& early)>;

    // Without a checker the worker makes a TScriptChecker of its own.
    explicit TLiveCheck(TChecker checker = {});
    // Cancels the check under way and waits for the worker to end.
    ~TLiveCheck();
    TLiveCheck(const TLiveCheck&) = delete;
    TLiveCheck& operator=(const TLiveCheck&) = delete;

    // How long the text must stay unchanged before it is checked.
    std::chrono::milliseconds delay { 300 };

    // The text changed.
    void Changed(Clock::time_point now = Clock::now());
    // Hands the worker a check when one is due (`input` is asked only then), and gives back the result
    // for the text as it stands, once, when it has come.
    std::optional<TCheckResult> Pass(const std::function<TCheckInput()>& input, Clock::time_point now = Clock::now());
    // Nothing is due, asked for, under way or waiting to be given back.
    bool Idle() const;

private:
    struct TRequest {
        quint64 version = 0;
        TCheckInput input;
    };
    struct TDone {
        quint64 version = 0;
        TCheckResult result;
    };
    void Work();

    TChecker checker;
    // The text's version: only the main thread changes it.
    quint64 version = 0;
    std::optional<Clock::time_point> changedSince;

    mutable std::mutex mutex;
    std::condition_variable wake;
    std::optional<TRequest> request;
    std::optional<TDone> done;
    std::optional<quint64> running; // the version of the check under way
    std::atomic<bool> cancel { false };
    bool stopping = false;
    std::thread worker;
};
