#include "platform/termination.h"

#include <QObject>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform
{
namespace
{
int signalPipe[2] = {-1, -1};

// Only what is safe in a signal handler: one byte into the pipe.
void onSignal(int signal)
{
    const char byte = char(signal);
    const ssize_t written = ::write(signalPipe[1], &byte, 1);
    (void)written; // a full pipe already holds a wake-up
}
} // namespace

void WatchTerminationSignals(QObject *context, std::function<void()> handler)
{
    if (signalPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [handler = std::move(handler)]() {
        char bytes[16];
        const ssize_t got = ::read(signalPipe[0], bytes, sizeof bytes);
        (void)got;
        handler();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(s, &action, nullptr);
}
} // namespace platform
