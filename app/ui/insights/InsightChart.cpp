// SPDX-License-Identifier: GPL-3.0-or-later
#include "InsightChart.h"

#include "Look.h"

#include "quillmere/QuillmereDesign.h"

#include <QAbstractAxis>
#include <QChart>
#include <QEvent>
#include <QLegend>
#include <QPainter>
#include <QPainterPath>

namespace quillmere {

InsightChart::InsightChart(QWidget* parent) : QChartView(new QChart, parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);
    QChart* drawn = chart();
    drawn->setAnimationOptions(QChart::NoAnimation);
    drawn->setBackgroundVisible(false);
    drawn->setPlotAreaBackgroundVisible(false);
    drawn->setBackgroundRoundness(0);
    // Room for the focus frame around the chart.
    const int margin = look::points(QuillmereDesign::Spacing::snug);
    drawn->setMargins(QMargins(margin, margin, margin, margin));
    drawn->legend()->setAlignment(Qt::AlignBottom);
}

void InsightChart::restyle()
{
    const QPalette palette = this->palette();
    setBackgroundBrush(palette.color(QPalette::Window));
    QChart* drawn = chart();
    QLegend* legend = drawn->legend();
    legend->setLabelColor(palette.color(QPalette::WindowText));
    legend->setFont(look::captionFont());
    for (QAbstractAxis* axis : drawn->axes()) {
        styleAxis(*axis);
    }
}

void InsightChart::styleAxis(QAbstractAxis& axis) const
{
    const QPalette palette = this->palette();
    axis.setLabelsColor(look::secondary(palette));
    axis.setLabelsFont(look::captionFont());
    axis.setTitleBrush(look::secondary(palette));
    axis.setTitleFont(look::captionFont());
    axis.setGridLineColor(look::quaternary(palette));
    axis.setMinorGridLineColor(look::quaternary(palette));
    axis.setLinePenColor(look::tertiary(palette));
}

void InsightChart::changeEvent(QEvent* event)
{
    QChartView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) {
        restyle();
    }
}

void InsightChart::paintEvent(QPaintEvent* event)
{
    QChartView::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    QPainter painter(viewport());
    look::drawFocusFrame(painter, viewport()->rect(), palette());
}

void InsightChart::focusInEvent(QFocusEvent* event)
{
    QChartView::focusInEvent(event);
    viewport()->update();
}

void InsightChart::focusOutEvent(QFocusEvent* event)
{
    QChartView::focusOutEvent(event);
    viewport()->update();
}

} // namespace quillmere
