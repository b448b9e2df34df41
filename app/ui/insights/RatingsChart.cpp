// SPDX-License-Identifier: GPL-3.0-or-later
#include "RatingsChart.h"

#include "insights/ChartScale.h"
#include "insights/PeriodLabels.h"

#include "Look.h"

#include <QCategoryAxis>
#include <QChart>
#include <QLineSeries>
#include <QLocale>
#include <QValueAxis>

namespace quillmere {

RatingsChart::RatingsChart(QWidget* parent) : InsightChart(parent)
{
    QChart* drawn = chart();
    energy_ = new QLineSeries(drawn);
    energy_->setName(tr("Energy"));
    morale_ = new QLineSeries(drawn);
    morale_->setName(tr("Morale"));
    weeks_ = new QCategoryAxis(drawn);
    rating_ = new QValueAxis(drawn);
    // Half a step beyond each end, so that points at 1 and 5 are drawn whole.
    rating_->setRange(0.5, 5.5);
    rating_->setTickType(QValueAxis::TicksDynamic);
    rating_->setTickAnchor(1);
    rating_->setTickInterval(1);
    rating_->setLabelFormat(QStringLiteral("%.0f"));
    rating_->setTitleText(tr("Rating, 1 to 5"));
    drawn->addAxis(weeks_, Qt::AlignBottom);
    drawn->addAxis(rating_, Qt::AlignLeft);
    // Energy's points are the larger, so that a week rated the same on both
    // shows a ring around morale's point rather than one point.
    energy_->setMarkerSize(6);
    morale_->setMarkerSize(3);
    for (QLineSeries* series : {energy_, morale_}) {
        drawn->addSeries(series);
        series->attachAxis(weeks_);
        series->attachAxis(rating_);
    }
    setAccessibleName(tr("Energy and morale per week"));
    restyle();
}

void RatingsChart::setFigures(const HistoryStatistics& statistics)
{
    QList<QPointF> energy;
    QList<QPointF> morale;
    for (qsizetype index = 0; index < std::ssize(statistics.weeks); ++index) {
        const PeriodFigures& week = statistics.weeks[static_cast<std::size_t>(index)];
        if (const auto average = week.energy.average()) {
            energy.append(QPointF(static_cast<qreal>(index), *average));
        }
        if (const auto average = week.morale.average()) {
            morale.append(QPointF(static_cast<qreal>(index), *average));
        }
    }
    energy_->replace(energy);
    morale_->replace(morale);
    for (QLineSeries* series : {energy_, morale_}) {
        series->setPointsVisible(series->count() <= mostMarkedPoints);
    }
    labelPeriods(*weeks_, statistics.weeks, PeriodUnit::week);
    setAccessibleDescription(description(statistics));
}

QString RatingsChart::description(const HistoryStatistics& statistics) const
{
    const QLocale locale;
    const auto rating = [&](const RatingTally& tally) {
        const auto average = tally.average();
        return average ? locale.toString(*average, 'f', 1) : tr("not rated");
    };
    QStringList entries;
    for (const PeriodFigures& week : statistics.weeks) {
        if (week.energy.count > 0 || week.morale.count > 0) {
            entries << tr("%1: energy %2, morale %3")
                           .arg(periodInWords(week.start, PeriodUnit::week), rating(week.energy), rating(week.morale));
        }
    }
    if (entries.isEmpty()) {
        entries << tr("no rated sessions");
    }
    return tr("Energy and morale per week on a scale of 1 to 5, %1: %2.")
        .arg(rangeInWords(statistics.range), entries.join(QStringLiteral("; ")));
}

void RatingsChart::restyle()
{
    InsightChart::restyle();
    const QPalette palette = this->palette();
    const std::pair<QLineSeries*, QuillmereDesign::Accent> lines[] = {
        {energy_, QuillmereDesign::Accent::rest},
        {morale_, QuillmereDesign::Accent::plan},
    };
    for (const auto& [series, accent] : lines) {
        const QColor colour = look::accentColour(accent, palette);
        series->setPen(QPen(colour, 2));
        series->setColor(colour);
    }
}

} // namespace quillmere
