// SPDX-License-Identifier: GPL-3.0-or-later
#include "HourHeatMap.h"

#include "insights/PeriodLabels.h"

#include "Look.h"

#include "quillmere/QuillmereDesign.h"

#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QTime>
#include <QToolTip>

#include <algorithm>

namespace quillmere {

namespace {

constexpr int hours = 24;
constexpr int weekdays = 7;
// An hour label over every third column.
constexpr int hourLabelStep = 3;
constexpr int gap = 2;
// The strengths the legend shows, from the faintest filled cell to the busiest.
constexpr std::array legendSteps{0.0, 0.25, 0.5, 0.75, 1.0};

int rowHeight(const QFont& font)
{
    return QFontMetrics(font).height() + look::points(QuillmereDesign::Spacing::snug);
}

QString weekdayName(int weekday, QLocale::FormatType format)
{
    // The statistics count from Monday = 0; Qt from Monday = 1.
    return QLocale().dayName(weekday + 1, format);
}

QString hourText(int hour)
{
    return QLocale().toString(QTime(hour, 0), QLocale::ShortFormat);
}

} // namespace

HourHeatMap::HourHeatMap(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setFont(look::captionFont());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(tr("Focus by weekday and hour"));
}

void HourHeatMap::setFigures(const HistoryStatistics& statistics)
{
    minutes_ = statistics.focusMinutesByWeekdayAndHour;
    range_ = statistics.range;
    busiest_ = 0;
    for (const auto& day : minutes_) {
        busiest_ = std::max(busiest_, *std::ranges::max_element(day));
    }
    setAccessibleDescription(description());
    update();
}

QSize HourHeatMap::sizeHint() const
{
    const int margin = look::points(QuillmereDesign::Spacing::snug);
    const int row = rowHeight(font());
    // Hour labels, seven rows, a gap, the legend.
    return {QFontMetrics(font()).horizontalAdvance(QStringLiteral("00")) * hours * 2,
            2 * margin + row + weekdays * row + margin + row};
}

QSize HourHeatMap::minimumSizeHint() const
{
    return {QFontMetrics(font()).horizontalAdvance(QStringLiteral("00")) * hours, sizeHint().height()};
}

int HourHeatMap::weekdayAt(int row) const
{
    const int first = static_cast<int>(QLocale().firstDayOfWeek()) - 1;
    return (first + row) % weekdays;
}

HourHeatMap::Geometry HourHeatMap::geometry() const
{
    const QFontMetrics metrics(font());
    const int margin = look::points(QuillmereDesign::Spacing::snug);
    Geometry shape;
    for (int weekday = 0; weekday < weekdays; ++weekday) {
        shape.labelWidth = std::max(shape.labelWidth, metrics.horizontalAdvance(weekdayName(weekday, QLocale::ShortFormat)));
    }
    shape.labelWidth += margin;
    const int row = rowHeight(font());
    shape.cellHeight = row - gap;
    shape.cellWidth = std::max(1, (width() - 2 * margin - shape.labelWidth) / hours - gap);
    const int top = margin + row;
    shape.grid = QRect(margin + shape.labelWidth, top, hours * (shape.cellWidth + gap), weekdays * row);
    shape.legendTop = shape.grid.bottom() + margin;
    return shape;
}

std::optional<std::pair<int, int>> HourHeatMap::cellAt(QPoint point) const
{
    const Geometry shape = geometry();
    if (!shape.grid.contains(point)) {
        return std::nullopt;
    }
    const int column = (point.x() - shape.grid.left()) / (shape.cellWidth + gap);
    const int row = (point.y() - shape.grid.top()) / (shape.cellHeight + gap);
    if (column >= hours || row >= weekdays) {
        return std::nullopt;
    }
    return std::pair{weekdayAt(row), column};
}

QColor HourHeatMap::cellColour(double minutes) const
{
    if (minutes <= 0 || busiest_ <= 0) {
        // Fainter than the faintest hour with focus, on light and dark alike.
        QColor empty = palette().color(QPalette::WindowText);
        empty.setAlphaF(0.07f);
        return empty;
    }
    QColor colour = look::accentColour(QuillmereDesign::Accent::focus, palette());
    colour.setAlphaF(static_cast<float>(0.25 + 0.75 * std::min(1.0, minutes / busiest_)));
    return colour;
}

QString HourHeatMap::cellText(int weekday, int hour) const
{
    const int minutes = qRound(minutes_[static_cast<std::size_t>(weekday)][static_cast<std::size_t>(hour)]);
    return tr("%1 from %2: %Ln minute(s)", nullptr, minutes)
        .arg(weekdayName(weekday, QLocale::LongFormat), hourText(hour));
}

QString HourHeatMap::description() const
{
    struct Cell {
        int weekday;
        int hour;
        double minutes;
    };
    std::vector<Cell> cells;
    QStringList perWeekday;
    const QLocale locale;
    for (int row = 0; row < weekdays; ++row) {
        const int weekday = weekdayAt(row);
        double total = 0;
        for (int hour = 0; hour < hours; ++hour) {
            const double minutes = minutes_[static_cast<std::size_t>(weekday)][static_cast<std::size_t>(hour)];
            total += minutes;
            if (qRound(minutes) > 0) {
                cells.push_back({weekday, hour, minutes});
            }
        }
        if (qRound(total) > 0) {
            perWeekday << tr("%1 %2 hours").arg(weekdayName(weekday, QLocale::LongFormat),
                                                locale.toString(total / 60, 'f', 1));
        }
    }
    if (cells.empty()) {
        return tr("Focus by weekday and hour, %1: no focus.").arg(rangeInWords(range_));
    }
    QString totals = perWeekday.join(QStringLiteral(", "));
    if (perWeekday.size() < weekdays) {
        totals = tr("%1; no focus on the other weekdays").arg(totals);
    }
    constexpr std::size_t busiestShown = 3;
    const auto shown = std::min(busiestShown, cells.size());
    std::ranges::partial_sort(cells, cells.begin() + static_cast<std::ptrdiff_t>(shown),
                              [](const Cell& a, const Cell& b) { return a.minutes > b.minutes; });
    QStringList busiest;
    for (std::size_t index = 0; index < shown; ++index) {
        busiest << cellText(cells[index].weekday, cells[index].hour);
    }
    return tr("Focus by weekday and hour, %1. Busiest hours: %2. Per weekday: %3.")
        .arg(rangeInWords(range_), busiest.join(QStringLiteral("; ")), totals);
}

bool HourHeatMap::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const auto cell = cellAt(help->pos())) {
            QToolTip::showText(help->globalPos(), cellText(cell->first, cell->second), this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

void HourHeatMap::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette palette = this->palette();
    const Geometry shape = geometry();
    const QFontMetrics metrics(font());
    const int margin = look::points(QuillmereDesign::Spacing::snug);
    const double radius = 3;

    painter.setPen(look::secondary(palette));
    for (int hour = 0; hour < hours; hour += hourLabelStep) {
        const int left = shape.grid.left() + hour * (shape.cellWidth + gap);
        painter.drawText(QRect(left, margin, shape.cellWidth * hourLabelStep, shape.grid.top() - margin),
                         Qt::AlignLeft | Qt::AlignVCenter, locale().toString(hour));
    }
    for (int row = 0; row < weekdays; ++row) {
        const int weekday = weekdayAt(row);
        const int top = shape.grid.top() + row * (shape.cellHeight + gap);
        painter.setPen(look::secondary(palette));
        painter.drawText(QRect(margin, top, shape.labelWidth - margin, shape.cellHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         weekdayName(weekday, QLocale::ShortFormat));
        painter.setPen(Qt::NoPen);
        for (int hour = 0; hour < hours; ++hour) {
            painter.setBrush(cellColour(minutes_[static_cast<std::size_t>(weekday)][static_cast<std::size_t>(hour)]));
            painter.drawRoundedRect(QRectF(shape.grid.left() + hour * (shape.cellWidth + gap), top, shape.cellWidth,
                                           shape.cellHeight),
                                    radius, radius);
        }
    }

    // The legend: "No focus", the empty cell, the strengths, and what the strongest stands for.
    const int swatch = shape.cellHeight;
    int left = shape.grid.left();
    const auto text = [&](const QString& words) {
        const int width = metrics.horizontalAdvance(words);
        painter.setPen(look::secondary(palette));
        painter.drawText(QRect(left, shape.legendTop, width, swatch), Qt::AlignLeft | Qt::AlignVCenter, words);
        left += width + margin;
    };
    const auto box = [&](const QColor& colour) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRoundedRect(QRectF(left, shape.legendTop, swatch, swatch), radius, radius);
        left += swatch + gap;
    };
    box(cellColour(0));
    left += margin - gap;
    text(tr("no focus"));
    if (busiest_ > 0) {
        for (const double strength : legendSteps) {
            box(cellColour(std::max(strength, 0.01) * busiest_));
        }
        left += margin - gap;
        text(tr("%Ln minute(s) at the busiest hour", nullptr, qRound(busiest_)));
    }

    if (hasFocus()) {
        look::drawFocusFrame(painter, rect(), palette);
    }
}

void HourHeatMap::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void HourHeatMap::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

} // namespace quillmere
