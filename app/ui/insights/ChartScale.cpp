// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartScale.h"

#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace quillmere {

void scaleFromZero(QValueAxis& axis, double largest, double smallestStep)
{
    constexpr double steps = 4;
    const double rough = std::max(largest / steps, smallestStep);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * power;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    }
    scaleInQuarters(axis, step * steps);
}

void scaleInQuarters(QValueAxis& axis, double top)
{
    const double step = top / 4;
    axis.setTickType(QValueAxis::TicksDynamic);
    axis.setTickAnchor(0);
    axis.setTickInterval(step);
    axis.setRange(0, top * (1 + chartHeadroom));
    axis.setLabelFormat(step == std::floor(step) ? QStringLiteral("%.0f") : QStringLiteral("%.1f"));
}

} // namespace quillmere
