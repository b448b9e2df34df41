// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelParts_p.h"

#include "Look.h"
#include "ProgressRing.h"

#include "quillmere/QuillmereDesign.h"

#include <QLabel>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quillmere {

PhaseRing::PhaseRing(QWidget* parent) : QWidget(parent)
{
    const int side = look::points(40);
    setFixedSize(side, side);
}

double PhaseRing::ringThickness() const
{
    return look::points(3);
}

void PhaseRing::setPhase(std::string_view symbol, const QColor& colour)
{
    if (symbol_ != symbol || colour_ != colour) {
        symbol_ = symbol;
        colour_ = colour;
        update();
    }
}

void PhaseRing::setProgress(std::optional<double> fraction)
{
    if (fraction) {
        fraction = std::clamp(*fraction, 0.0, 1.0);
    }
    // Half a pixel along the ring is the least change that shows.
    const double circumference = std::numbers::pi * (width() - ringThickness());
    const bool visible = fraction.has_value() != fraction_.has_value() ||
                         (fraction && std::abs(*fraction - *fraction_) * circumference >= 0.5) ||
                         (fraction && (*fraction == 0 || *fraction == 1) && *fraction != *fraction_);
    if (visible) {
        fraction_ = fraction;
        update();
    }
}

void PhaseRing::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF disc = rect();
    if (fraction_) {
        look::drawProgressRing(painter, rect(), *fraction_, colour_, look::quaternary(palette()), ringThickness());
        const double inset = ringThickness() + look::points(QuillmereDesign::Spacing::tight) / 2.0;
        disc.adjust(inset, inset, -inset, -inset);
    }
    QColor tint = colour_;
    tint.setAlphaF(0.14f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tint);
    painter.drawEllipse(disc);
    const double symbolSide = std::round(width() * 0.5);
    QRectF symbol(0, 0, symbolSide, symbolSide);
    symbol.moveCenter(QRectF(rect()).center());
    look::symbolIcon(symbol_, colour_).paint(&painter, symbol.toRect());
}

Hairline::Hairline(QWidget* parent) : QWidget(parent)
{
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void Hairline::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), look::hairline(palette()));
}

void setForeground(QWidget& widget, const QColor& colour, QPalette::ColorRole role)
{
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    widget.setPalette(palette);
}

QLabel* plainLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QFont scaledFont(QFont font, double factor)
{
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(std::max(8.0, font.pointSizeF() * factor));
    }
    return font;
}

QFont smallCaptionFont()
{
    return scaledFont(look::captionFont(), 0.9);
}

} // namespace quillmere
