// SPDX-License-Identifier: GPL-3.0-or-later
#include "TimerDial.h"

#include "Look.h"
#include "Motion.h"
#include "ProgressRing.h"

#include <QPainter>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quillmere {

namespace {

constexpr int diameter = 232;
constexpr int smallestDiameter = 160;
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
    // Opaque, so a new second repaints this dial alone and nothing behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Its width stays; a short window takes height from it, down to the
    // least that still holds the digits.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    colour_ = look::accent(palette());
}

QSize TimerDial::sizeHint() const
{
    return {diameter, diameter};
}

QSize TimerDial::minimumSizeHint() const
{
    return {diameter, smallestDiameter};
}

void TimerDial::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    digitsFont_ = fittedDigitsFont();
}

void TimerDial::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        digitsFont_ = fittedDigitsFont();
    }
}

QFont TimerDial::fittedDigitsFont() const
{
    // The digits grow and shrink with the ring, "+125:00" still inside it.
    const double side = ringRect().width() - 3 * ringThickness;
    QFont font = look::timerFont(digitsPixelSize);
    const double wide = QFontMetricsF(font).horizontalAdvance(QStringLiteral("+888:88"));
    const double scale = std::min(1.0, side / wide);
    font.setPixelSize(std::max(1, static_cast<int>(digitsPixelSize * std::min(scale, side / diameter * 1.25))));
    return font;
}

QRectF TimerDial::ringRect() const
{
    const double side = std::min(width(), height());
    const double inset = ringThickness / 2 + 1;
    const QRectF square((width() - side) / 2, (height() - side) / 2, side, side);
    return square.adjusted(inset, inset, -inset, -inset);
}

QRect TimerDial::digitsRect() const
{
    const QFontMetrics metrics(digitsFont_);
    const int height = metrics.height();
    // Narrower than the hollow by a margin, so that its corners stay clear
    // of the ring and a tick of the digits never redraws the ring.
    const int inner = static_cast<int>(ringRect().width()) - 3 * static_cast<int>(ringThickness);
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
    // A 25-minute session moves the arc's end by under half a pixel a
    // second: it is redrawn once the move is a pixel, and at the ends.
    const double moved = std::abs(span - span_) * std::numbers::pi * ringRect().width() / fullCircle;
    if (span == span_ || (moved < 1.0 && span != 0 && span != fullCircle)) {
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
    const QRect dirty = event->rect();
    painter.setClipRegion(event->region());
    painter.fillRect(dirty, palette().color(backgroundRole()));
    painter.setRenderHint(QPainter::Antialiasing);
    // A second's tick dirties the digits, inside the ring's hollow, and a
    // sliver of the arc: each is drawn only where it was dirtied.
    const QRectF ring = ringRect();
    const double hollow = ring.width() / 2 - ringThickness / 2 - 1;
    const auto inHollow = [&](QPointF corner) {
        const QPointF offset = corner - ring.center();
        return offset.x() * offset.x() + offset.y() * offset.y() < hollow * hollow;
    };
    const QRectF area(dirty);
    if (!(inHollow(area.topLeft()) && inHollow(area.topRight()) && inHollow(area.bottomLeft()) &&
          inHollow(area.bottomRight()))) {
        const double half = ringThickness / 2;
        look::drawProgressRing(painter, ring.adjusted(-half, -half, half, half), double(span_) / fullCircle, colour_,
                               look::quaternary(palette()), ringThickness);
    }
    if (dirty.intersects(digitsRect())) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setFont(digitsFont_);
        painter.drawText(digitsRect(), Qt::AlignCenter, time_);
    }
    if (!caption_.isEmpty() && dirty.intersects(captionRect())) {
        painter.setFont(look::captionFont());
        painter.setPen(look::secondary(palette()));
        painter.drawText(captionRect(), Qt::AlignHCenter | Qt::AlignTop, caption_);
    }
}

} // namespace quillmere
