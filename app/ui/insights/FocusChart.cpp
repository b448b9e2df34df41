// SPDX-License-Identifier: GPL-3.0-or-later
#include "FocusChart.h"

#include "insights/ChartScale.h"

#include "Look.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QCursor>
#include <QLineSeries>
#include <QLocale>
#include <QToolTip>
#include <QValueAxis>

namespace quillmere {

FocusChart::FocusChart(QWidget* parent) : InsightChart(parent)
{
    QChart* drawn = chart();
    focus_ = new QBarSet(tr("Focus"));
    bars_ = new QBarSeries(drawn);
    bars_->append(focus_);
    bars_->setBarWidth(0.7);
    // The pointer over a bar shows its figures, as the description says them.
    connect(bars_, &QBarSeries::hovered, this, [this](bool entered, int index) {
        if (entered && index >= 0 && index < std::ssize(shown_)) {
            QToolTip::showText(QCursor::pos(), barText(shown_[static_cast<std::size_t>(index)], unit_), this);
        } else {
            QToolTip::hideText();
        }
    });
    targets_ = new QLineSeries(drawn);
    targets_->setName(tr("Targets met"));
    drawn->addSeries(bars_);
    drawn->addSeries(targets_);

    periods_ = new QCategoryAxis(drawn);
    amount_ = new QValueAxis(drawn);
    share_ = new QValueAxis(drawn);
    scaleInQuarters(*share_, 100);
    share_->setTitleText(tr("Targets met, %"));
    // The left axis draws the grid; two grids would not line up.
    share_->setGridLineVisible(false);
    drawn->addAxis(periods_, Qt::AlignBottom);
    drawn->addAxis(amount_, Qt::AlignLeft);
    drawn->addAxis(share_, Qt::AlignRight);
    bars_->attachAxis(periods_);
    bars_->attachAxis(amount_);
    targets_->attachAxis(periods_);
    targets_->attachAxis(share_);
    restyle();
}

void FocusChart::setFigures(const HistoryStatistics& statistics, PeriodUnit unit)
{
    const std::vector<PeriodFigures>& periods = unit == PeriodUnit::day ? statistics.days : statistics.weeks;
    const double perUnit = unit == PeriodUnit::day ? 1.0 : 60.0;
    QList<qreal> amounts;
    QList<QPointF> shares;
    double largest = 0;
    for (qsizetype index = 0; index < std::ssize(periods); ++index) {
        const PeriodFigures& figures = periods[static_cast<std::size_t>(index)];
        amounts.append(figures.focusMinutes / perUnit);
        largest = std::max(largest, amounts.back());
        if (const auto share = figures.targets.metShare()) {
            shares.append(QPointF(static_cast<qreal>(index), *share * 100));
        }
    }
    shown_ = periods;
    unit_ = unit;
    focus_->remove(0, focus_->count());
    focus_->append(amounts);
    targets_->replace(shares);
    targets_->setPointsVisible(shares.size() <= mostMarkedPoints);
    labelPeriods(*periods_, periods, unit);
    switch (unit) {
    case PeriodUnit::day:
        amount_->setTitleText(tr("Minutes"));
        scaleFromZero(*amount_, largest, 15);
        setAccessibleName(tr("Focus per day"));
        break;
    case PeriodUnit::week:
        amount_->setTitleText(tr("Hours"));
        scaleFromZero(*amount_, largest, 1);
        setAccessibleName(tr("Focus per week"));
        break;
    }
    setAccessibleDescription(description(statistics, unit));
}

QString FocusChart::barText(const PeriodFigures& figures, PeriodUnit unit)
{
    const QLocale locale;
    const QString when = periodInWords(figures.start, unit);
    const QString amount = unit == PeriodUnit::day
                               ? tr("%Ln minute(s)", nullptr, qRound(figures.focusMinutes))
                               : tr("%1 hours").arg(locale.toString(figures.focusMinutes / 60, 'f', 1));
    if (const auto share = figures.targets.metShare()) {
        return tr("%1: %2, %3% of targets met").arg(when, amount, locale.toString(qRound(*share * 100)));
    }
    return tr("%1: %2").arg(when, amount);
}

QString FocusChart::description(const HistoryStatistics& statistics, PeriodUnit unit) const
{
    QStringList entries;
    bool quietPeriods = false;
    for (const PeriodFigures& figures : unit == PeriodUnit::day ? statistics.days : statistics.weeks) {
        if (qRound(figures.focusMinutes) == 0 && figures.sessionsCompleted == 0) {
            quietPeriods = true;
        } else {
            entries << barText(figures, unit);
        }
    }
    if (entries.isEmpty()) {
        entries << tr("no focus");
    } else if (quietPeriods) {
        entries << (unit == PeriodUnit::day ? tr("no focus on the other days") : tr("no focus in the other weeks"));
    }
    const QString list = entries.join(QStringLiteral("; "));
    switch (unit) {
    case PeriodUnit::day: return tr("Focus per day, %1: %2.").arg(rangeInWords(statistics.range), list);
    case PeriodUnit::week: return tr("Focus per week, %1: %2.").arg(rangeInWords(statistics.range), list);
    }
    return {};
}

void FocusChart::restyle()
{
    InsightChart::restyle();
    const QPalette palette = this->palette();
    const QColor bar = look::accentColour(QuillmereDesign::Accent::focus, palette);
    focus_->setColor(bar);
    focus_->setBorderColor(bar);
    const QColor line = look::accentColour(QuillmereDesign::Accent::review, palette);
    QPen pen(line, 2);
    targets_->setPen(pen);
    targets_->setColor(line);
}

} // namespace quillmere
