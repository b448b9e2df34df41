// SPDX-License-Identifier: GPL-3.0-or-later
#include "IdleView.h"

#include "Look.h"
#include "LocalText.h"
#include "QuillmereCard.h"
#include "QuillmereStyle.h"
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
    column()->addWidget(new SymbolLabel("target", look::points(56), this, QuillmereDesign::Accent::focus), 0, Qt::AlignHCenter);
    addTitle(QStringLiteral("Quillmere"));

    // The scheduled block, in a card: what comes next and what can be done
    // about it.
    auto* card = new QuillmereCard(QuillmereDesign::Radius::card, std::nullopt, this);
    scheduled_ = card;
    auto* scheduledLayout = makeColumn(card, QuillmereDesign::Spacing::regular);
    auto* heading = new QLabel(tr("Block scheduled"), card);
    heading->setFont(look::secondTitleFont());
    heading->setAlignment(Qt::AlignHCenter);
    scheduledText_ = new QLabel(card);
    scheduledText_->setWordWrap(true);
    scheduledText_->setAlignment(Qt::AlignHCenter);
    auto* actions = new QHBoxLayout;
    actions->setSpacing(look::points(QuillmereDesign::Spacing::snug));
    startNow_ = new ScheduledActionButton(tr("Start now"), nullptr, card);
    look::makePrimary(*startNow_);
    edit_ = new ScheduledActionButton(tr("Edit schedule"), nullptr, card);
    cancel_ = new ScheduledActionButton(tr("Cancel scheduled block"), nullptr, card);
    actions->addStretch();
    actions->addWidget(startNow_);
    actions->addWidget(edit_);
    actions->addWidget(cancel_);
    actions->addStretch();
    scheduledLayout->addWidget(heading);
    scheduledLayout->addWidget(scheduledText_);
    scheduledLayout->addLayout(actions);
    column()->addWidget(scheduled_);

    unscheduled_ = new QWidget(this);
    auto* unscheduledLayout = makeColumn(unscheduled_, QuillmereDesign::Spacing::section);
    auto* hint = makeSecondaryText(tr("Plan one four-hour block as eight focus sessions with protected breaks."),
                                   unscheduled_);
    hint->setAlignment(Qt::AlignHCenter);
    unscheduledLayout->addWidget(hint);
    auto* plan = makePrimaryButton(tr("Plan a block"), unscheduled_);
    plan->setAccessibleName(tr("Plan a new work block"));
    plan->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(plan, &QPushButton::clicked, this, [this] { model_.beginBlock(); });
    unscheduledLayout->addWidget(plan, 0, Qt::AlignHCenter);
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
