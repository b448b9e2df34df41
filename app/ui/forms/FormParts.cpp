// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormParts_p.h"

#include "Preferences.h"
#include "ScreenParts_p.h"

#include "Look.h"

#include "quillmere/QuillmereDesign.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QSpinBox>

#include <algorithm>

namespace quillmere {

QString orBlank(const std::string& text)
{
    return text.empty() ? QCoreApplication::translate("quillmere::ValueRow", "Blank") : shownText(text);
}

QVBoxLayout* makeFormLayout(QWidget* form)
{
    auto* layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(look::points(QuillmereDesign::Spacing::section));
    return layout;
}

QLabel* makeCaption(const QString& text, QWidget* parent)
{
    auto* caption = new QLabel(text, parent);
    caption->setTextFormat(Qt::PlainText);
    caption->setWordWrap(true);
    look::makeSecondary(*caption);
    return caption;
}

QWidget* makeCaptionedField(QLabel* caption, QWidget* field, QWidget* parent, QWidget* beside)
{
    auto* column = new QWidget(parent);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(look::points(QuillmereDesign::Spacing::tight));
    caption->setBuddy(field);
    layout->addWidget(caption);
    if (beside) {
        auto* row = new QHBoxLayout;
        row->setSpacing(look::points(QuillmereDesign::Spacing::snug));
        row->addWidget(field, 1);
        row->addWidget(beside);
        layout->addLayout(row);
    } else {
        layout->addWidget(field);
    }
    if (auto* bounded = qobject_cast<BoundedLineEdit*>(field)) {
        layout->addWidget(bounded->note());
    }
    giveRoom(*field);
    return column;
}

QLabel* makeRowLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QWidget* makeLabelledRow(QLabel* label, QWidget* control, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(look::points(QuillmereDesign::Spacing::loose));
    label->setBuddy(control);
    layout->addWidget(label, 1);
    layout->addWidget(control, 0, Qt::AlignRight | Qt::AlignVCenter);
    return row;
}

QSpinBox* makeStepper(const QString& suffix, const BoundedSetting& range, const QString& name, QWidget* parent)
{
    auto* stepper = new QSpinBox(parent);
    stepper->setSuffix(suffix);
    stepper->setRange(range.low, range.high);
    stepper->setAccessibleName(name);
    stepper->setAlignment(Qt::AlignRight);
    giveRoom(*stepper);
    return stepper;
}

void shareWidth(std::initializer_list<QWidget*> widgets)
{
    int width = 0;
    for (const QWidget* widget : widgets) {
        width = std::max(width, widget->sizeHint().width());
    }
    for (QWidget* widget : widgets) {
        widget->setMinimumWidth(width);
    }
}

} // namespace quillmere
