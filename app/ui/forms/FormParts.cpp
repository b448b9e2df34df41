// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormParts_p.h"

#include "Preferences.h"

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
    layout->setSpacing(look::points(QuillmereDesign::Spacing::loose));
    return layout;
}

QSpinBox* makeStepper(const QString& prefix, const QString& suffix, const BoundedSetting& range,
                      const QString& name, QWidget* parent)
{
    auto* stepper = new QSpinBox(parent);
    stepper->setPrefix(prefix);
    stepper->setSuffix(suffix);
    stepper->setRange(range.low, range.high);
    stepper->setAccessibleName(name);
    return stepper;
}

QLabel* makeRowLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QWidget* makeLabelledRow(QLabel* label, QWidget* field, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(look::points(QuillmereDesign::Spacing::regular));
    label->setBuddy(field);
    layout->addWidget(label);
    layout->addWidget(field, 1);
    return row;
}

} // namespace quillmere
