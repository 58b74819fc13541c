// The signals that ask the editor to end (SIGTERM from a shutdown or kill, SIGHUP from a closed
// terminal, SIGINT from Ctrl+C in it), turned into a call on the main thread.
#pragma once

#include <functional>

// From now on each of those signals calls `end` with its number, from the main thread's event
// processing (in a requester's loop too), never from inside the signal handler. Once per process, after
// the widget layer started.
void WatchEndSignals(std::function<void(int signal)> end);
