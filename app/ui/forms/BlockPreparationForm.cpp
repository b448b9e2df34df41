// SPDX-License-Identifier: GPL-3.0-or-later
#include "BlockPreparationForm.h"

#include "LocalText.h"
#include "Preferences.h"
#include "forms/FormParts_p.h"

#include "Look.h"

#include "quillmere/QuillmereDesign.h"

#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillmere {

namespace {

// The stepper's value for a stored duration: whole minutes, truncated, shown
// within the stepper's range. A stored value outside it (an edited file) is
// left as it is until the user steps.
int stepperMinutes(Seconds seconds, int low, int high)
{
    if (std::isnan(seconds)) {
        return low;
    }
    return static_cast<int>(std::clamp(std::trunc(seconds / 60), static_cast<double>(low), static_cast<double>(high)));
}

QString minutesText(Seconds seconds)
{
    // Clamped before the conversion, which is undefined outside the range.
    constexpr double limit = 9.0e18;
    const double minutes = std::isnan(seconds) ? 0 : std::clamp(std::trunc(seconds / 60), -limit, limit);
    const auto whole = static_cast<qlonglong>(minutes);
    return BlockPreparationForm::tr("%L1 minute(s)", nullptr, pluralCount(whole)).arg(whole);
}

void showStepperValue(QSpinBox* stepper, int value)
{
    if (stepper->value() != value) {
        const QSignalBlocker blocker(stepper);
        stepper->setValue(value);
    }
}

constexpr std::array<std::string Block::*, 5> blockProseMembers{
    &Block::whyValue, &Block::doneTest, &Block::hazards, &Block::measurableCheck, &Block::contextNotes,
};

QString outcomeRowName(std::size_t index)
{
    return BlockPreparationForm::tr("Hoped-for outcome %L1").arg(index + 1);
}

} // namespace

BlockPreparationForm::BlockPreparationForm(const Block& block, FormPresentation presentation,
                                           std::function<void(Seconds)> onBreakDurationChanged, QWidget* parent)
    : QWidget(parent), block_(block), presentation_(presentation),
      onBreakDurationChanged_(std::move(onBreakDurationChanged))
{
    auto* layout = makeFormLayout(this);
    auto* settings = new FormGroup(tr("Block settings"), this);
    auto* preparation = new FormGroup(tr("Block preparation"), this);
    layout->addWidget(settings);
    layout->addWidget(preparation);

    switch (presentation) {
    case FormPresentation::editable:
        focusMinutes_ = makeStepper(tr(" min"), NewBlockDefaults::focusMinutesRange, tr("Focus duration in minutes"),
                                    settings);
        breakMinutes_ = makeStepper(tr(" min"), NewBlockDefaults::breakMinutesRange, tr("Break duration in minutes"),
                                    settings);
        cycleCount_ = makeStepper(QString(), NewBlockDefaults::sessionsRange, tr("Sessions"), settings);
        shareWidth({focusMinutes_, breakMinutes_, cycleCount_});
        settings->addRow(makeLabelledRow(makeRowLabel(tr("Focus"), settings), focusMinutes_, settings));
        settings->addRow(makeLabelledRow(makeRowLabel(tr("Break"), settings), breakMinutes_, settings));
        settings->addRow(makeLabelledRow(makeRowLabel(tr("Sessions"), settings), cycleCount_, settings));
        connect(focusMinutes_, &QSpinBox::valueChanged, this, &BlockPreparationForm::storeFocusMinutes);
        connect(breakMinutes_, &QSpinBox::valueChanged, this, &BlockPreparationForm::storeBreakMinutes);
        connect(cycleCount_, &QSpinBox::valueChanged, this, &BlockPreparationForm::storeCycleCount);
        break;
    case FormPresentation::readOnly:
        focusRow_ = new ValueRow(tr("Focus"), QString(), settings);
        breakRow_ = new ValueRow(tr("Break"), QString(), settings);
        cycleCountRow_ = new ValueRow(tr("Sessions"), QString(), settings);
        for (ValueRow* row : {focusRow_, breakRow_, cycleCountRow_}) {
            settings->addRow(row);
        }
        break;
    }

    auto* outcomes = new QWidget(preparation);
    outcomeLayout_ = new QVBoxLayout(outcomes);
    outcomeLayout_->setContentsMargins(0, 0, 0, 0);
    outcomeLayout_->setSpacing(look::points(QuillmereDesign::Spacing::snug));
    preparation->addRow(outcomes);
    if (presentation == FormPresentation::editable) {
        addOutcome_ = new QPushButton(look::symbolIcon("plus"), tr("Add outcome"), preparation);
        addOutcome_->setAutoDefault(false);
        preparation->rows()->addWidget(addOutcome_, 0, Qt::AlignLeft);
        connect(addOutcome_, &QPushButton::clicked, this, &BlockPreparationForm::addOutcome);
    }

    addProseFields(this, preparation, presentation, prose_,
                   {tr("Why this block is valuable"), tr("Completion test"), tr("Risks or hazards"),
                    tr("Measurable check"), tr("Other context")},
                   blockProseMembers, block_, [this] { emit edited(block_); });

    syncControls();
    orderFocusByLayout(this);
}

