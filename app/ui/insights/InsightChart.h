// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChartView>

class QAbstractAxis;

namespace quillmere {

// The frame of every chart of the Insights tab: a chart view that Tab
// reaches and that shows a focus frame while it has the keyboard, drawn in
// the palette's colours and the look's fonts (so a dark palette gets no
// white chart), restyled when either changes, and never animated.
class InsightChart : public QChartView {
    Q_OBJECT

public:
    explicit InsightChart(QWidget* parent = nullptr);

protected:
    // Gives the chart, its legend and its axes the palette's colours and the
    // look's fonts; a subclass adds its series' colours.
    virtual void restyle();
    // Colours and fonts for an axis added after the last restyle().
    void styleAxis(QAbstractAxis& axis) const;

    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace quillmere
