// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/FormFocus.h"

#include <QWidget>

#include <optional>
#include <vector>

class QComboBox;

namespace quillmere {

class DisclosureButton;

// Edits a SessionPlan, with the block's outcomes to choose from and the
// "Preparation" disclosure.
class SessionPlanForm : public QWidget {
    Q_OBJECT

public:
    SessionPlanForm(const SessionPlan& plan, std::vector<Outcome> outcomes, FormPresentation presentation,
                    SessionPlanFocusState focusState = {}, QWidget* parent = nullptr);

    const SessionPlan& plan() const { return plan_; }
    void setPlan(const SessionPlan& plan);
    void setOutcomes(std::vector<Outcome> outcomes);
    const SessionPlanFocusState& focusState() const { return focusState_; }

signals:
    void edited(const quillmere::SessionPlan& plan);

private:
    void syncControls();
    void syncOutcomeChoices();
    QString selectedOutcomeTitle() const;
    void setPreparationExpanded(bool expanded);
    void applyFocusState();
    void advanceFrom(SessionPlanFocusField field);
    std::optional<SessionPlanFocusField> fieldOf(const QWidget* widget) const;
    QWidget* editorOf(SessionPlanFocusField field) const;

    SessionPlan plan_;
    std::vector<Outcome> outcomes_;
    FormPresentation presentation_;
    SessionPlanFocusState focusState_;
    QComboBox* outcomeChoice_ = nullptr;
    ValueRow* outcomeRow_ = nullptr;
    ProseField* intendedOutcome_ = nullptr;
    BoundedLineEdit* firstAction_ = nullptr;
    ValueRow* firstActionRow_ = nullptr;
    DisclosureButton* preparationToggle_ = nullptr;
    QWidget* preparation_ = nullptr;
    ProseField* hazardsMitigation_ = nullptr;
    ProseField* nicuFraming_ = nullptr;
    RatingPicker* energy_ = nullptr;
    RatingPicker* morale_ = nullptr;
};

} // namespace quillmere
