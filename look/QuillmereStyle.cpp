// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuillmereStyle.h"

#include "Look.h"

#include "quillmere/QuillmereDesign.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabBar>

#include <algorithm>

namespace quillmere::look {

namespace {

const char* const roleProperty = "quillmereRole";

// Room kept around a button's shape for its focus ring.
constexpr double ringWidth = 2.0;

QPainterPath roundedShape(const QRectF& area, double radius)
{
    QPainterPath shape;
    shape.addRoundedRect(area, radius, radius);
    return shape;
}

bool keyboardFocus(const QStyleOption* option)
{
    return (option->state & QStyle::State_HasFocus) && (option->state & QStyle::State_KeyboardFocusChange);
}

void drawFocusRing(QPainter* painter, const QRectF& area, const QPalette& palette, double radius)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(legible(accent(palette), palette), ringWidth));
    const double half = ringWidth / 2;
    painter->drawPath(roundedShape(area.adjusted(half, half, -half, -half), radius + half));
    painter->restore();
}

} // namespace

QuillmereStyle::QuillmereStyle(QStyle* base) : QProxyStyle(base ? base : QStyleFactory::create(QStringLiteral("Fusion")))
{
}

bool QuillmereStyle::ownsShapes() const
{
    return baseStyle()->name().compare(QStringLiteral("fusion"), Qt::CaseInsensitive) == 0;
}

void QuillmereStyle::polish(QWidget* widget)
{
    QProxyStyle::polish(widget);
    if (qobject_cast<QPushButton*>(widget) || qobject_cast<QTabBar*>(widget)) {
        widget->setAttribute(Qt::WA_Hover);
    }
}

QSize QuillmereStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                       const QWidget* widget) const
{
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    switch (type) {
    case CT_PushButton:
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
            button && (button->features & QStyleOptionButton::Flat)) {
            // A link keeps close to its text: room for the focus ring and a
            // hover shape just larger than the words.
            const int margin = 2 * (static_cast<int>(ringWidth) + points(QuillmereDesign::Spacing::tight));
            result = size + QSize(margin, margin);
            break;
        }
        // A label with a comfortable margin on every side, whatever the base
        // style thinks a button needs.
        result.setWidth(std::max(result.width(), size.width() + points(QuillmereDesign::Spacing::section) + 16));
        result.setHeight(std::max(result.height(), size.height() + points(QuillmereDesign::Spacing::loose) + 4));
        break;
    case CT_TabBarTab:
        if (ownsShapes()) {
            result += QSize(points(QuillmereDesign::Spacing::snug), points(QuillmereDesign::Spacing::snug));
        }
        break;
    default: break;
    }
    return result;
}

void QuillmereStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const
{
    if (ownsShapes()) {
        switch (element) {
        case PE_PanelButtonCommand: drawButtonBevel(option, painter, false); return;
        case PE_FrameFocusRect:
            // A list marks its current row itself; a ring on every row would shout.
            if (!qobject_cast<const QAbstractItemView*>(widget)) {
                // A little outside the text it rings, so that it never touches a letter.
                drawFocusRing(painter, QRectF(option->rect).adjusted(-3, -1, 3, 1), option->palette,
                              QuillmereDesign::Radius::control / 2);
                return;
            }
            break;
        case PE_FrameTabBarBase: {
            painter->save();
            painter->setPen(QPen(hairline(option->palette), 1));
            const QRect area = option->rect;
            painter->drawLine(area.bottomLeft(), area.bottomRight());
            painter->restore();
            return;
        }
        default: break;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void QuillmereStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const
{
    const bool primary = isPrimary(widget);
    switch (element) {
    case CE_PushButtonBevel:
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
            button && (button->features & QStyleOptionButton::Flat) && !primary) {
            drawFlatBevel(option, painter);
            return;
        }
        if (primary || ownsShapes()) {
            drawButtonBevel(option, painter, primary);
            return;
        }
        break;
    case CE_PushButtonLabel:
        if (primary) {
            if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
                QStyleOptionButton onAccent = *button;
                for (const auto group : {QPalette::Active, QPalette::Inactive}) {
                    onAccent.palette.setColor(group, QPalette::ButtonText,
                                              button->palette.color(group, QPalette::HighlightedText));
                }
                QProxyStyle::drawControl(element, &onAccent, painter, widget);
                return;
            }
        }
        break;
    case CE_TabBarTabShape:
        if (ownsShapes()) {
            drawTabShape(option, painter);
            return;
        }
        break;
    case CE_TabBarTabLabel:
        if (ownsShapes()) {
            if (const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option)) {
                // The chosen tab reads in full strength, the others recede.
                QStyleOptionTab quiet = *tab;
                if (!(tab->state & State_Selected)) {
                    quiet.palette.setColor(QPalette::WindowText, secondary(tab->palette));
                    quiet.palette.setColor(QPalette::ButtonText, secondary(tab->palette));
                }
                QProxyStyle::drawControl(element, &quiet, painter, widget);
                return;
            }
        }
        break;
    default: break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void QuillmereStyle::drawButtonBevel(const QStyleOption* option, QPainter* painter, bool primary) const
{
    const QPalette& palette = option->palette;
    const bool enabled = option->state & State_Enabled;
    const bool pressed = option->state & (State_Sunken | State_On);
    const bool hovered = enabled && (option->state & State_MouseOver);
    const double radius = QuillmereDesign::Radius::control;
    const QRectF shape = QRectF(option->rect).adjusted(ringWidth + 0.5, ringWidth + 0.5, -ringWidth - 0.5,
                                                       -ringWidth - 0.5);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (primary) {
        QColor fill = palette.color(QPalette::Highlight);
        if (!enabled) {
            fill = quaternary(palette);
        } else if (pressed) {
            fill = fill.darker(118);
        } else if (hovered) {
            fill = fill.lighter(110);
        }
        painter->setPen(Qt::NoPen);
        painter->setBrush(fill);
        painter->drawPath(roundedShape(shape, radius));
    } else {
        QColor fill = palette.color(QPalette::Button);
        if (pressed) {
            fill = fill.darker(112);
        } else if (hovered) {
            fill = fill.lighter(106);
            if (fill == palette.color(QPalette::Button)) {
                fill = fill.darker(104); // a white button has nowhere lighter to go
            }
        }
        painter->setPen(QPen(enabled ? hairline(palette).darker(120) : hairline(palette), 1));
        painter->setBrush(fill);
        painter->drawPath(roundedShape(shape, radius));
    }
    painter->restore();
    if (keyboardFocus(option)) {
        drawFocusRing(painter, option->rect, palette, radius);
    }
}

void QuillmereStyle::drawFlatBevel(const QStyleOption* option, QPainter* painter) const
{
    // A flat button reads as a link: no shape at rest, a faint one under the
    // pointer or while pressed.
    const bool enabled = option->state & State_Enabled;
    const bool pressed = option->state & (State_Sunken | State_On);
    const bool hovered = enabled && (option->state & State_MouseOver);
    const double radius = QuillmereDesign::Radius::control;
    if (pressed || hovered) {
        const QRectF shape = QRectF(option->rect).adjusted(ringWidth, ringWidth, -ringWidth, -ringWidth);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(pressed ? tertiary(option->palette) : quaternary(option->palette));
        painter->drawPath(roundedShape(shape, radius));
        painter->restore();
    }
    if (keyboardFocus(option)) {
        drawFocusRing(painter, option->rect, option->palette, radius);
    }
}

void QuillmereStyle::drawTabShape(const QStyleOption* option, QPainter* painter) const
{
    const QPalette& palette = option->palette;
    const QRectF area = QRectF(option->rect).adjusted(2, 4, -2, 0);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if ((option->state & State_MouseOver) && !(option->state & State_Selected)) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(quaternary(palette));
        painter->drawPath(roundedShape(area.adjusted(0, 0, 0, -4), QuillmereDesign::Radius::control));
    }
    if (option->state & State_Selected) {
        // An underline in the accent marks where the user is.
        const double thickness = 3;
        const QRectF bar(area.left() + 6, area.bottom() - thickness, area.width() - 12, thickness);
        painter->setPen(Qt::NoPen);
        painter->setBrush(legible(accent(palette), palette));
        painter->drawRoundedRect(bar, thickness / 2, thickness / 2);
    }
    painter->restore();
    if (keyboardFocus(option)) {
        drawFocusRing(painter, area.adjusted(0, 0, 0, -4), palette, QuillmereDesign::Radius::control);
    }
}

void installStyle(QStyle* base)
{
    QApplication::setStyle(new QuillmereStyle(base));
}

void makePrimary(QPushButton& button)
{
    button.setProperty(roleProperty, QStringLiteral("primary"));
    // The style reads the mark when it paints; a widget already polished
    // must be told.
    button.style()->unpolish(&button);
    button.style()->polish(&button);
    button.update();
}

bool isPrimary(const QWidget* widget)
{
    return widget != nullptr && widget->property(roleProperty).toString() == QStringLiteral("primary");
}

} // namespace quillmere::look
