// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs the real quillmerectl against the test's private bus and a state
// folder of the test's own, keeping the test's event loop turning meanwhile
// so that an in-process fake Quillmere can answer it.

#include "TempFolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <chrono>
#include <filesystem>
#include <functional>

namespace quillmere::ctltest {

// Turns the event loop until `done`. The deadline only keeps a broken test
// from hanging the suite; nothing is asserted about how long it took.
inline bool spinUntil(const std::function<bool()>& done)
{
    QDeadlineTimer deadline(std::chrono::seconds(60));
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return done();
}

struct CtlResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// One quillmerectl process whose XDG_DATA_HOME is `dataHome`, so that the
// user's own state folder is never read or written by a test.
class Ctl {
public:
    Ctl(const QStringList& arguments, const std::filesystem::path& dataHome)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(dataHome.string()));
        process_.setProcessEnvironment(environment);
        process_.start(QStringLiteral(QUILLMERECTL_BINARY), arguments);
    }
    ~Ctl()
    {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    // The next whole line of standard output, without its newline; empty
    // when the process ended first.
    QString readLine()
    {
        spinUntil([&] { return process_.canReadLine() || process_.state() == QProcess::NotRunning; });
        QString line = QString::fromUtf8(process_.readLine());
        if (line.endsWith(QLatin1Char('\n'))) {
            line.chop(1);
        }
        return line;
    }

    void terminate() { process_.terminate(); }

    CtlResult finish()
    {
        spinUntil([&] { return process_.state() == QProcess::NotRunning; });
        CtlResult result;
        result.exitCode = process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
        result.out = QString::fromUtf8(process_.readAllStandardOutput());
        result.err = QString::fromUtf8(process_.readAllStandardError());
        return result;
    }

private:
    QProcess process_;
};

inline CtlResult runCtl(const QStringList& arguments, const std::filesystem::path& dataHome)
{
    return Ctl(arguments, dataHome).finish();
}

} // namespace quillmere::ctltest
