// SPDX-License-Identifier: GPL-3.0-or-later
#include "Look.h"

#include "Contrast.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>
#include <QTextLayout>
#include <QWidget>

#include <algorithm>
#include <cmath>

// Resources compiled into a static library are dropped by the linker unless
// something refers to their initialiser; it must be named outside any namespace.
static void initialiseIconResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace quillmere::look {

namespace {

QColor withOpacity(QColor colour, double opacity)
{
    colour.setAlphaF(static_cast<float>(colour.alphaF() * opacity));
    return colour;
}

QString resourcePath(const QString& name)
{
    return QStringLiteral(":/icons/%1.svg").arg(name);
}

void ensureResources()
{
    static const bool initialised = (initialiseIconResources(), true);
    (void)initialised;
}

// Draws one symbol at any size: the SVG is recoloured and rendered on demand,
// so icons stay crisp at every scale and, without an explicit colour, follow
// the palette current at paint time (a switch to a dark theme recolours them).
class SymbolIconEngine final : public QIconEngine {
public:
    SymbolIconEngine(QString name, QByteArray svg, QColor colour)
        : name_(std::move(name)), svg_(std::move(svg)), colour_(std::move(colour))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap image = pixmap(rect.size() * ratio, mode, state);
        image.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), image);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        if (side <= 0) {
            return {};
        }
        const QColor colour = colourFor(mode);
        const QString key = QStringLiteral("quillmere-symbol:%1:%2:%3")
                                .arg(name_, colour.name(QColor::HexArgb))
                                .arg(side);
        QPixmap cached;
        if (QPixmapCache::find(key, &cached)) {
            return cached;
        }
        QByteArray recoloured = svg_;
        recoloured.replace("currentColor", colour.name(QColor::HexRgb).toLatin1());
        QSvgRenderer renderer(recoloured);
        QPixmap image(side, side);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setOpacity(colour.alphaF());
            renderer.render(&painter, QRectF(0, 0, side, side));
        }
        QPixmapCache::insert(key, image);
        return image;
    }

    QIconEngine* clone() const override { return new SymbolIconEngine(name_, svg_, colour_); }
    QString key() const override { return QStringLiteral("QuillmereSymbol"); }
    QString iconName() override { return name_; }
    bool isNull() override { return false; }

private:
    QColor colourFor(QIcon::Mode mode) const
    {
        const QPalette palette = QGuiApplication::palette();
        QColor colour = colour_.isValid() ? colour_ : palette.color(QPalette::WindowText);
        switch (mode) {
        case QIcon::Normal:
        case QIcon::Active: break;
        case QIcon::Disabled: colour = withOpacity(colour, 0.4); break;
        case QIcon::Selected:
            // A selected row is drawn on the highlight; an icon in the text
            // colour would vanish on it.
            if (!colour_.isValid()) {
                colour = palette.color(QPalette::HighlightedText);
            }
            break;
        }
        return colour;
    }

    QString name_;
    QByteArray svg_;
    QColor colour_;
};

QFont scaledApplicationFont(double factor, QFont::Weight weight)
{
    QFont font = QGuiApplication::font();
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(std::max(8.0, font.pointSizeF() * factor));
    } else {
        font.setPixelSize(std::max(10, static_cast<int>(std::lround(font.pixelSize() * factor))));
    }
    font.setWeight(weight);
    return font;
}

} // namespace

QColor secondary(const QPalette& palette)
{
    return withOpacity(palette.color(QPalette::WindowText), 0.60);
}

QColor tertiary(const QPalette& palette)
{
    return withOpacity(palette.color(QPalette::WindowText), 0.35);
}

QColor quaternary(const QPalette& palette)
{
    return withOpacity(palette.color(QPalette::WindowText), 0.18);
}

QColor accent(const QPalette& palette)
{
    return palette.color(QPalette::Highlight);
}

QColor surface(const QPalette& palette)
{
    const QColor window = palette.color(QPalette::Window);
    const QColor base = palette.color(QPalette::Base);
    QColor fill = QColor::fromRgbF(0.6f * base.redF() + 0.4f * window.redF(), 0.6f * base.greenF() + 0.4f * window.greenF(),
                                   0.6f * base.blueF() + 0.4f * window.blueF());
    if (contrastRatio(fill, window) < 1.04) {
        // Themes whose base equals the window colour would hide the card.
        const bool dark = relativeLuminance(window) < 0.5;
        fill = dark ? window.lighter(118) : window.darker(104);
    }
    return fill;
}

QColor hairline(const QPalette& palette)
{
    return withOpacity(palette.color(QPalette::WindowText), 0.14);
}

void drawFocusFrame(QPainter& painter, const QRect& area, const QPalette& palette)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(legible(accent(palette), palette), 2));
    painter.setBrush(Qt::NoBrush);
    const double radius = QuillmereDesign::Radius::control;
    painter.drawRoundedRect(QRectF(area).adjusted(1, 1, -1, -1), radius, radius);
    painter.restore();
}

QColor legible(const QColor& colour, const QPalette& palette, double minimumContrast)
{
    const QColor background = palette.color(QPalette::Window);
    if (contrastRatio(colour, background) >= minimumContrast) {
        return colour;
    }
    // Keep hue and saturation and walk the lightness away from the background
    // until the colour stands out enough; the first step that does is the
    // closest to the design's colour.
    const bool lighten = contrastRatio(Qt::white, background) > contrastRatio(Qt::black, background);
    const QColor hsl = colour.toHsl();
    for (int step = 1; step <= 255; ++step) {
        const int lightness = std::clamp(hsl.lightness() + (lighten ? step : -step), 0, 255);
        QColor candidate = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness, colour.alpha());
        if (contrastRatio(candidate, background) >= minimumContrast || lightness == 0 || lightness == 255) {
            return candidate;
        }
    }
    return colour;
}

