// SPDX-License-Identifier: GPL-3.0-or-later
// A program that quits on signals the way Quillmere does, for the tests of
// QuitOnSignal: "idle" runs an event loop, "stuck" blocks the loop in a
// system call that a restarted signal never interrupts. Prints "ready" once
// the loop runs.

#include "QuitOnSignal.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const bool stuck = argc > 1 && std::strcmp(argv[1], "stuck") == 0;
    quillmere::QuitOnSignal quitOnSignal;
    QTimer::singleShot(0, [stuck] {
        std::puts("ready");
        std::fflush(stdout);
        if (stuck) {
            int never[2];
            if (::pipe(never) == 0) {
                char byte;
                // Blocks for good: the write end stays open, nobody writes.
                [[maybe_unused]] const auto got = ::read(never[0], &byte, 1);
            }
        }
    });
    return application.exec();
}
