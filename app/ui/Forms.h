#pragma once

#include "FormComponents.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QLineEdit;
class QPushButton;
class QSpinBox;
class QComboBox;
class QToolButton;
class QVBoxLayout;

namespace quillmere {

enum class BlockPreparationFocusField { whyValue, doneTest, hazards, measurableCheck, contextNotes };
enum class SessionPlanFocusField { intendedOutcome, firstAction, hazardsMitigation, nicuFraming };
enum class SessionReviewFocusField { noteworthyResult, distractions, improvement };
enum class BlockReviewFocusField { outputProduced, normalComparison, boggedDown, wentWell, lessons };

struct SessionPlanFocusState {
    bool isPreparationExpanded = false;
    std::optional<SessionPlanFocusField> focusedField;

    friend bool operator==(const SessionPlanFocusState&, const SessionPlanFocusState&) = default;
};

// The four forms. Each shows a copy of its record; every user change updates
// that copy at once and is reported through `edited` with the whole record,
// and the host decides what to do with it (save a draft, call a command).
// `set...` replaces the shown record without reporting an edit and without
// disturbing the field being typed in.

// Edits a Block: durations, cycle count, outcomes and the five prose answers.
class BlockPreparationForm : public QWidget {
    Q_OBJECT

public:
    // With `onBreakDurationChanged`, a break stepper change is handed to it
    // (in seconds) instead of being written into the block.
    BlockPreparationForm(const Block& block, FormPresentation presentation,
                         std::function<void(Seconds)> onBreakDurationChanged = nullptr, QWidget* parent = nullptr);

    const Block& block() const { return block_; }
    void setBlock(const Block& block);
    std::optional<BlockPreparationFocusField> focusedField() const;

signals:
    void edited(const quillmere::Block& block);

private:
    // The widgets of one outcome, kept across edits (by the outcome's id) so
    // that adding or removing another outcome leaves focus and cursor alone.
    struct OutcomeRow {
        Uuid id;
        QWidget* row = nullptr;
        QLabel* label = nullptr;
        BoundedLineEdit* title = nullptr;
        QToolButton* remove = nullptr;
        ValueRow* value = nullptr;
    };

    void syncControls();
    void syncOutcomeRows();
    OutcomeRow makeOutcomeRow(const Uuid& id);
    void addOutcome();
    void removeOutcome(const Uuid& id);
    void setOutcomeTitle(const Uuid& id, const QString& title);
    void storeFocusMinutes(int minutes);
    void storeBreakMinutes(int minutes);
    void storeCycleCount(int count);

    Block block_;
    FormPresentation presentation_;
    std::function<void(Seconds)> onBreakDurationChanged_;
    QSpinBox* focusMinutes_ = nullptr;
    QSpinBox* breakMinutes_ = nullptr;
    QSpinBox* cycleCount_ = nullptr;
    ValueRow* focusRow_ = nullptr;
    ValueRow* breakRow_ = nullptr;
    ValueRow* cycleCountRow_ = nullptr;
    QVBoxLayout* outcomeLayout_ = nullptr;
    std::vector<OutcomeRow> outcomeRows_;
    QPushButton* addOutcome_ = nullptr;
    // In the order of BlockPreparationFocusField.
    std::array<ProseField*, 5> prose_{};
};

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
    QToolButton* preparationToggle_ = nullptr;
    QWidget* preparation_ = nullptr;
    ProseField* hazardsMitigation_ = nullptr;
    ProseField* nicuFraming_ = nullptr;
    RatingPicker* energy_ = nullptr;
    RatingPicker* morale_ = nullptr;
};

// Edits a SessionReview.
class SessionReviewForm : public QWidget {
    Q_OBJECT

public:
    SessionReviewForm(const SessionReview& review, FormPresentation presentation, QWidget* parent = nullptr);

    const SessionReview& review() const { return review_; }
    void setReview(const SessionReview& review);
    std::optional<SessionReviewFocusField> focusedField() const;

signals:
    void edited(const quillmere::SessionReview& review);

private:
    void syncControls();

    SessionReview review_;
    FormPresentation presentation_;
    SegmentedControl* completion_ = nullptr;
    ValueRow* completionRow_ = nullptr;
    // In the order of SessionReviewFocusField.
    std::array<ProseField*, 3> prose_{};
};

// Edits a BlockReview (the five-answer reflection).
class BlockReviewForm : public QWidget {
    Q_OBJECT

public:
    BlockReviewForm(const BlockReview& review, FormPresentation presentation, QWidget* parent = nullptr);

    const BlockReview& review() const { return review_; }
    void setReview(const BlockReview& review);
    std::optional<BlockReviewFocusField> focusedField() const;

signals:
    void edited(const quillmere::BlockReview& review);

private:
    void syncControls();

    BlockReview review_;
    FormPresentation presentation_;
    // In the order of BlockReviewFocusField.
    std::array<ProseField*, 5> prose_{};
};

} // namespace quillmere