QColor accentColour(QuillmereDesign::Accent role, const QPalette& palette)
{
    switch (role) {
    case QuillmereDesign::Accent::focus: return legible(accent(palette), palette);
    case QuillmereDesign::Accent::rest: return legible(teal, palette);
    case QuillmereDesign::Accent::plan: return legible(indigo, palette);
    case QuillmereDesign::Accent::review: return legible(orange, palette);
    case QuillmereDesign::Accent::neutral: return secondary(palette);
    }
    return secondary(palette);
}

QColor phaseColour(WidgetPhase phase, const QPalette& palette)
{
    return accentColour(QuillmereDesign::accent(phase), palette);
}

QIcon symbolIcon(std::string_view name, const QColor& colour)
{
    ensureResources();
    const QString symbol = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    if (symbol.isEmpty() || symbol.contains(QLatin1Char('/'))) {
        return {};
    }
    QFile file(resourcePath(symbol));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QIcon(new SymbolIconEngine(symbol, file.readAll(), colour));
}

QStringList symbolNames()
{
    ensureResources();
    QStringList names;
    for (const QString& file : QDir(QStringLiteral(":/icons")).entryList({QStringLiteral("*.svg")}, QDir::Files)) {
        names.append(file.chopped(4));
    }
    names.sort();
    return names;
}

int points(double value)
{
    return static_cast<int>(std::lround(value));
}

QFont titleFont()
{
    return scaledApplicationFont(2.0, QFont::Bold);
}

QFont secondTitleFont()
{
    return scaledApplicationFont(1.35, QFont::Bold);
}

QFont headlineFont()
{
    return scaledApplicationFont(1.0, QFont::DemiBold);
}

QFont captionFont()
{
    return scaledApplicationFont(0.85, QFont::Normal);
}

QFont calloutFont()
{
    return scaledApplicationFont(0.93, QFont::Normal);
}

QFont timerFont(int pointSize)
{
    // Design points are device-independent pixels. The desktop's own face
    // when its digits share one width (most interface faces do), so that a
    // running countdown does not jitter; a fixed-pitch face otherwise. Large
    // digits are light, small ones a little heavier to stay readable.
    QFont font = QGuiApplication::font();
    font.setPixelSize(std::max(1, pointSize));
    font.setWeight(pointSize >= 40 ? QFont::Light : QFont::Medium);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QLatin1Char('0'));
    const bool tabular = std::ranges::all_of(QStringLiteral("123456789"),
                                             [&](QChar digit) { return metrics.horizontalAdvance(digit) == width; });
    if (!tabular) {
        QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        fixed.setStyleHint(QFont::Monospace);
        fixed.setPixelSize(std::max(1, pointSize));
        fixed.setWeight(font.weight());
        return fixed;
    }
    return font;
}

namespace {

void applySecondary(QWidget& widget)
{
    QPalette palette = widget.palette();
    const QColor colour = secondary(QGuiApplication::palette());
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget.setPalette(palette);
}

// A colour set on a widget no longer follows the application's palette, so
// the dimmed text is recomputed when the theme changes.
class SecondaryFollower final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ApplicationPaletteChange) {
            if (auto* widget = qobject_cast<QWidget*>(watched)) {
                applySecondary(*widget);
            }
        }
        return false;
    }
};

} // namespace

QStringList clampedLines(const QString& text, const QFont& font, int width, int maxLines, bool* elided)
{
    if (elided != nullptr) {
        *elided = false;
    }
    width = std::max(width, 1);
    maxLines = std::max(maxLines, 1);
    // QTextLayout breaks lines only at the Unicode line separator.
    QString laidOut = text;
    laidOut.replace(QLatin1Char('\n'), QChar::LineSeparator);
    const auto trimmedEnd = [](QString line) {
        while (!line.isEmpty() && (line.back().isSpace() || line.back() == QChar::LineSeparator)) {
            line.chop(1);
        }
        return line;
    };

    QStringList result;
    QTextLayout layout(laidOut, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        const int end = line.textStart() + line.textLength();
        const bool more = !laidOut.mid(end).trimmed().isEmpty();
        if (result.size() + 1 == maxLines && more) {
            QString rest = laidOut.mid(line.textStart());
            rest.replace(QChar::LineSeparator, QLatin1Char(' '));
            result.append(QFontMetrics(font).elidedText(rest.simplified(), Qt::ElideRight, width));
            if (elided != nullptr) {
                *elided = true;
            }
            break;
        }
        result.append(trimmedEnd(laidOut.mid(line.textStart(), line.textLength())));
        if (!more) {
            break;
        }
    }
    layout.endLayout();
    if (result.isEmpty()) {
        result.append(QString());
    }
    return result;
}

void makeSecondary(QWidget& widget)
{
    applySecondary(widget);
    static const QString followerName = QStringLiteral("quillmere-secondary-follower");
    if (!widget.findChild<QObject*>(followerName, Qt::FindDirectChildrenOnly)) {
        auto* follower = new SecondaryFollower(&widget);
        follower->setObjectName(followerName);
        widget.installEventFilter(follower);
    }
}

} // namespace quillmere::look
