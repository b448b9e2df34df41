// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/FormComponents.h"

#include <QLabel>
#include <QString>

#include <array>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

class QSpinBox;
class QVBoxLayout;

// What the four forms build their rows and prose fields from.
namespace quillmere {

struct BoundedSetting;

QString orBlank(const std::string& text);

// The form's groups, a section apart.
QVBoxLayout* makeFormLayout(QWidget* form);

// How the forms name their controls. What holds text (a line, a choice
// among texts) spans the card under its caption; what is picked or counted
// (a number, a segment, a date) stands at the right end of a row that its
// label begins. A label is its control's buddy: a click on it, or its
// mnemonic, focuses the control.

// A caption as the prose fields have it: secondary, wrapping.
QLabel* makeCaption(const QString& text, QWidget* parent);

// `caption` above `field`, with `beside` (a button that acts on the field)
// at the field's end, and a BoundedLineEdit's length note below.
QWidget* makeCaptionedField(QLabel* caption, QWidget* field, QWidget* parent, QWidget* beside = nullptr);

QLabel* makeRowLabel(const QString& text, QWidget* parent);

// `label` at the start of a row and `control`, at its own width, at the end.
QWidget* makeLabelledRow(QLabel* label, QWidget* control, QWidget* parent);

// A compact number field over `range` with its unit (`suffix`) after the
// number, read out by screen readers as `name`. The steppers of one group
// share a width (shareWidth), so that they line up.
QSpinBox* makeStepper(const QString& suffix, const BoundedSetting& range, const QString& name, QWidget* parent);

// Gives `widgets` the width of the widest of them.
void shareWidth(std::initializer_list<QWidget*> widgets);

// Return in each field focuses the next one; in the last it leaves the form
// without a focused field.
template <std::size_t count>
void chainReturnAdvance(const std::array<ProseField*, count>& fields)
{
    for (std::size_t index = 0; index < count; ++index) {
        QWidget* current = fields[index]->editor();
        QWidget* next = index + 1 < count ? fields[index + 1]->editor() : nullptr;
        installReturnAdvance(current, [current, next] {
            if (next) {
                next->setFocus(Qt::OtherFocusReason);
            } else {
                current->clearFocus();
            }
        });
    }
}

template <class Field, std::size_t count>
std::optional<Field> focusedProse(const std::array<ProseField*, count>& fields)
{
    for (std::size_t index = 0; index < count; ++index) {
        if (fields[index]->editor() && fields[index]->editor()->hasFocus()) {
            return static_cast<Field>(index);
        }
    }
    return std::nullopt;
}

// Adds one prose field per member of `record`, in order, each writing its
// member and reporting the whole record through `report` when the text
// really changed; Return moves from one field to the next.
template <class Record, std::size_t count>
void addProseFields(QObject* form, FormGroup* group, FormPresentation presentation,
                    std::array<ProseField*, count>& fields, const std::array<QString, count>& labels,
                    const std::array<std::string Record::*, count>& members, Record& record,
                    std::function<void()> report)
{
    for (std::size_t index = 0; index < count; ++index) {
        fields[index] = new ProseField(labels[index], presentation, group);
        group->addRow(fields[index]);
        QObject::connect(fields[index], &ProseField::textEdited, form,
                         [&record, member = members[index], report](const QString& text) {
                             std::string value = text.toStdString();
                             if (record.*member != value) {
                                 record.*member = std::move(value);
                                 report();
                             }
                         });
    }
    if (presentation == FormPresentation::editable) {
        chainReturnAdvance(fields);
    }
}

} // namespace quillmere
