// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionPlanForm.h"

#include "LocalText.h"
#include "forms/DisclosureButton.h"
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

SessionPlanForm::SessionPlanForm(const SessionPlan& plan, std::vector<Outcome> outcomes,
                                 FormPresentation presentation, SessionPlanFocusState focusState, QWidget* parent)
    : QWidget(parent), plan_(plan), outcomes_(std::move(outcomes)), presentation_(presentation),
      focusState_(focusState)
{
    auto* layout = makeFormLayout(this);
    auto* group = new FormGroup(tr("Session plan"), this);
    layout->addWidget(group);

    switch (presentation) {
    case FormPresentation::editable: {
        outcomeChoice_ = new QComboBox(group);
        outcomeChoice_->setAccessibleName(tr("Block outcome"));
        // Long outcome titles must not widen the whole form; the list shows them in full.
        outcomeChoice_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        outcomeChoice_->setMinimumContentsLength(16);
        group->addRow(makeCaptionedField(makeCaption(tr("Block outcome"), group), outcomeChoice_, group));
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
        group->addRow(makeCaptionedField(makeCaption(tr("First action"), group), firstAction_, group));
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

    preparationToggle_ = new DisclosureButton(tr("Preparation"), group);
    group->rows()->addWidget(preparationToggle_, 0, Qt::AlignLeft);
    connect(preparationToggle_, &DisclosureButton::expandedChanged, this,
            [this](bool expanded) { setPreparationExpanded(expanded); });

    preparation_ = new QWidget(group);
    auto* preparationLayout = new QVBoxLayout(preparation_);
    preparationLayout->setContentsMargins(look::points(QuillmereDesign::Spacing::loose), 0, 0, 0);
    preparationLayout->setSpacing(look::points(QuillmereDesign::Spacing::loose));
    hazardsMitigation_ = new ProseField(tr("Hazards and mitigation"), presentation, preparation_);
    nicuFraming_ = new ProseField(tr("Novel, Interesting, Urgent, or Challenging framing"), presentation, preparation_);
    energy_ = new RatingPicker(tr("Energy"), presentation, preparation_);
    morale_ = new RatingPicker(tr("Morale"), presentation, preparation_);
    for (QWidget* item : std::initializer_list<QWidget*>{hazardsMitigation_, nicuFraming_, energy_, morale_}) {
        preparationLayout->addWidget(item);
    }
    group->addRow(preparation_);

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
        firstAction_->showStoredText(qtText(plan_.firstAction));
        break;
    case FormPresentation::readOnly:
        outcomeRow_->setValue(selectedOutcomeTitle());
        firstActionRow_->setValue(orBlank(plan_.firstAction));
        break;
    }
    intendedOutcome_->setText(qtText(plan_.intendedOutcome));
    hazardsMitigation_->setText(qtText(plan_.hazardsMitigation));
    nicuFraming_->setText(qtText(plan_.nicuFraming));
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
    preparationToggle_->showExpanded(expanded);
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

} // namespace quillmere
