// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

namespace quillmere {

// Turns SIGTERM, SIGINT and SIGHUP into an orderly quit, so that a logout or
// Ctrl+C in a terminal still writes the held-back draft and the window's
// frame. The handler only writes a byte into a socket; the event loop reads
// it and quits. Should that not end the process within a second (the loop
// stuck in a system call), the signal then takes its default course.
class QuitOnSignal final : public QObject {
    Q_OBJECT

public:
    explicit QuitOnSignal(QObject* parent = nullptr);
    ~QuitOnSignal() override;

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace quillmere