void BlockPreparationForm::setBlock(const Block& block)
{
    // Always re-shown, even when equal: a break step handed to the callback
    // and refused by the host must not stay on screen.
    block_ = block;
    syncControls();
}

std::optional<BlockPreparationFocusField> BlockPreparationForm::focusedField() const
{
    return focusedProse<BlockPreparationFocusField>(prose_);
}

void BlockPreparationForm::syncControls()
{
    switch (presentation_) {
    case FormPresentation::editable:
        showStepperValue(focusMinutes_, stepperMinutes(block_.focusDurationSeconds, 1, 120));
        showStepperValue(breakMinutes_, stepperMinutes(block_.breakDurationSeconds, 1, 60));
        showStepperValue(cycleCount_, static_cast<int>(std::clamp<std::int64_t>(block_.cycleCount, 1, 24)));
        break;
    case FormPresentation::readOnly:
        focusRow_->setValue(minutesText(block_.focusDurationSeconds));
        breakRow_->setValue(minutesText(block_.breakDurationSeconds));
        cycleCountRow_->setValue(QString::number(block_.cycleCount));
        break;
    }
    syncOutcomeRows();
    for (std::size_t index = 0; index < prose_.size(); ++index) {
        prose_[index]->setText(qtText(block_.*blockProseMembers[index]));
    }
}

BlockPreparationForm::OutcomeRow BlockPreparationForm::makeOutcomeRow(const Uuid& id)
{
    OutcomeRow row;
    row.id = id;
    switch (presentation_) {
    case FormPresentation::editable: {
        row.label = makeCaption(QString(), this);
        row.title = new BoundedLineEdit(TextLimits::fieldCharacters, this);
        row.remove = new QToolButton(this);
        row.remove->setIcon(look::symbolIcon("minus.circle"));
        row.remove->setAutoRaise(true);
        row.row = makeCaptionedField(row.label, row.title, this, row.remove);
        connect(row.title, &QLineEdit::textEdited, this,
                [this, id](const QString& text) { setOutcomeTitle(id, text); });
        connect(row.remove, &QToolButton::clicked, this, [this, id] { removeOutcome(id); });
        break;
    }
    case FormPresentation::readOnly:
        row.value = new ValueRow(QString(), QString(), this);
        row.row = row.value;
        break;
    }
    return row;
}

