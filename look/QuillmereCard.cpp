// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuillmereCard.h"

#include "Look.h"

#include <QPainter>
#include <QPainterPath>

namespace quillmere {

QuillmereCard::QuillmereCard(double radius, std::optional<QColor> tint, QWidget* parent)
    : QWidget(parent), radius_(radius), tint_(std::move(tint))
{
    const int padding = look::points(radius >= QuillmereDesign::Radius::card ? QuillmereDesign::Spacing::loose
                                                                             : QuillmereDesign::Spacing::snug);
    setContentsMargins(padding, padding, padding, padding);
}

void QuillmereCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius_, radius_);
    painter.fillPath(shape, look::surface(palette()));
    if (tint_) {
        painter.fillPath(shape, *tint_);
    }
    painter.setPen(QPen(look::hairline(palette()), 1));
    painter.drawPath(shape);
}

} // namespace quillmere
