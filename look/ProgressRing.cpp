// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressRing.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace quillmere::look {

void drawProgressRing(QPainter& painter, const QRectF& bounds, double fraction, const QColor& arc,
                      const QColor& track, double thickness)
{
    const double side = std::min(bounds.width(), bounds.height());
    if (side <= thickness) {
        return;
    }
    const double inset = thickness / 2;
    QRectF circle(0, 0, side, side);
    circle.moveCenter(bounds.center());
    circle.adjust(inset, inset, -inset, -inset);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(track, thickness));
    painter.drawEllipse(circle);
    // Qt counts angles in sixteenths of a degree, anticlockwise from three
    // o'clock.
    const double shown = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
    const int span = static_cast<int>(std::lround(shown * 360 * 16));
    if (span > 0) {
        painter.setPen(QPen(arc, thickness, Qt::SolidLine, span >= 360 * 16 ? Qt::FlatCap : Qt::RoundCap));
        painter.drawArc(circle, 90 * 16, -span);
    }
    painter.restore();
}

} // namespace quillmere::look
