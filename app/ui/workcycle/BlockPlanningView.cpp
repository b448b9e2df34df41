// SPDX-License-Identifier: GPL-3.0-or-later
#include "BlockPlanningView.h"

#include "LocalText.h"
#include "ScreenParts_p.h"
#include "forms/BlockPreparationForm.h"
#include "forms/FormParts_p.h"

#include <QCheckBox>
#include <QDateTimeEdit>
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

    // The schedule is one more group of the form, the same distance apart.
    auto* groups = new QWidget(this);
    auto* groupsLayout = makeFormLayout(groups);
    form_ = new BlockPreparationForm(draft_.block, FormPresentation::editable, nullptr, groups);
    connect(form_, &BlockPreparationForm::edited, this, [this](const Block& edited) {
        // The schedule fields own plannedStart; the form never changes it.
        const auto plannedStart = draft_.block.plannedStart;
        draft_.block = edited;
        draft_.block.plannedStart = plannedStart;
        blockChanged();
    });
    groupsLayout->addWidget(form_);

    auto* schedule = new FormGroup(tr("Schedule"), groups);
    scheduleForLater_ = new QCheckBox(tr("Schedule for later"), schedule);
    scheduleForLater_->setChecked(draft_.scheduleForLater);
    schedule->addRow(scheduleForLater_);
    start_ = new QDateTimeEdit(localDateTime(draft_.scheduledStart), schedule);
    start_->setCalendarPopup(true);
    start_->setDisplayFormat(QLocale::system().dateTimeFormat(QLocale::ShortFormat));
    start_->setAccessibleName(tr("Start"));
    giveRoom(*start_);
    startRow_ = makeLabelledRow(makeRowLabel(tr("Start"), schedule), start_, schedule);
    schedule->addRow(startRow_);
    groupsLayout->addWidget(schedule);
    column()->addWidget(groups);
    connect(scheduleForLater_, &QCheckBox::toggled, this, [this](bool on) {
        draft_.setScheduleForLater(on);
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
    startRow_->setVisible(draft_.scheduleForLater);
    retitle(primary_, draft_.scheduleForLater ? tr("Schedule block") : tr("Continue to first session plan"));
}

} // namespace quillmere
