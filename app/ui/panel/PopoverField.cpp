// SPDX-License-Identifier: GPL-3.0-or-later
#include "PopoverField.h"

#include "Look.h"
#include "panel/PanelParts_p.h"

#include "quillmere/QuillmereDesign.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace quillmere {

PopoverField::PopoverField(const QString& label, const QString& value, QWidget* parent)
    : QWidget(parent), label_(label), value_(value)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);

    auto* caption = plainLabel(label.toUpper(), this);
    // A 9-point label beside 13-point body text.
    QFont font = scaledFont(QApplication::font(), 9.0 / 13.0);
    font.setWeight(QFont::DemiBold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    caption->setFont(font);
    setForeground(*caption, look::tertiary(palette()));
    layout->addWidget(caption);

    valueText_ = new ClampedText(value, 3, this);
    valueText_->setFont(look::calloutFont());
    layout->addWidget(valueText_);

    setAccessibleName(label);
    setAccessibleDescription(value);
}

QStringList PopoverField::valueLines(int width) const
{
    return valueText_->lines(width);
}

} // namespace quillmere
