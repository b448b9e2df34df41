// SPDX-License-Identifier: GPL-3.0-or-later
// quillmerectl: Quillmere from a terminal, a script or a coding agent. Reads
// its command line, talks to the running Quillmere over the session bus (or
// to its state folder when it is not running), and exits with a status that
// says how it went. Qt Core and D-Bus only: it starts in milliseconds and
// needs no display.

#include "ControlProgram.h"
#include "ExitCode.h"
#include "Invocation.h"
#include "QuillmereClient.h"

#include <QCoreApplication>
#include <QDBusConnection>

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv)
{
    using namespace quillmere;

    // The bus connection wants an application object; it loads nothing.
    QCoreApplication application(argc, argv);
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const auto invocation = Invocation::parse(arguments);
    if (!invocation) {
        std::cerr << "quillmerectl: " << invocation.error().message.toStdString() << "\n";
        // A bad date or range says all there is to say; other mistakes may
        // need the list of commands.
        if (invocation.error().code == ExitCode::usage) {
            std::cerr << QCoreApplication::translate("quillmerectl", "Try 'quillmerectl --help'.").toStdString()
                      << "\n";
        }
        return static_cast<int>(invocation.error().code);
    }
    QuillmereClient client(QDBusConnection::sessionBus());
    ControlProgram program(client, std::cout, std::cerr);
    const ExitCode code = program.run(*invocation);
    // Qt's bus thread keeps dispatching the bus's traffic (names coming and
    // going) while static objects are destroyed, and then warns on standard
    // error about types it no longer knows: noise in a script's error
    // output. Nothing is left to write or release that the kernel does not
    // release, so the process ends here, past the static destructors.
    std::cout.flush();
    std::cerr.flush();
    std::_Exit(static_cast<int>(code));
}
