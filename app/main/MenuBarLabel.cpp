// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuBarLabel.h"

#include "AppModel.h"
#include "Look.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace quillmere {

MenuBarLabel MenuBarLabel::of(const AppModel& model)
{
    MenuBarLabel label;
    label.phase = model.phase();
    label.timer = TimerSnapshot::derive(model.state(), model.displayTick());
    label.timerText = model.timerText();
    label.hasOpenQuestions = std::ranges::any_of(model.state().agentQuestions,
                                                 [](const AgentQuestion& question) { return !question.answeredAt; });
    label.accessibleName =
        QCoreApplication::translate("quillmere::MenuBarLabel", "Quillmere, %1", "the item's tooltip: the app, then the phase or time")
            .arg(model.menuTitle());
    return label;
}

QString MenuBarLabel::minutesText(std::int64_t displaySeconds, bool overtime)
{
    const std::int64_t minutes = (std::max<std::int64_t>(displaySeconds, 0) + 59) / 60;
    return (overtime && minutes > 0 ? QStringLiteral("+") : QString()) + QString::number(minutes);
}

QColor MenuBarLabel::background(WidgetPhase phase)
{
    switch (QuillmereDesign::accent(phase)) {
    case QuillmereDesign::Accent::focus: return QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
    case QuillmereDesign::Accent::rest: return look::teal.darker(115);
    case QuillmereDesign::Accent::plan: return look::indigo;
    case QuillmereDesign::Accent::review: return look::orange.darker(112);
    case QuillmereDesign::Accent::neutral: return QColor(0x6E, 0x6E, 0x76);
    }
    return QColor(0x6E, 0x6E, 0x76);
}

MenuBarLabel::Picture MenuBarLabel::picture() const
{
    Picture picture;
    picture.symbol = symbolName(phase);
    if (timer) {
        picture.minutes = minutesText(timer->displaySeconds, timer->isOvertime);
        picture.paused = timer->isPaused;
    }
    picture.questionMarker = hasOpenQuestions;
    picture.background = background(phase);
    return picture;
}

QPixmap MenuBarLabel::render(const Picture& picture, int side, qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(side, side) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF square(0, 0, side, side);
    const qreal radius = side * 0.24;
    QColor fill = picture.background;
    if (picture.paused) {
        // A paused timer looks at rest: the same picture, washed out.
        fill.setAlphaF(0.55f);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(square, radius, radius);

    const QIcon symbol = look::symbolIcon(picture.symbol, Qt::white);
    if (picture.minutes.isEmpty()) {
        const qreal inset = side * 0.16;
        symbol.paint(&painter, square.adjusted(inset, inset, -inset, -inset).toRect());
    } else {
        // The symbol moves to the upper left; the minutes fill the lower right
        // in a bold face, shrunk until they fit.
        const qreal symbolSide = side * 0.46;
        symbol.paint(&painter, QRectF(side * 0.07, side * 0.07, symbolSide, symbolSide).toRect());
        QFont font = QGuiApplication::font();
        font.setBold(true);
        const QRectF textBox(side * 0.04, side * 0.36, side * 0.90, side * 0.62);
        qreal pixelSize = textBox.height();
        for (; pixelSize > 4; pixelSize -= 0.5) {
            font.setPixelSize(static_cast<int>(pixelSize));
            if (QFontMetricsF(font).horizontalAdvance(picture.minutes) <= textBox.width()) {
                break;
            }
        }
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(textBox, Qt::AlignRight | Qt::AlignBottom, picture.minutes);
    }

    if (picture.questionMarker) {
        // A filled question mark in the upper right, ringed in white so that it
        // stands out from the phase colour behind it.
        const qreal markerSide = side * 0.44;
        const QRectF marker(side - markerSide, 0, markerSide, markerSide);
        painter.setBrush(Qt::white);
        painter.drawEllipse(marker);
        // Orange as everywhere else, except on the orange of a review.
        const QColor markerColour =
            picture.background == MenuBarLabel::background(WidgetPhase::reviewing) ? look::indigo : look::orange;
        const qreal ring = std::max<qreal>(1.0, side * 0.05);
        look::symbolIcon("questionmark.circle.fill", markerColour)
            .paint(&painter, marker.adjusted(ring, ring, -ring, -ring).toRect());
    }
    return pixmap;
}

QIcon MenuBarLabel::icon(const Picture& picture)
{
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48, 64}) {
        icon.addPixmap(render(picture, side));
    }
    return icon;
}

} // namespace quillmere
