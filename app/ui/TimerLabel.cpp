// SPDX-License-Identifier: GPL-3.0-or-later
#include "TimerLabel.h"

#include "Look.h"

#include <QPainter>

namespace quillmere {

TimerLabel::TimerLabel(QString accessibleName, int pointSize, QWidget* parent)
    : QLabel(parent), accessibleName_(std::move(accessibleName))
{
    setFont(look::timerFont(pointSize));
    // Opaque, so a new second repaints this label alone and nothing behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
}

void TimerLabel::paintEvent(QPaintEvent* event)
{
    // An opaque widget must cover every pixel itself.
    QPainter(this).fillRect(rect(), palette().color(backgroundRole()));
    QLabel::paintEvent(event);
}

void TimerLabel::setTime(const QString& text)
{
    if (this->text() == text) {
        return;
    }
    setText(text);
    // A widget of fixed size does not ask its screen to lay out again when
    // its text changes, so the once-a-second tick measures nothing else on
    // the screen (a long plan in the rows beside it). The size follows the
    // text only when the text needs another.
    if (const QSize hint = sizeHint(); minimumSize() != hint || maximumSize() != hint) {
        setFixedSize(hint);
    }
    setAccessibleName(accessibleName_.arg(text));
}

} // namespace quillmere
