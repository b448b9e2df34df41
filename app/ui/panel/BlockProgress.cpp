// SPDX-License-Identifier: GPL-3.0-or-later
#include "BlockProgress.h"

#include "LocalText.h"
#include "Look.h"
#include "panel/PanelParts_p.h"

#include "quillmere/QuillmereDesign.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace quillmere {

namespace {

// The 5-pixel track with its fill.
class ProgressBar : public QWidget {
public:
    ProgressBar(double fraction, const QColor& accent, QWidget* parent)
        : QWidget(parent), fraction_(fraction), accent_(accent)
    {
        setFixedHeight(5);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        const QRectF track = rect();
        const double radius = track.height() / 2;
        painter.setBrush(look::quaternary(palette()));
        painter.drawRoundedRect(track, radius, radius);
        if (fraction_ > 0) {
            QRectF fill = track;
            fill.setWidth(track.width() * fraction_);
            painter.setBrush(accent_);
            painter.drawRoundedRect(fill, radius, radius);
        }
    }

private:
    double fraction_;
    QColor accent_;
};

} // namespace

BlockProgress::BlockProgress(std::int64_t started, std::int64_t planned, const QColor& accent, QWidget* parent)
    : QWidget(parent), started_(started), planned_(planned), accent_(accent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(static_cast<int>(QuillmereDesign::Spacing::tight));
    auto* label = plainLabel(text(), this);
    label->setFont(smallCaptionFont());
    setForeground(*label, look::secondary(palette()));
    layout->addWidget(label);
    layout->addWidget(new ProgressBar(fillFraction(), accent, this));
    setAccessibleName(text());
}

QString BlockProgress::text() const
{
    return tr("%L1 of %L2 session(s) started", nullptr, pluralCount(planned_)).arg(started_).arg(planned_);
}

double BlockProgress::fillFraction(std::int64_t started, std::int64_t planned)
{
    const double fraction = static_cast<double>(started) / static_cast<double>(std::max<std::int64_t>(planned, 1));
    return fraction < 0 ? 0.0 : std::min(fraction, 1.0);
}

} // namespace quillmere
