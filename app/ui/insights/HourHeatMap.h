// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/HistoryStatistics.h"

#include <QWidget>

#include <array>

namespace quillmere {

// Focus by weekday and hour as a grid of seven rows (in the order the
// locale's week runs) and 24 columns, each cell as strong in the focus
// colour as its minutes are against the busiest cell's, with a legend.
// Charts have no such type, so it paints itself, in the palette's colours.
// Its accessible description names the busiest hours and each weekday's
// total; a cell's tooltip says its own.
class HourHeatMap final : public QWidget {
    Q_OBJECT

public:
    explicit HourHeatMap(QWidget* parent = nullptr);

    void setFigures(const HistoryStatistics& statistics);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Where everything is drawn at the current size.
    struct Geometry {
        QRect grid;
        int labelWidth = 0;
        int cellWidth = 0;
        int cellHeight = 0;
        int legendTop = 0;
    };
    Geometry geometry() const;
    // The row shown at `row` (0 at the top) as the statistics count weekdays (0 = Monday).
    int weekdayAt(int row) const;
    // The weekday row and hour under `point`, if any.
    std::optional<std::pair<int, int>> cellAt(QPoint point) const;
    QColor cellColour(double minutes) const;
    QString cellText(int weekday, int hour) const;
    QString description() const;

    std::array<std::array<double, 24>, 7> minutes_{};
    double busiest_ = 0;
    DayRange range_{};
};

} // namespace quillmere
