#include "Forms.h"

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

QString qText(const std::string& text)
{
    return QString::fromStdString(text);
}

QString orBlank(const std::string& text)
{
    return text.empty() ? QStringLiteral("Blank") : shownText(text);
}

int points(double value)
{
    return static_cast<int>(std::lround(value));
}

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
    return QStringLiteral("%1 minutes").arg(static_cast<qlonglong>(minutes));
}

QVBoxLayout* makeFormLayout(QWidget* form)
{
    auto* layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(points(QuillmereDesign::Spacing::loose));
    return layout;
}

QLabel* makeRowLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A visible label beside a single-line control; the label is the control's
// buddy, so a click on it focuses the control.
QWidget* makeLabelledRow(QLabel* label, QWidget* field, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(points(QuillmereDesign::Spacing::regular));
    label->setBuddy(field);
    layout->addWidget(label);
    layout->addWidget(field, 1);
    return row;
}

void alignLabels(const std::vector<QLabel*>& labels)
{
    int width = 0;
    for (const QLabel* label : labels) {
        width = std::max(width, label->sizeHint().width());
    }
    for (QLabel* label : labels) {
        label->setMinimumWidth(width);
    }
}

QSpinBox* makeStepper(const QString& prefix, const QString& suffix, int low, int high, const QString& name,
                      QWidget* parent)
{
    auto* stepper = new QSpinBox(parent);
    stepper->setPrefix(prefix);
    stepper->setSuffix(suffix);
    stepper->setRange(low, high);
    stepper->setAccessibleName(name);
    return stepper;
}

void showStepperValue(QSpinBox* stepper, int value)
{
    if (stepper->value() != value) {
        const QSignalBlocker blocker(stepper);
        stepper->setValue(value);
    }
}

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

constexpr std::array<std::string Block::*, 5> blockProseMembers{
    &Block::whyValue, &Block::doneTest, &Block::hazards, &Block::measurableCheck, &Block::contextNotes,
};

constexpr std::array<std::string SessionReview::*, 3> reviewProseMembers{
    &SessionReview::noteworthyResult,
    &SessionReview::distractions,
    &SessionReview::improvement,
};

constexpr std::array<std::string BlockReview::*, 5> reflectionProseMembers{
    &BlockReview::outputProduced, &BlockReview::normalComparison, &BlockReview::boggedDown,
    &BlockReview::wentWell,       &BlockReview::lessons,
};

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

QString completionText(CompletionResult completion)
{
    switch (completion) {
    case CompletionResult::yes: return QStringLiteral("Yes");
    case CompletionResult::half: return QStringLiteral("Half");
    case CompletionResult::no: return QStringLiteral("No");
    }
    return {};
}

int completionIndex(CompletionResult completion)
{
    const auto& cases = allCases<CompletionResult>;
    return static_cast<int>(std::find(cases.begin(), cases.end(), completion) - cases.begin());
}

QString outcomeRowName(std::size_t index)
{
    return QStringLiteral("Hoped-for outcome %1").arg(index + 1);
}

} // namespace

// ---------------------------------------------------------------------------

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
        focusMinutes_ = makeStepper(tr("Focus: "), tr(" minutes"), 1, 120, tr("Focus duration in minutes"), settings);
        breakMinutes_ = makeStepper(tr("Break: "), tr(" minutes"), 1, 60, tr("Break duration in minutes"), settings);
        cycleCount_ = makeStepper(tr("Sessions: "), QString(), 1, 24, tr("Sessions"), settings);
        for (QSpinBox* stepper : {focusMinutes_, breakMinutes_, cycleCount_}) {
            settings->rows()->addWidget(stepper, 0, Qt::AlignLeft);
        }
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
    outcomeLayout_->setSpacing(points(QuillmereDesign::Spacing::snug));
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
        prose_[index]->setText(qText(block_.*blockProseMembers[index]));
    }
}

