// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionReviewForm.h"

#include "LocalText.h"
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

constexpr std::array<std::string SessionReview::*, 3> reviewProseMembers{
    &SessionReview::noteworthyResult,
    &SessionReview::distractions,
    &SessionReview::improvement,
};

QString completionText(CompletionResult completion)
{
    switch (completion) {
    case CompletionResult::yes: return SessionReviewForm::tr("Yes", "target completed");
    case CompletionResult::half: return SessionReviewForm::tr("Half", "target completed");
    case CompletionResult::no: return SessionReviewForm::tr("No", "target completed");
    }
    return {};
}

int completionIndex(CompletionResult completion)
{
    const auto& cases = allCases<CompletionResult>;
    return static_cast<int>(std::find(cases.begin(), cases.end(), completion) - cases.begin());
}

} // namespace

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
        prose_[index]->setText(qtText(review_.*reviewProseMembers[index]));
    }
}

} // namespace quillmere
