// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuitOnSignal.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace quillmere {
namespace {

int signalSockets[2] = {-1, -1};
volatile std::sig_atomic_t quitSignal = 0;

// How long the orderly quit may take before the signal takes its default
// course: whatever the event loop is stuck in, a quit signal ends the
// process within this. Every save is atomic, so nothing is left half-written.
constexpr unsigned quitDeadlineSeconds = 1;

void endWithTheQuitSignal(int)
{
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(quitSignal, &action, nullptr);
    ::raise(quitSignal);
}

void forwardSignal(int signal)
{
    if (quitSignal == 0) {
        quitSignal = signal;
        ::alarm(quitDeadlineSeconds);
    }
    const char byte = 1;
    // Nothing to do on failure: a full socket already has a quit pending.
    [[maybe_unused]] const auto written = ::write(signalSockets[0], &byte, 1);
}

} // namespace

QuitOnSignal::QuitOnSignal(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSockets) != 0) {
        return;
    }
    notifier_ = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [] {
        char buffer[16];
        while (::read(signalSockets[1], buffer, sizeof buffer) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
    struct sigaction deadline {};
    deadline.sa_handler = endWithTheQuitSignal;
    sigemptyset(&deadline.sa_mask);
    ::sigaction(SIGALRM, &deadline, nullptr);
}

QuitOnSignal::~QuitOnSignal()
{
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
    for (int& socket : signalSockets) {
        if (socket >= 0) {
            ::close(socket);
            socket = -1;
        }
    }
}

} // namespace quillmere
