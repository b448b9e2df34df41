// SPDX-License-Identifier: GPL-3.0-or-later
#include "TimerDial.h"

#include "Look.h"
#include "Motion.h"

#include <QPainter>
#include <QPaintEvent>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quillmere {

namespace {

constexpr int diameter = 232;
constexpr double ringThickness = 10;
constexpr int digitsPixelSize = 56;
constexpr int fullCircle = 360 * 16;

// Where the arc's end stands for a span, in widget coordinates.
QPointF pointOnRing(const QRectF& ring, int span)
{
    // Arcs start at twelve o'clock and run clockwise.
    const double radians = (90.0 - span / 16.0) * std::numbers::pi / 180.0;
    return {ring.center().x() + ring.width() / 2 * std::cos(radians),
            ring.center().y() - ring.height() / 2 * std::sin(radians)};
}

} // namespace

TimerDial::TimerDial(QString accessibleName, QWidget* parent)
    : QLabel(parent), accessibleName_(std::move(accessibleName))
{
    setFont(look::timerFont(digitsPixelSize));
    // Opaque, so a new second repaints this dial alone and nothing behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(sizeHint());
    colour_ = look::accent(palette());
}

QSize TimerDial::sizeHint() const
{
    // Room for "+125:00" inside the ring at any font the desktop gives.
    const int digits = QFontMetrics(font()).horizontalAdvance(QStringLiteral("+888:88"));
    const int side = std::max(diameter, digits + 2 * static_cast<int>(ringThickness) + look::points(32));
    return {side, side};
}

QRectF TimerDial::ringRect() const
{
    const double inset = ringThickness / 2 + 1;
    return QRectF(rect()).adjusted(inset, inset, -inset, -inset);
}

QRect TimerDial::digitsRect() const
{
    const QFontMetrics metrics(font());
    const int height = metrics.height();
    const int inner = width() - 2 * static_cast<int>(ringThickness) - 8;
    return {(width() - inner) / 2, (this->height() - height) / 2, inner, height};
}

QRect TimerDial::captionRect() const
{
    const QRect digits = digitsRect();
    const int height = QFontMetrics(look::captionFont()).height();
    return {digits.left(), digits.bottom() + 1, digits.width(), height};
}

int TimerDial::arcSpan(double fraction)
{
    return static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * fullCircle));
}

QRect TimerDial::changedArcRect(int fromSpan, int toSpan) const
{
    const QRectF ring = ringRect();
    const int low = std::min(fromSpan, toSpan);
    const int high = std::max(fromSpan, toSpan);
    // The chord's ends and, when the change passes one, the ring's extreme
    // points bound the arc that changed.
    QRectF bounds(pointOnRing(ring, low), pointOnRing(ring, high));
    bounds = bounds.normalized();
    for (int quarter = 0; quarter <= fullCircle; quarter += fullCircle / 4) {
        if (quarter > low && quarter < high) {
            const QPointF extreme = pointOnRing(ring, quarter);
            bounds |= QRectF(extreme, QSizeF(0.01, 0.01));
        }
    }
    const double margin = ringThickness / 2 + 2;
    return bounds.adjusted(-margin, -margin, margin, margin).toAlignedRect();
}

void TimerDial::showSpan(int span)
{
    if (span == span_) {
        return;
    }
    const QRect changed = changedArcRect(span_, span);
    span_ = span;
    update(changed);
}

void TimerDial::setProgress(double fraction)
{
    const int span = arcSpan(fraction);
    if (span == targetSpan_ && eased_) {
        return;
    }
    targetSpan_ = span;
    // The first value of a new screen eases in from empty; every later one,
    // a second's step, is drawn as it is.
    if (!eased_) {
        eased_ = true;
        if (look::animationsEnabled() && span > 0) {
            easing_ = new QVariantAnimation(this);
            easing_->setStartValue(0);
            easing_->setEndValue(span);
            easing_->setDuration(2 * look::transitionMilliseconds);
            easing_->setEasingCurve(QEasingCurve::OutCubic);
            connect(easing_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
                showSpan(std::min(value.toInt(), targetSpan_));
            });
            connect(easing_, &QVariantAnimation::finished, this, [this] { showSpan(targetSpan_); });
            easing_->start(QAbstractAnimation::DeleteWhenStopped);
            return;
        }
    }
    // The easing deletes itself when it stops.
    if (easing_.isNull() || easing_->state() != QAbstractAnimation::Running) {
        showSpan(span);
    }
}

void TimerDial::setColour(const QColor& colour)
{
    if (colour == colour_) {
        return;
    }
    colour_ = colour;
    update();
}

void TimerDial::setCaption(const QString& caption)
{
    if (caption == caption_) {
        return;
    }
    caption_ = caption;
    update(captionRect());
}

void TimerDial::setTime(const QString& text)
{
    if (time_ == text) {
        return;
    }
    // Not QLabel::setText, which would repaint the whole dial: the name
    // carries the time to screen readers and only the digits are redrawn.
    time_ = text;
    setAccessibleName(accessibleName_.arg(text));
    update(digitsRect());
}

void TimerDial::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.fillRect(event->rect(), palette().color(backgroundRole()));
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF ring = ringRect();
    painter.setPen(QPen(look::quaternary(palette()), ringThickness, Qt::SolidLine, Qt::FlatCap));
    painter.drawEllipse(ring);
    if (span_ > 0) {
        painter.setPen(QPen(colour_, ringThickness, Qt::SolidLine, Qt::RoundCap));
        painter.drawArc(ring, 90 * 16, -span_);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    painter.drawText(digitsRect(), Qt::AlignCenter, time_);
    if (!caption_.isEmpty()) {
        painter.setFont(look::captionFont());
        painter.setPen(look::secondary(palette()));
        painter.drawText(captionRect(), Qt::AlignHCenter | Qt::AlignTop, caption_);
    }
}

} // namespace quillmere