BlockPreparationForm::OutcomeRow BlockPreparationForm::makeOutcomeRow(const Uuid& id)
{
    OutcomeRow row;
    row.id = id;
    switch (presentation_) {
    case FormPresentation::editable: {
        row.row = new QWidget(this);
        auto* column = new QVBoxLayout(row.row);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(points(QuillmereDesign::Spacing::tight));
        auto* layout = new QHBoxLayout;
        layout->setSpacing(points(QuillmereDesign::Spacing::regular));
        row.label = makeRowLabel(QString(), row.row);
        row.label->setMinimumWidth(row.label->fontMetrics().horizontalAdvance(outcomeRowName(87)));
        row.title = new BoundedLineEdit(TextLimits::fieldCharacters, row.row);
        row.remove = new QToolButton(row.row);
        row.remove->setIcon(look::symbolIcon("minus.circle"));
        row.remove->setAutoRaise(true);
        row.label->setBuddy(row.title);
        layout->addWidget(row.label);
        layout->addWidget(row.title, 1);
        layout->addWidget(row.remove);
        column->addLayout(layout);
        column->addWidget(row.title->note());
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
            row.title->showStoredText(qText(title));
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

// ---------------------------------------------------------------------------

SessionPlanForm::SessionPlanForm(const SessionPlan& plan, std::vector<Outcome> outcomes,
                                 FormPresentation presentation, SessionPlanFocusState focusState, QWidget* parent)
    : QWidget(parent), plan_(plan), outcomes_(std::move(outcomes)), presentation_(presentation),
      focusState_(focusState)
{
    auto* layout = makeFormLayout(this);
    auto* group = new FormGroup(tr("Session plan"), this);
    layout->addWidget(group);
    std::vector<QLabel*> rowLabels;

    switch (presentation) {
    case FormPresentation::editable: {
        outcomeChoice_ = new QComboBox(group);
        outcomeChoice_->setAccessibleName(tr("Block outcome"));
        // Long outcome titles must not widen the whole form; the list shows them in full.
        outcomeChoice_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        outcomeChoice_->setMinimumContentsLength(16);
        rowLabels.push_back(makeRowLabel(tr("Block outcome"), group));
        group->addRow(makeLabelledRow(rowLabels.back(), outcomeChoice_, group));
        connect(outcomeChoice_, &QComboBox::activated, this, [this](int index) {
            std::optional<Uuid> chosen;
            if (index > 0 && static_cast<std::size_t>(index) <= outcomes_.size()) {
                chosen = outcomes_[static_cast<std::size_t>(index) - 1].id;
            }
            if (plan_.blockOutcomeID != chosen) {
                plan_.blockOutcomeID = chosen;
                emit edited(plan_);
            }
        });

        intendedOutcome_ = new ProseField(tr("Intended outcome"), presentation, group);
        group->addRow(intendedOutcome_);

        firstAction_ = new BoundedLineEdit(TextLimits::fieldCharacters, group);
        firstAction_->setPlaceholderText(tr("First action"));
        firstAction_->setAccessibleName(tr("First action"));
        rowLabels.push_back(makeRowLabel(tr("First action"), group));
        group->addRow(makeLabelledRow(rowLabels.back(), firstAction_, group));
        group->addRow(firstAction_->note());
        connect(firstAction_, &QLineEdit::textEdited, this, [this](const QString& text) {
            std::string value = text.toStdString();
            if (plan_.firstAction != value) {
                plan_.firstAction = std::move(value);
                emit edited(plan_);
            }
        });
        break;
    }
    case FormPresentation::readOnly:
        outcomeRow_ = new ValueRow(tr("Block outcome"), QString(), group);
        group->addRow(outcomeRow_);
        intendedOutcome_ = new ProseField(tr("Intended outcome"), presentation, group);
        group->addRow(intendedOutcome_);
        firstActionRow_ = new ValueRow(tr("First action"), QString(), group);
        group->addRow(firstActionRow_);
        break;
    }

    preparationToggle_ = new QToolButton(group);
    preparationToggle_->setText(tr("Preparation"));
    preparationToggle_->setAccessibleName(tr("Preparation"));
    preparationToggle_->setCheckable(true);
    preparationToggle_->setAutoRaise(true);
    preparationToggle_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    preparationToggle_->setFocusPolicy(Qt::StrongFocus);
    group->rows()->addWidget(preparationToggle_, 0, Qt::AlignLeft);
    connect(preparationToggle_, &QToolButton::toggled, this,
            [this](bool expanded) { setPreparationExpanded(expanded); });

    preparation_ = new QWidget(group);
    auto* preparationLayout = new QVBoxLayout(preparation_);
    preparationLayout->setContentsMargins(points(QuillmereDesign::Spacing::loose), 0, 0, 0);
    preparationLayout->setSpacing(points(QuillmereDesign::Spacing::snug));
    hazardsMitigation_ = new ProseField(tr("Hazards and mitigation"), presentation, preparation_);
    nicuFraming_ = new ProseField(tr("Novel, Interesting, Urgent, or Challenging framing"), presentation, preparation_);
    energy_ = new RatingPicker(tr("Energy"), presentation, preparation_);
    morale_ = new RatingPicker(tr("Morale"), presentation, preparation_);
    for (QWidget* item : std::initializer_list<QWidget*>{hazardsMitigation_, nicuFraming_, energy_, morale_}) {
        preparationLayout->addWidget(item);
    }
    group->addRow(preparation_);
    if (presentation == FormPresentation::editable) {
        alignLabels(rowLabels);
        alignLabels({energy_->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly),
                     morale_->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly)});
    }

    const auto bindProse = [this](ProseField* field, std::string SessionPlan::*member) {
        connect(field, &ProseField::textEdited, this, [this, member](const QString& text) {
            std::string value = text.toStdString();
            if (plan_.*member != value) {
                plan_.*member = std::move(value);
                emit edited(plan_);
            }
        });
    };
    bindProse(intendedOutcome_, &SessionPlan::intendedOutcome);
    bindProse(hazardsMitigation_, &SessionPlan::hazardsMitigation);
    bindProse(nicuFraming_, &SessionPlan::nicuFraming);
    const auto bindRating = [this](RatingPicker* picker, std::int64_t SessionPlan::*member) {
        connect(picker, &RatingPicker::ratingEdited, this, [this, member](std::int64_t rating) {
            if (plan_.*member != rating) {
                plan_.*member = rating;
                emit edited(plan_);
            }
        });
    };
    bindRating(energy_, &SessionPlan::energy);
    bindRating(morale_, &SessionPlan::morale);

    if (presentation == FormPresentation::editable) {
        installReturnAdvance(intendedOutcome_->editor(),
                             [this] { advanceFrom(SessionPlanFocusField::intendedOutcome); });
        installReturnAdvance(firstAction_, [this] { advanceFrom(SessionPlanFocusField::firstAction); });
        installReturnAdvance(hazardsMitigation_->editor(),
                             [this] { advanceFrom(SessionPlanFocusField::hazardsMitigation); });
        installReturnAdvance(nicuFraming_->editor(), [this] { advanceFrom(SessionPlanFocusField::nicuFraming); });
        // The state follows the user's clicks and Tab presses, not only Return.
        connect(qApp, &QApplication::focusChanged, this,
                [this](QWidget*, QWidget* now) { focusState_.focusedField = fieldOf(now); });
    }

    syncControls();
    orderFocusByLayout(this);
    applyFocusState();
}

void SessionPlanForm::setPlan(const SessionPlan& plan)
{
    plan_ = plan;
    syncControls();
}

void SessionPlanForm::setOutcomes(std::vector<Outcome> outcomes)
{
    if (outcomes_ != outcomes) {
        outcomes_ = std::move(outcomes);
        syncControls();
    }
}

void SessionPlanForm::syncControls()
{
    switch (presentation_) {
    case FormPresentation::editable:
        syncOutcomeChoices();
        firstAction_->showStoredText(qText(plan_.firstAction));
        break;
    case FormPresentation::readOnly:
        outcomeRow_->setValue(selectedOutcomeTitle());
        firstActionRow_->setValue(orBlank(plan_.firstAction));
        break;
    }
    intendedOutcome_->setText(qText(plan_.intendedOutcome));
    hazardsMitigation_->setText(qText(plan_.hazardsMitigation));
    nicuFraming_->setText(qText(plan_.nicuFraming));
    energy_->setRating(plan_.energy);
    morale_->setRating(plan_.morale);
}

void SessionPlanForm::syncOutcomeChoices()
{
    QStringList texts{tr("No selection")};
    QStringList ids{QString()};
    for (const Outcome& outcome : outcomes_) {
        texts.append(outcome.title.empty() ? tr("Blank outcome") : shownText(outcome.title));
        ids.append(QString::fromStdString(outcome.id.toString()));
    }
    bool same = outcomeChoice_->count() == texts.size();
    for (int index = 0; same && index < texts.size(); ++index) {
        same = outcomeChoice_->itemText(index) == texts[index] &&
               outcomeChoice_->itemData(index).toString() == ids[index];
    }
    const QSignalBlocker blocker(outcomeChoice_);
    if (!same) {
        outcomeChoice_->clear();
        for (int index = 0; index < texts.size(); ++index) {
            outcomeChoice_->addItem(texts[index], ids[index]);
        }
    }
    // A stale outcome id shows as no selection but stays in the plan until the user picks.
    int selected = 0;
    if (plan_.blockOutcomeID) {
        const auto found = std::find_if(outcomes_.begin(), outcomes_.end(),
                                        [&](const Outcome& outcome) { return outcome.id == *plan_.blockOutcomeID; });
        if (found != outcomes_.end()) {
            selected = static_cast<int>(found - outcomes_.begin()) + 1;
        }
    }
    if (outcomeChoice_->currentIndex() != selected) {
        outcomeChoice_->setCurrentIndex(selected);
    }
    outcomeChoice_->setToolTip(outcomeChoice_->currentText());
}

QString SessionPlanForm::selectedOutcomeTitle() const
{
    if (!plan_.blockOutcomeID) {
        return tr("No selection");
    }
    const auto found = std::find_if(outcomes_.begin(), outcomes_.end(),
                                    [&](const Outcome& outcome) { return outcome.id == *plan_.blockOutcomeID; });
    if (found == outcomes_.end()) {
        return tr("No selection");
    }
    return found->title.empty() ? tr("Blank outcome") : shownText(found->title);
}

void SessionPlanForm::setPreparationExpanded(bool expanded)
{
    focusState_.isPreparationExpanded = expanded;
    if (preparationToggle_->isChecked() != expanded) {
        const QSignalBlocker blocker(preparationToggle_);
        preparationToggle_->setChecked(expanded);
    }
    preparationToggle_->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    preparationToggle_->setAccessibleDescription(expanded ? tr("Expanded") : tr("Collapsed"));
    preparation_->setVisible(expanded);
}

void SessionPlanForm::applyFocusState()
{
    const std::optional<SessionPlanFocusField> field = focusState_.focusedField;
    setPreparationExpanded(focusState_.isPreparationExpanded);
    if (!field) {
        return;
    }
    if (QWidget* editor = editorOf(*field)) {
        editor->setFocus(Qt::OtherFocusReason);
    }
    focusState_.focusedField = field;
}

void SessionPlanForm::advanceFrom(SessionPlanFocusField field)
{
    SessionPlanFocusState next = focusState_;
    switch (field) {
    case SessionPlanFocusField::intendedOutcome: next.focusedField = SessionPlanFocusField::firstAction; break;
    case SessionPlanFocusField::firstAction:
        // The next field lives in the collapsed group: open it first.
        next.isPreparationExpanded = true;
        next.focusedField = SessionPlanFocusField::hazardsMitigation;
        break;
    case SessionPlanFocusField::hazardsMitigation: next.focusedField = SessionPlanFocusField::nicuFraming; break;
    case SessionPlanFocusField::nicuFraming: next.focusedField = std::nullopt; break;
    }
    focusState_ = next;
    applyFocusState();
    if (!next.focusedField) {
        if (QWidget* editor = editorOf(field)) {
            editor->clearFocus();
        }
    }
}

std::optional<SessionPlanFocusField> SessionPlanForm::fieldOf(const QWidget* widget) const
{
    if (!widget) {
        return std::nullopt;
    }
    for (const SessionPlanFocusField field :
         {SessionPlanFocusField::intendedOutcome, SessionPlanFocusField::firstAction,
          SessionPlanFocusField::hazardsMitigation, SessionPlanFocusField::nicuFraming}) {
        if (editorOf(field) == widget) {
            return field;
        }
    }
    return std::nullopt;
}

QWidget* SessionPlanForm::editorOf(SessionPlanFocusField field) const
{
    switch (field) {
    case SessionPlanFocusField::intendedOutcome: return intendedOutcome_->editor();
    case SessionPlanFocusField::firstAction: return firstAction_;
    case SessionPlanFocusField::hazardsMitigation: return hazardsMitigation_->editor();
    case SessionPlanFocusField::nicuFraming: return nicuFraming_->editor();
    }
    return nullptr;
}

// ---------------------------------------------------------------------------

SessionReviewForm::SessionReviewForm(const SessionReview& review, FormPresentation presentation, QWidget* parent)
    : QWidget(parent), review_(review), presentation_(presentation)
{
    auto* layout = makeFormLayout(this);
    auto* group = new FormGroup(tr("Session review"), this);
    layout->addWidget(group);

    switch (presentation) {
    case FormPresentation::editable: {
        QStringList choices;
        for (const CompletionResult completion : allCases<CompletionResult>) {
            choices.append(completionText(completion));
        }
        completion_ = new SegmentedControl(choices, group);
        completion_->setAccessibleName(tr("Target completed"));
        for (int index = 0; index < completion_->count(); ++index) {
            completion_->segment(index)->setAccessibleName(tr("Target completed %1").arg(choices[index]));
        }
        group->addRow(makeLabelledRow(makeRowLabel(tr("Target completed"), group), completion_, group));
        connect(completion_, &SegmentedControl::chosen, this, [this](int index) {
            const CompletionResult chosen = allCases<CompletionResult>[static_cast<std::size_t>(index)];
            if (review_.completion != chosen) {
                review_.completion = chosen;
                emit edited(review_);
            }
        });
        break;
    }
    case FormPresentation::readOnly:
        completionRow_ = new ValueRow(tr("Target completed"), QString(), group);
        group->addRow(completionRow_);
        break;
    }

    addProseFields(this, group, presentation, prose_, {tr("Noteworthy result"), tr("Distractions"), tr("Improvement")},
                   reviewProseMembers, review_, [this] { emit edited(review_); });

    syncControls();
    orderFocusByLayout(this);
}

void SessionReviewForm::setReview(const SessionReview& review)
{
    review_ = review;
    syncControls();
}

std::optional<SessionReviewFocusField> SessionReviewForm::focusedField() const
{
    return focusedProse<SessionReviewFocusField>(prose_);
}

void SessionReviewForm::syncControls()
{
    switch (presentation_) {
    case FormPresentation::editable: completion_->setCurrentIndex(completionIndex(review_.completion)); break;
    case FormPresentation::readOnly: completionRow_->setValue(completionText(review_.completion)); break;
    }
    for (std::size_t index = 0; index < prose_.size(); ++index) {
        prose_[index]->setText(qText(review_.*reviewProseMembers[index]));
    }
}

// ---------------------------------------------------------------------------

BlockReviewForm::BlockReviewForm(const BlockReview& review, FormPresentation presentation, QWidget* parent)
    : QWidget(parent), review_(review), presentation_(presentation)
{
    auto* layout = makeFormLayout(this);
    auto* group = new FormGroup(tr("Block reflection"), this);
    layout->addWidget(group);

    addProseFields(this, group, presentation, prose_,
                   {tr("Output produced"), tr("Comparison with normal output"), tr("Where work became bogged down"),
                    tr("What went well"), tr("Transferable lessons")},
                   reflectionProseMembers, review_, [this] { emit edited(review_); });

    syncControls();
    orderFocusByLayout(this);
}

void BlockReviewForm::setReview(const BlockReview& review)
{
    review_ = review;
    syncControls();
}

std::optional<BlockReviewFocusField> BlockReviewForm::focusedField() const
{
    return focusedProse<BlockReviewFocusField>(prose_);
}

void BlockReviewForm::syncControls()
{
    for (std::size_t index = 0; index < prose_.size(); ++index) {
        prose_[index]->setText(qText(review_.*reflectionProseMembers[index]));
    }
}

} // namespace quillmere
