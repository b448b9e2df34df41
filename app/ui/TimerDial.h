// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QLabel>
#include <QPointer>
#include <QString>

class QVariantAnimation;

namespace quillmere {

// The running screens' timer: the time in large light digits in the middle
// of a ring that fills as the session goes. A label to screen readers, named
// with what it times and the time ("Focus timer 17:48"). A
// second's tick repaints the digits, and the ring only where its arc moved
// by a visible step: the dial never asks the screen to lay out again.
class TimerDial : public QLabel {
    Q_OBJECT

public:
    // `accessibleName` says what the timer is, with %1 for the time shown:
    // "Focus timer %1".
    explicit TimerDial(QString accessibleName, QWidget* parent = nullptr);

    void setTime(const QString& text);
    QString time() const { return time_; }
    // How much of the session has gone, 0 to 1.
    void setProgress(double fraction);
    void setColour(const QColor& colour);
    // A word under the digits ("Paused"), or nothing.
    void setCaption(const QString& caption);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The arc's end in sixteenths of a degree, as QPainter draws arcs.
    static int arcSpan(double fraction);
    QRectF ringRect() const;
    QFont fittedDigitsFont() const;
    QRect digitsRect() const;
    QRect captionRect() const;
    QRect changedArcRect(int fromSpan, int toSpan) const;
    void showSpan(int span);

    QString accessibleName_;
    QString time_;
    QFont digitsFont_;
    QString caption_;
    QColor colour_;
    int span_ = 0;
    int targetSpan_ = 0;
    bool eased_ = false;
    QPointer<QVariantAnimation> easing_;
};

} // namespace quillmere