void BlockPreparationForm::syncOutcomeRows()
{
    // Rows are matched to outcomes by id, in order, so a surviving outcome
    // keeps its widgets (and the focus and cursor in them).
    std::vector<OutcomeRow> previous = std::move(outcomeRows_);
    outcomeRows_.clear();
    bool changed = previous.size() != block_.outcomes.size();
    for (std::size_t index = 0; index < block_.outcomes.size(); ++index) {
        const Uuid& id = block_.outcomes[index].id;
        const auto reusable = std::find_if(previous.begin(), previous.end(),
                                           [&](const OutcomeRow& row) { return row.row && row.id == id; });
        if (reusable != previous.end()) {
            changed = changed || reusable != previous.begin() + static_cast<std::ptrdiff_t>(index);
            outcomeRows_.push_back(*reusable);
            reusable->row = nullptr;
        } else {
            changed = true;
            outcomeRows_.push_back(makeOutcomeRow(id));
        }
    }
    for (OutcomeRow& stale : previous) {
        if (stale.row) {
            // Deleted later: the row's own remove button may be the sender.
            stale.row->hide();
            outcomeLayout_->removeWidget(stale.row);
            stale.row->deleteLater();
        }
    }
    if (changed) {
        for (const OutcomeRow& row : outcomeRows_) {
            outcomeLayout_->removeWidget(row.row);
        }
        for (const OutcomeRow& row : outcomeRows_) {
            outcomeLayout_->addWidget(row.row);
            row.row->show();
        }
    }

    const bool removable = block_.outcomes.size() >= 2;
    for (std::size_t index = 0; index < outcomeRows_.size(); ++index) {
        const OutcomeRow& row = outcomeRows_[index];
        const QString name = outcomeRowName(index);
        // The first outcome with the row's id, as the stored list may repeat ids.
        const auto outcome = std::find_if(block_.outcomes.begin(), block_.outcomes.end(),
                                          [&](const Outcome& candidate) { return candidate.id == row.id; });
        const std::string& title = outcome->title;
        switch (presentation_) {
        case FormPresentation::editable: {
            row.label->setText(name);
            row.title->setPlaceholderText(name);
            row.title->setAccessibleName(name);
            row.title->showStoredText(qtText(title));
            const QString removeName = tr("Remove outcome %1").arg(index + 1);
            row.remove->setAccessibleName(removeName);
            row.remove->setToolTip(removeName);
            row.remove->setVisible(removable);
            break;
        }
        case FormPresentation::readOnly:
            row.value->setLabel(name);
            row.value->setValue(orBlank(title));
            break;
        }
    }
    if (changed) {
        orderFocusByLayout(this);
    }
}

void BlockPreparationForm::addOutcome()
{
    const Uuid id = Uuid::generate();
    block_.outcomes.push_back(Outcome{id, {}});
    syncOutcomeRows();
    // The user is about to name the new outcome.
    if (!outcomeRows_.empty() && outcomeRows_.back().title) {
        outcomeRows_.back().title->setFocus(Qt::OtherFocusReason);
    }
    emit edited(block_);
}

void BlockPreparationForm::removeOutcome(const Uuid& id)
{
    const auto row = std::find_if(outcomeRows_.begin(), outcomeRows_.end(),
                                  [&](const OutcomeRow& candidate) { return candidate.id == id; });
    if (row == outcomeRows_.end()) {
        return;
    }
    const auto position = static_cast<std::size_t>(row - outcomeRows_.begin());
    const QWidget* focus = QApplication::focusWidget();
    const bool focusInRow = focus && row->row->isAncestorOf(focus);

    std::erase_if(block_.outcomes, [&](const Outcome& outcome) { return outcome.id == id; });
    syncOutcomeRows();
    if (focusInRow) {
        // Focus stays where the removed row was rather than falling to
        // whatever follows in the window.
        if (!outcomeRows_.empty()) {
            outcomeRows_[std::min(position, outcomeRows_.size() - 1)].title->setFocus(Qt::OtherFocusReason);
        } else {
            addOutcome_->setFocus(Qt::OtherFocusReason);
        }
    }
    emit edited(block_);
}

void BlockPreparationForm::setOutcomeTitle(const Uuid& id, const QString& title)
{
    const auto outcome = std::find_if(block_.outcomes.begin(), block_.outcomes.end(),
                                      [&](const Outcome& candidate) { return candidate.id == id; });
    if (outcome == block_.outcomes.end()) {
        return;
    }
    std::string value = title.toStdString();
    if (outcome->title != value) {
        outcome->title = std::move(value);
        emit edited(block_);
    }
}

void BlockPreparationForm::storeFocusMinutes(int minutes)
{
    const Seconds seconds = minutes * 60.0;
    if (block_.focusDurationSeconds != seconds) {
        block_.focusDurationSeconds = seconds;
        emit edited(block_);
    }
}

void BlockPreparationForm::storeBreakMinutes(int minutes)
{
    const Seconds seconds = minutes * 60.0;
    if (onBreakDurationChanged_) {
        // The host applies the change through its own command and shows the
        // result with setBlock.
        onBreakDurationChanged_(seconds);
        return;
    }
    if (block_.breakDurationSeconds != seconds) {
        block_.breakDurationSeconds = seconds;
        emit edited(block_);
    }
}

void BlockPreparationForm::storeCycleCount(int count)
{
    if (block_.cycleCount != count) {
        block_.cycleCount = count;
        emit edited(block_);
    }
}

} // namespace quillmere
