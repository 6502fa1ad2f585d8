// SPDX-FileCopyrightText: 2026 The Trelvanix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/EndRequests.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace
{
int pipeEnds[2] = {-1, -1};
volatile sig_atomic_t noting = 0;
constexpr int endSignals[] = {SIGTERM, SIGINT, SIGHUP};

// All a signal handler may safely do: write one byte to the pipe, or end.
void noteSignal(int)
{
    if (!noting)
        ::_exit(0);
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

void takeEndSignals()
{
    struct sigaction action {
    };
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigset_t blocked;
    sigemptyset(&blocked);
    for (const int signal : endSignals) {
        ::sigaction(signal, &action, nullptr);
        sigaddset(&blocked, signal);
    }
    ::sigprocmask(SIG_UNBLOCK, &blocked, nullptr);
}
} // namespace

void endAtOnceOnRequests()
{
    if (!noting)
        takeEndSignals();
}

void catchEndRequests()
{
    if (pipeEnds[0] >= 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    noting = 1;
    takeEndSignals();
}

void onEndRequested(QObject *context, std::function<void()> handler)
{
    catchEndRequests();
    if (pipeEnds[0] < 0)
        return;
    // Bytes written before this point make the pipe readable at once.
    auto *notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context,
                     [handler = std::move(handler)] {
                         char bytes[64];
                         while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
                         }
                         handler();
                     });
}
