// SPDX-License-Identifier: GPL-3.0-or-later
#include "PeriodLabels.h"

#include <QCategoryAxis>
#include <QCoreApplication>
#include <QLocale>

#include <array>
#include <utility>

namespace quillmere {

namespace {

// The context of this file's texts: date formats a translation may reorder.
struct PeriodTexts {
    Q_DECLARE_TR_FUNCTIONS(quillmere::PeriodLabels)
};

// More than this and an axis as wide as the window crowds.
constexpr int maximumLabels = 10;

QString dateText(std::chrono::local_days day, const QString& format)
{
    return QLocale().toString(qtDate(day), format);
}

int monthIndex(std::chrono::local_days day)
{
    const std::chrono::year_month_day date{day};
    return static_cast<int>(date.year()) * 12 + static_cast<int>(static_cast<unsigned>(date.month())) - 1;
}

std::vector<std::pair<int, QString>> eachPeriod(const std::vector<PeriodFigures>& periods, PeriodUnit unit)
{
    std::vector<std::pair<int, QString>> labels;
    const QString format = unit == PeriodUnit::day ? PeriodTexts::tr("ddd d", "date format: a day on a chart's axis")
                                                   : PeriodTexts::tr("d MMM", "date format: a week on a chart's axis");
    for (int index = 0; index < std::ssize(periods); ++index) {
        labels.emplace_back(index, dateText(periods[static_cast<std::size_t>(index)].start, format));
    }
    return labels;
}

std::vector<std::pair<int, QString>> weekStarts(const std::vector<PeriodFigures>& days)
{
    std::vector<std::pair<int, QString>> labels;
    const int firstDay = static_cast<int>(QLocale().firstDayOfWeek());
    const QString format = PeriodTexts::tr("d MMM", "date format: a week on a chart's axis");
    for (int index = 0; index < std::ssize(days); ++index) {
        const QDate date = qtDate(days[static_cast<std::size_t>(index)].start);
        if (date.dayOfWeek() == firstDay) {
            labels.emplace_back(index, QLocale().toString(date, format));
        }
    }
    return labels;
}

// The first week that ends in each labelled month.
std::vector<std::pair<int, QString>> monthStarts(const std::vector<PeriodFigures>& weeks)
{
    using namespace std::chrono;
    const auto lastDay = [](const PeriodFigures& week) { return week.start + days{6}; };
    const int firstMonth = monthIndex(lastDay(weeks.front()));
    const int months = monthIndex(lastDay(weeks.back())) - firstMonth;
    constexpr std::array steps{1, 2, 3, 6, 12};
    int step = steps.back();
    for (const int candidate : steps) {
        if (months / candidate <= maximumLabels - 2) {
            step = candidate;
            break;
        }
    }
    // Over more than a year a month's name alone would come back.
    const bool yearEverywhere = months > 12;
    std::vector<std::pair<int, QString>> labels;
    int previous = firstMonth;
    for (int index = 1; index < std::ssize(weeks); ++index) {
        const local_days day = lastDay(weeks[static_cast<std::size_t>(index)]);
        const int month = monthIndex(day);
        if (month == previous) {
            continue;
        }
        previous = month;
        if (month % step != 0) {
            continue;
        }
        const QDate date = qtDate(day);
        QString format;
        if (step == 12) {
            format = PeriodTexts::tr("yyyy", "date format: a year on a chart's axis");
        } else if (labels.empty() || date.month() == 1 || yearEverywhere) {
            format = PeriodTexts::tr("MMM yyyy", "date format: a month and its year on a chart's axis");
        } else {
            format = PeriodTexts::tr("MMM", "date format: a month on a chart's axis");
        }
        labels.emplace_back(index, QLocale().toString(date, format));
    }
    return labels;
}

} // namespace

QDate qtDate(std::chrono::local_days day)
{
    const std::chrono::year_month_day date{day};
    return QDate(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                 static_cast<int>(static_cast<unsigned>(date.day())));
}

QString periodInWords(std::chrono::local_days start, PeriodUnit unit)
{
    switch (unit) {
    case PeriodUnit::day: return dateText(start, PeriodTexts::tr("ddd d MMM", "date format: a day in a sentence"));
    case PeriodUnit::week:
        return PeriodTexts::tr("week of %1")
            .arg(dateText(start, PeriodTexts::tr("d MMM yyyy", "date format: a date in a sentence")));
    }
    return {};
}

QString rangeInWords(const DayRange& range)
{
    const QString format = PeriodTexts::tr("d MMM yyyy", "date format: a date in a sentence");
    return PeriodTexts::tr("%1 to %2", "a range of dates").arg(dateText(range.first, format), dateText(range.last, format));
}

void labelPeriods(QCategoryAxis& axis, const std::vector<PeriodFigures>& periods, PeriodUnit unit)
{
    for (const QString& label : axis.categoriesLabels()) {
        axis.remove(label);
    }
    const int count = static_cast<int>(periods.size());
    axis.setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis.setGridLineVisible(false);
    axis.setStartValue(-0.5);
    axis.setRange(-0.5, std::max(count, 1) - 0.5);
    if (periods.empty()) {
        return;
    }
    const std::vector<std::pair<int, QString>> labels = count <= maximumLabels ? eachPeriod(periods, unit)
                                                        : unit == PeriodUnit::day ? weekStarts(periods)
                                                                                  : monthStarts(periods);
    for (const auto& [index, label] : labels) {
        axis.append(label, index);
    }
}

} // namespace quillmere
