// SPDX-License-Identifier: GPL-3.0-or-later
#include "BlockPlanningView.h"

#include "LocalText.h"
#include "ScreenParts_p.h"
#include "forms/BlockPreparationForm.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillmere {

BlockScheduleDraft BlockScheduleDraft::make(const Block& block, Instant defaultStart)
{
    return BlockScheduleDraft{block, block.plannedStart.has_value(), block.plannedStart.value_or(defaultStart)};
}

void BlockScheduleDraft::setScheduleForLater(bool on)
{
    scheduleForLater = on;
    if (on) {
        block.plannedStart = scheduledStart;
    } else {
        block.plannedStart.reset();
    }
}

void BlockScheduleDraft::setScheduledStart(Instant start)
{
    scheduledStart = start;
    if (scheduleForLater) {
        block.plannedStart = start;
    }
}

BlockPlanningView::BlockPlanningView(AppModel& model, QWidget* parent) : PhaseScreen(model, Spacing::form, parent)
{
    const Instant now = model_.now();
    const Block block = model_.state().currentBlock ? *model_.state().currentBlock : model_.newBlock(now);
    draft_ = BlockScheduleDraft::make(block, now + std::chrono::seconds(300));

    addTitle(tr("Plan the block"));
    addHint(tr("Blank text is accepted. You can refine any answer later."));

    form_ = new BlockPreparationForm(draft_.block, FormPresentation::editable, nullptr, this);
    connect(form_, &BlockPreparationForm::edited, this, [this](const Block& edited) {
        // The schedule fields own plannedStart; the form never changes it.
        const auto plannedStart = draft_.block.plannedStart;
        draft_.block = edited;
        draft_.block.plannedStart = plannedStart;
        blockChanged();
    });
    column()->addWidget(form_);

    auto* schedule = new QGroupBox(tr("Schedule"), this);
    auto* scheduleLayout = new QFormLayout(schedule);
    scheduleForLater_ = new QCheckBox(tr("Schedule for later"), schedule);
    scheduleForLater_->setChecked(draft_.scheduleForLater);
    start_ = new QDateTimeEdit(localDateTime(draft_.scheduledStart), schedule);
    start_->setCalendarPopup(true);
    start_->setDisplayFormat(QLocale::system().dateTimeFormat(QLocale::ShortFormat));
    start_->setAccessibleName(tr("Start"));
    auto* startLabel = new QLabel(tr("Start"), schedule);
    startLabel->setBuddy(start_);
    scheduleLayout->addRow(scheduleForLater_);
    scheduleLayout->addRow(startLabel, start_);
    column()->addWidget(schedule);
    connect(scheduleForLater_, &QCheckBox::toggled, this, [this, startLabel](bool on) {
        draft_.setScheduleForLater(on);
        startLabel->setVisible(on);
        refreshSchedule();
        blockChanged();
    });
    connect(start_, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& picked) {
        const bool changesBlock = draft_.scheduleForLater;
        draft_.setScheduledStart(instantFrom(picked));
        if (changesBlock) {
            blockChanged();
        }
    });
    startLabel->setVisible(draft_.scheduleForLater);

    primary_ = makePrimaryButton(QString(), this);
    primary_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    connect(primary_, &QPushButton::clicked, this, [this] {
        if (draft_.scheduleForLater) {
            model_.scheduleBlock(draft_.block);
        } else {
            model_.startBlock(draft_.block);
        }
    });
    addButtons({primary_});
    refreshSchedule();
}

void BlockPlanningView::blockChanged()
{
    model_.saveBlockDraft(draft_.block);
}

void BlockPlanningView::refreshSchedule()
{
    start_->setVisible(draft_.scheduleForLater);
    retitle(primary_, draft_.scheduleForLater ? tr("Schedule block") : tr("Continue to first session plan"));
}

} // namespace quillmere
