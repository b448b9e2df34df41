// SPDX-License-Identifier: GPL-3.0-or-later
#include "BlockProgress.h"

#include "LocalText.h"
#include "Look.h"
#include "panel/PanelParts_p.h"

#include "quillmere/QuillmereDesign.h"

#include <QLabel>
#include <QPainter>
#include <QHBoxLayout>

#include <algorithm>

namespace quillmere {

namespace {

// One dot a planned session, those started in the accent, the rest a faint
// track. A block of more sessions than dots fit in the width shows the same
// as a bar.
class SessionDots : public QWidget {
public:
    SessionDots(std::int64_t started, std::int64_t planned, const QColor& accent, QWidget* parent)
        : QWidget(parent), started_(started), planned_(std::max<std::int64_t>(planned, 1)), accent_(accent)
    {
        setFixedHeight(dot());
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override
    {
        const auto count = static_cast<int>(std::min<std::int64_t>(planned_, 1'000));
        return {count * dot() + (count - 1) * gap(), dot()};
    }
    QSize minimumSizeHint() const override { return {4 * dot(), dot()}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        const QColor track = look::quaternary(palette());
        if (sizeHint().width() > width()) {
            const QRectF bar = rect();
            const double radius = bar.height() / 2;
            painter.setBrush(track);
            painter.drawRoundedRect(bar, radius, radius);
            const double fraction = BlockProgress::fillFraction(started_, planned_);
            if (fraction > 0) {
                painter.setBrush(accent_);
                painter.drawRoundedRect(QRectF(bar.topLeft(), QSizeF(bar.width() * fraction, bar.height())), radius,
                                        radius);
            }
            return;
        }
        for (std::int64_t session = 0; session < planned_; ++session) {
            painter.setBrush(session < started_ ? accent_ : track);
            painter.drawEllipse(QRectF(static_cast<double>(session) * (dot() + gap()), 0, dot(), dot()));
        }
    }

private:
    static int dot() { return look::points(QuillmereDesign::Spacing::snug); }
    static int gap() { return look::points(QuillmereDesign::Spacing::tight); }

    std::int64_t started_;
    std::int64_t planned_;
    QColor accent_;
};

} // namespace

BlockProgress::BlockProgress(std::int64_t started, std::int64_t planned, const QColor& accent, QWidget* parent)
    : QWidget(parent), started_(started), planned_(planned), accent_(accent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(look::points(QuillmereDesign::Spacing::snug));
    layout->addWidget(new SessionDots(started, planned, accent, this), 0, Qt::AlignVCenter);
    auto* label = plainLabel(text(), this);
    label->setFont(look::captionFont());
    setForeground(*label, look::secondary(palette()));
    layout->addWidget(label, 1, Qt::AlignVCenter);
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
