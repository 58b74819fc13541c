#include "app/EndSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
// The handler only writes the signal's number into this pipe; the main thread reads it.
int pipeEnds[2] = { -1, -1 };

void Handle(int signal)
{
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &number, 1);
    errno = saved;
}
} // namespace

void WatchEndSignals(std::function<void(int)> end)
{
    if (pipeEnds[0] >= 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, [end = std::move(end)] {
        unsigned char number = 0;
        if (::read(pipeEnds[0], &number, 1) == 1)
            end(number);
    });
    struct sigaction action { };
    action.sa_handler = Handle;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : { SIGTERM, SIGHUP, SIGINT })
        ::sigaction(signal, &action, nullptr);
}
