// When this process started, for telling files that an earlier, killed editor left behind from those
// another editor is writing now.
#pragma once

#include <ctime>

// Read from the clock that stamps files: the precise clock runs up to a few milliseconds ahead of it,
// and a file written just after the start could seem older than the start.
inline const timespec ProcessStart = [] {
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return now;
}();

// A file time from before this process started.
inline bool BeforeProcessStart(const timespec& time)
{
    return time.tv_sec < ProcessStart.tv_sec
        || (time.tv_sec == ProcessStart.tv_sec && time.tv_nsec < ProcessStart.tv_nsec);
}
