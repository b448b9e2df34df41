// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

namespace quillmere::look {

// The design's progress ring: a full circle of `track` and over it an arc of
// `arc` from twelve o'clock clockwise, `fraction` (0 to 1) of the way round,
// with round ends. Both are strokes `thickness` wide that stay inside
// `bounds` (its largest centred square). The running screens draw their
// large timer ring with it and the status panel its small one, so the two
// look alike.
void drawProgressRing(QPainter& painter, const QRectF& bounds, double fraction, const QColor& arc,
                      const QColor& track, double thickness);

} // namespace quillmere::look
