// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionDots.h"

#include "Look.h"

#include <QPainter>

#include <algorithm>

namespace quillmere {

namespace {

constexpr double dot = 8;
constexpr double gap = 6;
// A block of many sessions still fits a narrow window.
constexpr int mostDots = 24;

} // namespace

SessionDots::SessionDots(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SessionDots::showProgress(int current, int planned, const QColor& colour)
{
    planned = std::clamp(planned, 0, mostDots);
    current = std::clamp(current, 0, planned);
    if (current == current_ && planned == planned_ && colour == colour_) {
        return;
    }
    const bool resized = planned != planned_;
    current_ = current;
    planned_ = planned;
    colour_ = colour;
    if (resized) {
        setFixedSize(sizeHint());
    }
    update();
}

QSize SessionDots::sizeHint() const
{
    const double width = planned_ > 0 ? planned_ * dot + (planned_ - 1) * gap + 4 : 0;
    return {static_cast<int>(std::ceil(width)), static_cast<int>(dot) + 4};
}

void SessionDots::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int index = 0; index < planned_; ++index) {
        const QRectF area(2 + index * (dot + gap), 2, dot, dot);
        const int number = index + 1;
        if (number < current_) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour_);
            painter.drawEllipse(area);
        } else if (number == current_) {
            painter.setPen(QPen(colour_, 2));
            painter.setBrush(colour_);
            painter.drawEllipse(area.adjusted(-1, -1, 1, 1));
        } else {
            painter.setPen(QPen(look::tertiary(palette()), 1.2));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(area.adjusted(0.6, 0.6, -0.6, -0.6));
        }
    }
}

} // namespace quillmere
