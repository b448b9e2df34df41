// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "insights/InsightChart.h"

#include "quillmere/HistoryStatistics.h"

class QCategoryAxis;
class QLineSeries;
class QValueAxis;

namespace quillmere {

// The energy and morale that session plans rated, averaged per week, as two
// lines on the ratings' scale of 1 to 5; a week without a rated session has
// no point. Its accessible description says each week's averages in words.
class RatingsChart final : public InsightChart {
    Q_OBJECT

public:
    explicit RatingsChart(QWidget* parent = nullptr);

    void setFigures(const HistoryStatistics& statistics);

protected:
    void restyle() override;

private:
    QString description(const HistoryStatistics& statistics) const;

    QLineSeries* energy_ = nullptr;
    QLineSeries* morale_ = nullptr;
    QCategoryAxis* weeks_ = nullptr;
    QValueAxis* rating_ = nullptr;
};

} // namespace quillmere
