// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

namespace quillmere {

// The block's progress under the timer: one dot per planned session, the
// finished ones filled, the current one filled and ringed, the rest a faint
// outline. A picture only; the caption beside it ("Session 3 of 8") is what
// screen readers read.
class SessionDots : public QWidget {
    Q_OBJECT

public:
    explicit SessionDots(QWidget* parent = nullptr);

    // `current` counts from 1; 0 when no session has started.
    void showProgress(int current, int planned, const QColor& colour);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int current_ = 0;
    int planned_ = 0;
    QColor colour_;
};

} // namespace quillmere
