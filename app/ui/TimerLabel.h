// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QString>

namespace quillmere {

// The running timer of the focus and break screens and of the status panel:
// its own small opaque label of fixed size, so that the once-a-second change
// repaints only itself and lays out nothing else.
class TimerLabel : public QLabel {
    Q_OBJECT

public:
    // `accessibleName` says what the timer is, with %1 for the time shown:
    // "Focus timer %1".
    TimerLabel(QString accessibleName, int pointSize, QWidget* parent = nullptr);
    void setTime(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString accessibleName_;
};

} // namespace quillmere
