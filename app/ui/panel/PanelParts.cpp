// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelParts_p.h"

#include "Look.h"

#include <QLabel>

#include <algorithm>

namespace quillmere {

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
