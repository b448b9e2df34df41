// SPDX-License-Identifier: GPL-3.0-or-later
#include "IdleView.h"

#include "Look.h"
#include "LocalText.h"
#include "ScreenParts_p.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace quillmere {

ScheduledActionButton::ScheduledActionButton(const QString& title, std::function<void()> action, QWidget* parent)
    : QPushButton(parent)
{
    setAutoDefault(false);
    update(title, std::move(action));
    connect(this, &QPushButton::clicked, this, [this] {
        if (action_) {
            action_();
        }
    });
}

void ScheduledActionButton::update(const QString& title, std::function<void()> action)
{
    setText(title);
    setAccessibleName(title);
    action_ = std::move(action);
}

IdleView::IdleView(AppModel& model, QWidget* parent) : PhaseScreen(model, Spacing::cycle, parent)
{
    addTitle(QStringLiteral("Quillmere"));

    scheduled_ = new QWidget(this);
    auto* scheduledLayout = new QVBoxLayout(scheduled_);
    scheduledLayout->setContentsMargins(0, 0, 0, 0);
    auto* heading = new QLabel(tr("Block scheduled"), scheduled_);
    heading->setFont(look::secondTitleFont());
    scheduledText_ = new QLabel(scheduled_);
    scheduledText_->setWordWrap(true);
    auto* actions = new QHBoxLayout;
    startNow_ = new ScheduledActionButton(tr("Start now"), nullptr, scheduled_);
    edit_ = new ScheduledActionButton(tr("Edit schedule"), nullptr, scheduled_);
    cancel_ = new ScheduledActionButton(tr("Cancel scheduled block"), nullptr, scheduled_);
    actions->addWidget(startNow_);
    actions->addWidget(edit_);
    actions->addWidget(cancel_);
    actions->addStretch();
    scheduledLayout->addWidget(heading);
    scheduledLayout->addWidget(scheduledText_);
    scheduledLayout->addLayout(actions);
    column()->addWidget(scheduled_);

    unscheduled_ = new QWidget(this);
    auto* unscheduledLayout = new QVBoxLayout(unscheduled_);
    unscheduledLayout->setContentsMargins(0, 0, 0, 0);
    unscheduledLayout->setSpacing(column()->spacing());
    auto* hint = makeSecondaryText(tr("Plan one four-hour block as eight focus sessions with protected breaks."),
                                   unscheduled_);
    unscheduledLayout->addWidget(hint);
    auto* plan = makePrimaryButton(tr("Plan a block"), unscheduled_);
    plan->setAccessibleName(tr("Plan a new work block"));
    plan->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(plan, &QPushButton::clicked, this, [this] { model_.beginBlock(); });
    unscheduledLayout->addWidget(plan, 0, Qt::AlignLeft);
    column()->addWidget(unscheduled_);

    refreshOnStateChange();
}

void IdleView::refresh()
{
    const auto& block = model_.state().currentBlock;
    const bool isScheduled = block && block->plannedStart;
    scheduled_->setVisible(isScheduled);
    unscheduled_->setVisible(!isScheduled);
    if (!isScheduled) {
        return;
    }
    const QLocale locale = QLocale::system();
    const QDateTime start = localDateTime(*block->plannedStart);
    scheduledText_->setText(tr("Quillmere will show the first session plan at %1 %2.")
                                .arg(locale.toString(start.date(), QLocale::LongFormat),
                                     locale.toString(start.time(), QLocale::ShortFormat)));
    startNow_->update(tr("Start now"), [this] { model_.startScheduledBlockNow(model_.now()); });
    edit_->update(tr("Edit schedule"), [this] { model_.editScheduledBlock(model_.now()); });
    cancel_->update(tr("Cancel scheduled block"), [this] { model_.cancelScheduledBlock(model_.now()); });
}

} // namespace quillmere
