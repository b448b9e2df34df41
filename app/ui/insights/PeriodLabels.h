// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/HistoryStatistics.h"

#include <QDate>
#include <QString>

#include <chrono>
#include <vector>

class QCategoryAxis;

// How the Insights tab names its days, weeks and periods: on a chart's axis,
// as many as fit, and in words for a screen reader, every one.
namespace quillmere {

// What one bar or point of a chart stands for.
enum class PeriodUnit { day, week };

QDate qtDate(std::chrono::local_days day);

// "Mon 2 Dec" for a day, "week of 2 Dec 2025" for a week starting then.
QString periodInWords(std::chrono::local_days start, PeriodUnit unit);
// "2 Dec 2025 to 9 Dec 2026".
QString rangeInWords(const DayRange& range);

// Makes `axis` run along `periods`, the i-th drawn at i, labelled so that
// the labels neither crowd nor repeat: every day or week when there are
// few, otherwise the first day of each week, or the first week of every
// first, second, third, sixth or twelfth month, with the year where it
// changes. Grid lines stay off: the labels mark places, not boundaries.
void labelPeriods(QCategoryAxis& axis, const std::vector<PeriodFigures>& periods, PeriodUnit unit);

} // namespace quillmere
