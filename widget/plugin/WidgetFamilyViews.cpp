// SPDX-License-Identifier: GPL-3.0-or-later
#include "WidgetFamilyViews.h"

#include "WidgetLayout_p.h"
#include "LocalText.h"
#include "Look.h"

#include "quillmere/QuillmereDesign.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLocale>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

namespace quillmere::widgetparts {

SnapshotView::SnapshotView(QWidget* parent) : QWidget(parent) {}

void SnapshotView::setDisplayTime(Instant displayTime)
{
    for (DisplayTimeFollower* follower : followers_) {
        follower->setDisplayTime(displayTime);
    }
}

SmallWidgetView::SmallWidgetView(const WidgetSnapshot& snapshot, Instant displayTime, QWidget* parent)
    : SnapshotView(parent)
{
    auto* outer = columnLayout(this, 0);
    auto* content = new FittingColumn(px(snug), this);
    outer->addWidget(content);
    QVBoxLayout* column = content->column();
    column->addWidget(new PhaseBadge(snapshot, content));
    column->addWidget(following(new CountdownText(snapshot, 30, 0.6, displayTime, content)));
    TextBlock* outcome = nullptr;
    if (!snapshot.intendedOutcome.empty()) {
        outcome = new TextBlock(QString::fromStdString(snapshot.intendedOutcome), widgetFont(TypeSize::caption),
                                {Tone::secondary}, 2, content);
        column->addWidget(outcome);
    }
    column->addStretch(1);
    column->addWidget(new BlockProgressBar(snapshot, content));
    if (outcome) {
        content->setReductions(
            [outcome] {
                outcome->setMaxLines(2);
                outcome->show();
            },
            {[outcome] { outcome->setMaxLines(1); }, [outcome] { outcome->hide(); }});
    }
}

MediumWidgetView::MediumWidgetView(const WidgetSnapshot& snapshot, Instant displayTime, QWidget* parent)
    : SnapshotView(parent)
{
    auto* row = rowLayout(this, px(loose));

    auto* timer = new QWidget(this);
    shareWidthEqually(timer);
    auto* timerColumn = columnLayout(timer, px(snug));
    timerColumn->addWidget(new PhaseBadge(snapshot, timer));
    timerColumn->addWidget(following(new CountdownText(snapshot, 38, 0.6, displayTime, timer)));
    timerColumn->addStretch(1);
    timerColumn->addWidget(new BlockProgressBar(snapshot, timer));

    auto* plan = new FittingColumn(px(snug), this);
    shareWidthEqually(plan);
    QVBoxLayout* planColumn = plan->column();
    auto* outcome = new LabelledLine(WidgetTexts::tr("Outcome"), snapshot.intendedOutcome,
                                     WidgetTexts::tr("No outcome set"), 3, plan);
    planColumn->addWidget(outcome);
    LabelledLine* firstAction = nullptr;
    if (!snapshot.firstAction.empty()) {
        firstAction = new LabelledLine(WidgetTexts::tr("First action"), snapshot.firstAction, QString(), 2, plan);
        planColumn->addWidget(firstAction);
    }
    if (const std::int64_t count = openQuestionTotal(snapshot); count >= 1) {
        planColumn->addWidget(new SymbolLabel("questionmark.bubble", openQuestionText(count),
                                              widgetFont(TypeSize::caption2), {Tone::orange}, plan));
    }
    planColumn->addStretch(1);

    std::vector<std::function<void()>> reductions;
    if (firstAction) {
        reductions.emplace_back([firstAction] { firstAction->setLineLimit(1); });
    }
    reductions.emplace_back([outcome] { outcome->setLineLimit(2); });
    reductions.emplace_back([outcome] { outcome->setLineLimit(1); });
    plan->setReductions(
        [outcome, firstAction] {
            outcome->setLineLimit(3);
            if (firstAction) {
                firstAction->setLineLimit(2);
            }
        },
        std::move(reductions));

    row->addWidget(timer, 1);
    row->addWidget(new Divider(Qt::Vertical, this));
    row->addWidget(plan, 1);
}

DetailedWidgetView::DetailedWidgetView(const WidgetSnapshot& snapshot, bool twoColumns, Instant displayTime,
                                       QWidget* parent)
    : SnapshotView(parent)
{
    auto* timer = new QWidget(this);
    auto* timerColumn = columnLayout(timer, px(regular));
    timerColumn->addWidget(new PhaseBadge(snapshot, timer));
    timerColumn->addWidget(following(new CountdownText(snapshot, 46, 0.5, displayTime, timer)));
    timerColumn->addWidget(following(new SessionProgressBar(snapshot, displayTime, timer)));
    timerColumn->addStretch(1);
    timerColumn->addWidget(new BlockProgressBar(snapshot, timer));

    auto* plan = new FittingColumn(px(regular), this);
    QVBoxLayout* planColumn = plan->column();
    auto* outcome = new LabelledLine(WidgetTexts::tr("Intended outcome"), snapshot.intendedOutcome,
                                     WidgetTexts::tr("No outcome set"), 3, plan);
    auto* firstAction = new LabelledLine(WidgetTexts::tr("First action"), snapshot.firstAction,
                                         WidgetTexts::tr("No first action planned"), 3, plan);
    planColumn->addWidget(outcome);
    planColumn->addWidget(firstAction);
    QWidget* ratings = nullptr;
    if (snapshot.energy || snapshot.morale) {
        ratings = new QWidget(plan);
        auto* ratingRow = rowLayout(ratings, px(section));
        ratingRow->addStretch(1);
        if (snapshot.energy) {
            ratingRow->addWidget(new RatingLine(WidgetTexts::tr("Energy"), *snapshot.energy, "bolt.fill", ratings));
        }
        if (snapshot.morale) {
            ratingRow->addWidget(new RatingLine(WidgetTexts::tr("Morale"), *snapshot.morale, "heart.fill", ratings));
        }
        ratingRow->addStretch(1);
        planColumn->addWidget(ratings);
    }
    planColumn->addStretch(1);
    auto* questions = new OpenQuestionList(snapshot, plan);
    planColumn->addWidget(questions);

    // The stacked layout of the large family has room for a short plan only:
    // a long one loses lines and listed questions (counted under "and N
    // more") in this order, the outcome last.
    std::vector<std::function<void()>> reductions;
    reductions.emplace_back([questions] { questions->setBulletLineLimit(1); });
    reductions.emplace_back([firstAction] { firstAction->setLineLimit(2); });
    reductions.emplace_back([outcome] { outcome->setLineLimit(2); });
    for (int shown = questions->listedCount() - 1; shown >= 1; --shown) {
        reductions.emplace_back([questions, shown] { questions->setShownCount(shown); });
    }
    reductions.emplace_back([firstAction] { firstAction->setLineLimit(1); });
    reductions.emplace_back([outcome] { outcome->setLineLimit(1); });
    reductions.emplace_back([questions] { questions->setShownCount(0); });
    if (ratings) {
        reductions.emplace_back([ratings] { ratings->hide(); });
    }
    plan->setReductions(
        [questions, firstAction, outcome, ratings] {
            questions->setBulletLineLimit(2);
            questions->setShownCount(questions->listedCount());
            firstAction->setLineLimit(3);
            outcome->setLineLimit(3);
            if (ratings) {
                ratings->show();
            }
        },
        std::move(reductions));

    if (twoColumns) {
        shareWidthEqually(timer);
        shareWidthEqually(plan);
        auto* row = rowLayout(this, px(section));
        row->addWidget(timer, 1);
        row->addWidget(new Divider(Qt::Vertical, this));
        row->addWidget(plan, 1);
    } else {
        // The timer keeps its natural height; the plan fits into the rest.
        timer->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        auto* column = columnLayout(this, px(regular));
        column->addWidget(timer);
        column->addWidget(new Divider(Qt::Horizontal, this));
        column->addWidget(plan, 1);
    }
}

} // namespace quillmere::widgetparts
