// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuBarLabel.h"

#include "AppModel.h"
#include "Contrast.h"
#include "Look.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <QTransform>

#include <algorithm>
#include <cmath>

// Resources compiled into a static library are dropped by the linker unless
// something refers to their initialiser; it must be named outside any namespace.
static void initialiseStatusResources()
{
    Q_INIT_RESOURCE(status);
}

namespace quillmere {

namespace {

// The luminance every background is brought to: where the contrast to a
// light panel (#f0f0f0) and to a dark one (#202020) is the same, about 3.8,
// and white on it still reaches 4.3.
constexpr double pictureLuminance = 0.194;

// From this side on there is room for the symbol beside the minutes.
constexpr int roomySide = 32;

// The symbols of the picture are drawn for it: filled shapes and strokes two
// pixels wide on a 12-unit grid, since the screens' outlined symbols turn to
// grey fuzz at 16 pixels. They are white; the background gives the colour.
void drawSymbol(QPainter& painter, std::string_view symbol, const QRectF& box)
{
    static const bool initialised = (initialiseStatusResources(), true);
    (void)initialised;
    const QString name = QString::fromUtf8(symbol.data(), static_cast<qsizetype>(symbol.size()));
    QSvgRenderer renderer(QStringLiteral(":/status/%1.svg").arg(name));
    if (renderer.isValid()) {
        renderer.render(&painter, box);
    }
}

// The minutes in white bold digits, as tall as `box` allows: narrowed by up
// to a fifth before they are made smaller, since tall digits read better in
// a few pixels than small ones.
void drawMinutes(QPainter& painter, const QString& minutes, const QRectF& box, Qt::Alignment horizontal)
{
    QFont font = QGuiApplication::font();
    font.setBold(true);
    font.setPixelSize(100);
    QPainterPath digits;
    digits.addText(0, 0, font, minutes);
    const QRectF drawn = digits.boundingRect();
    if (drawn.isEmpty()) {
        return;
    }
    constexpr qreal narrowest = 0.8;
    qreal height = box.height() / drawn.height();
    qreal width = std::min(height, box.width() / drawn.width());
    if (width < height * narrowest) {
        height = width / narrowest;
    }
    const qreal shownWidth = drawn.width() * width;
    const qreal left = horizontal == Qt::AlignRight ? box.right() - shownWidth : box.center().x() - shownWidth / 2;
    const qreal top = box.center().y() - drawn.height() * height / 2;
    QTransform place;
    place.translate(left, top);
    place.scale(width, height);
    place.translate(-drawn.left(), -drawn.top());
    // A hair of outline thickens the digits' strokes a little, which
    // a narrowed bold face needs at the smallest sizes.
    painter.save();
    painter.setPen(QPen(Qt::white, box.height() / 24.0));
    painter.setBrush(Qt::white);
    painter.drawPath(place.map(digits));
    painter.restore();
}

// A badge at the upper right, cut free of the picture by a gap of the panel's
// own colour, so it reads on any panel and any background. From 24 pixels on
// it carries a question mark; below that it is a dot.
void drawQuestionBadge(QPainter& painter, int side, const QColor& hue)
{
    const qreal badgeSide = side * 0.44;
    const QRectF badge(side - badgeSide, 0, badgeSide, badgeSide);
    const qreal gap = std::max<qreal>(1.0, side * 0.06);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.setBrush(Qt::black);
    painter.drawEllipse(badge.adjusted(-gap, -gap, gap, gap));
    painter.restore();
    const QColor colour = look::withLuminance(hue, pictureLuminance);
    painter.setBrush(colour);
    painter.drawEllipse(badge);
    if (side >= 24) {
        // The symbol is a disc with the question mark cut out: white shows
        // through the cut only, and the badge's edge keeps its colour.
        const qreal cut = badgeSide * 0.2;
        painter.setBrush(Qt::white);
        painter.drawEllipse(badge.adjusted(cut, cut, -cut, -cut));
        look::symbolIcon("questionmark.circle.fill", colour).paint(&painter, badge.toRect());
    }
}

} // namespace

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
    const QColor hue = [phase] {
        switch (QuillmereDesign::accent(phase)) {
        case QuillmereDesign::Accent::focus:
            return QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
        case QuillmereDesign::Accent::rest: return look::teal;
        case QuillmereDesign::Accent::plan: return look::indigo;
        case QuillmereDesign::Accent::review: return look::orange;
        case QuillmereDesign::Accent::neutral: return QColor(0x6E, 0x6E, 0x76);
        }
        return QColor(0x6E, 0x6E, 0x76);
    }();
    return look::withLuminance(hue, pictureLuminance);
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
    const qreal radius = side * 0.25;
    painter.setPen(Qt::NoPen);
    painter.setBrush(picture.background);
    painter.drawRoundedRect(square, radius, radius);

    const std::string_view symbol = picture.paused ? std::string_view("pause.fill") : picture.symbol;
    // An eighth of the side around the symbol: at 16 pixels that puts its
    // 12-unit grid on whole pixels.
    const qreal inset = std::round(side * 0.125);
    if (picture.minutes.isEmpty()) {
        drawSymbol(painter, symbol, square.adjusted(inset, inset, -inset, -inset));
    } else if (side >= roomySide) {
        const qreal symbolSide = std::round(side * 0.38);
        drawSymbol(painter, symbol, QRectF(inset, inset, symbolSide, symbolSide));
        drawMinutes(painter, picture.minutes,
                    QRectF(inset, side * 0.5, side - 2 * inset, side * 0.5 - inset), Qt::AlignRight);
    } else if (picture.paused) {
        drawSymbol(painter, symbol, square.adjusted(inset, inset, -inset, -inset));
    } else {
        drawMinutes(painter, picture.minutes, square.adjusted(side * 0.09, side * 0.2, -side * 0.09, -side * 0.2),
                    Qt::AlignHCenter);
    }

    if (picture.questionMarker) {
        drawQuestionBadge(painter, side,
                          picture.background == background(WidgetPhase::reviewing) ? look::indigo : look::orange);
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
