// SPDX-License-Identifier: GPL-3.0-or-later
#include "HeadlineFigures.h"

#include "Look.h"
#include "ScreenParts_p.h"
#include "forms/FormComponents.h"

#include "quillmere/QuillmereDesign.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLocale>

namespace quillmere {

HeadlineFigures::HeadlineFigures(QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(look::points(QuillmereDesign::Spacing::regular));
    for (Figure* figure : {&focus_, &sessions_, &targets_, &streak_}) {
        auto* card = new QuillmereCard(QuillmereDesign::Radius::card, std::nullopt, this);
        auto* column = makeColumn(card, QuillmereDesign::Spacing::tight);
        figure->value = makeLabel(QString(), look::titleFont(), card);
        figure->caption = makeSecondaryText(QString(), card);
        column->addWidget(figure->value);
        column->addWidget(figure->caption);
        column->addStretch(1);
        row->addWidget(card, 1);
    }
}

void HeadlineFigures::setFigures(const HistoryStatistics& statistics)
{
    const QLocale locale;
    const PeriodFigures& total = statistics.total;
    setFigure(focus_, tr("%1 h", "hours of focus").arg(locale.toString(total.focusMinutes / 60, 'f', 1)),
         tr("of focus"));
    setFigure(sessions_, locale.toString(total.sessionsCompleted),
         tr("session(s) completed", nullptr, total.sessionsCompleted));
    const int reviewed = total.targets.reviewed();
    if (const auto share = total.targets.metShare()) {
        setFigure(targets_, tr("%1%", "a share in percent").arg(locale.toString(qRound(*share * 100))),
             tr("of targets met in %Ln reviewed session(s)", nullptr, reviewed));
    } else {
        setFigure(targets_, QStringLiteral("–"), tr("of targets met: no session reviewed"));
    }
    setFigure(streak_, tr("%n day(s)", "a run of days with a session", statistics.currentStreakDays),
         tr("current streak, longest %n day(s)", nullptr, statistics.longestStreakDays));
}

void HeadlineFigures::setFigure(Figure& figure, const QString& value, const QString& caption)
{
    if (figure.value->text() != value) {
        figure.value->setText(value);
    }
    if (figure.caption->text() != caption) {
        figure.caption->setText(caption);
    }
}

} // namespace quillmere
