// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

class QValueAxis;

namespace quillmere {

// The share of its height that an axis reaches beyond its last tick, so that
// a point drawn at the top is drawn whole; every axis beside a chart's
// other axes has the same, so that their ticks line up.
inline constexpr double chartHeadroom = 0.04;

// Sets a value axis from zero to a round number at or above `largest`, in
// four equal steps of 1, 2 or 5 times a power of ten, never steps smaller
// than `smallestStep`, with as many decimals as the steps need.
void scaleFromZero(QValueAxis& axis, double largest, double smallestStep);

// Sets a value axis from zero to `top` in four equal steps.
void scaleInQuarters(QValueAxis& axis, double top);

// A line's points are marked while there are few of them; more marks than
// this would crowd into a band that hides the line.
inline constexpr qsizetype mostMarkedPoints = 31;

} // namespace quillmere
