// SPDX-License-Identifier: GPL-3.0-or-later
#include "BlockProgress.h"

#include "LocalText.h"
#include "Look.h"
#include "panel/PanelParts_p.h"
#include "workcycle/SessionDots.h"

#include "quillmere/QuillmereDesign.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace quillmere {

BlockProgress::BlockProgress(std::int64_t started, std::int64_t planned, const QColor& accent, QWidget* parent)
    : QWidget(parent), started_(started), planned_(planned), accent_(accent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(look::points(QuillmereDesign::Spacing::tight));
    // The same dots as under the running screens' timer, the latest session
    // begun ringed. Their row asks for no width: only a width that has their
    // room shows them (see resizeEvent).
    dotsRow_ = new QWidget(this);
    dotsRow_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* dots = new SessionDots(dotsRow_);
    dots->showProgress(static_cast<int>(std::clamp<std::int64_t>(started, 0, planned)),
                       static_cast<int>(std::clamp<std::int64_t>(planned, 0, std::numeric_limits<int>::max())), accent);
    dotsRow_->setFixedHeight(dots->height());
    layout->addWidget(dotsRow_);
    auto* label = plainLabel(text(), this);
    label->setFont(look::captionFont());
    setForeground(*label, look::secondary(palette()));
    layout->addWidget(label);
    setAccessibleName(text());
}

void BlockProgress::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A block of more sessions than dots fit in the width is told by its
    // caption alone.
    const QWidget* dots = dotsRow_->findChild<SessionDots*>();
    dotsRow_->setVisible(dots->width() <= width());
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
