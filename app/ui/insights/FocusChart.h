// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "insights/InsightChart.h"
#include "insights/PeriodLabels.h"

#include "quillmere/HistoryStatistics.h"

class QBarSeries;
class QBarSet;
class QCategoryAxis;
class QLineSeries;
class QValueAxis;

namespace quillmere {

// Focus worked per day (in minutes) or per week (in hours) as bars, and the
// share of reviewed sessions whose target was met as a line on a 0–100 %
// axis on the right. Its accessible description says each bar's figures in
// words, and so does a bar's tooltip. The chart's series and axes are made
// once and refilled.
class FocusChart final : public InsightChart {
    Q_OBJECT

public:
    explicit FocusChart(QWidget* parent = nullptr);

    // Draws the days of `statistics`, or its weeks.
    void setFigures(const HistoryStatistics& statistics, PeriodUnit unit);

protected:
    void restyle() override;

private:
    // "Tue 10 Mar: 79 minutes, 50% of targets met".
    static QString barText(const PeriodFigures& figures, PeriodUnit unit);
    QString description(const HistoryStatistics& statistics, PeriodUnit unit) const;

    // The bars drawn, for their tooltips.
    std::vector<PeriodFigures> shown_;
    PeriodUnit unit_ = PeriodUnit::day;

    QBarSet* focus_ = nullptr;
    QBarSeries* bars_ = nullptr;
    QLineSeries* targets_ = nullptr;
    QCategoryAxis* periods_ = nullptr;
    QValueAxis* amount_ = nullptr;
    QValueAxis* share_ = nullptr;
};

} // namespace quillmere
