// SPDX-License-Identifier: GPL-3.0-or-later
#include "Look.h"
#include "Palette.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPalette>

#include <gtest/gtest.h>

#include <cmath>

namespace quillmere {
namespace {

QPalette lightPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0xEF, 0xEF, 0xEF));
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(0x30, 0x8C, 0xC6));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

QPalette darkPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x2B, 0x2B, 0x2B));
    palette.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
    palette.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    palette.setColor(QPalette::Highlight, QColor(0x1F, 0x3A, 0x8A));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

// WCAG 2 contrast, written out here so the test does not trust the code under test.
double contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& colour) {
        const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct InkCount {
    int opaque = 0;
    int inRequestedColour = 0;
};

InkCount ink(const QIcon& icon, int size, const QColor& colour)
{
    const QImage image = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
    InkCount count;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() > 96) {
                ++count.opaque;
                if (std::abs(pixel.red() - colour.red()) < 8 && std::abs(pixel.green() - colour.green()) < 8 &&
                    std::abs(pixel.blue() - colour.blue()) < 8) {
                    ++count.inRequestedColour;
                }
            }
        }
    }
    return count;
}

TEST(SymbolIcons, EverySymbolTheScreensUseRendersInTheRequestedColourWithoutAnIconTheme)
{
    QIcon::setThemeSearchPaths({});
    QIcon::setThemeName(QString());
    const QStringList used{
        "moon.zzz",          "list.bullet.clipboard", "target",     "checkmark.circle",   "cup.and.saucer",
        "flag.checkered",    "minus.circle",          "plus",       "timer",              "square.stack.3d.up",
        "clock.arrow.circlepath", "questionmark.bubble", "bell.fill", "square.dashed",    "clock",
        "pause.fill",        "play.fill",             "questionmark.circle.fill",         "arrow.down.app",
        "exclamationmark.triangle", "bolt.fill",      "heart.fill",            "chart.bar",
    };
    const QColor colour(0xC0, 0x20, 0x70);
    for (const QString& name : used) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(look::symbolNames().contains(name));
        const QIcon icon = look::symbolIcon(name.toStdString(), colour);
        ASSERT_FALSE(icon.isNull());
        for (const int size : {16, 48}) {
            SCOPED_TRACE(size);
            const InkCount count = ink(icon, size, colour);
            // Legible: a real share of the square is drawn, in the asked colour.
            EXPECT_GT(count.opaque, size * size / 20);
            EXPECT_GT(count.inRequestedColour, count.opaque / 2);
        }
    }
}

TEST(SymbolIcons, UnknownAndPathLikeNamesGiveANullIcon)
{
    for (const char* name : {"", "no.such.symbol", "../icons/plus", "icons/plus"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(look::symbolIcon(name).isNull());
    }
}

TEST(SymbolIcons, WithoutAColourTheIconFollowsTheApplicationPaletteAtPaintTime)
{
    const QPalette original = QApplication::palette();
    const QIcon icon = look::symbolIcon("pause.fill");

    QApplication::setPalette(lightPalette());
    EXPECT_GT(ink(icon, 24, Qt::black).inRequestedColour, 50);
    QApplication::setPalette(darkPalette());
    EXPECT_GT(ink(icon, 24, QColor(0xEE, 0xEE, 0xEE)).inRequestedColour, 50);

    QApplication::setPalette(original);
}

TEST(PhaseColours, EveryPhaseStandsOutOnLightAndDarkWindowsAndKeepsItsHue)
{
    const struct {
        WidgetPhase phase;
        QColor design; // invalid: the palette's highlight
    } phases[] = {
        {WidgetPhase::planning, look::indigo},
        {WidgetPhase::focusing, QColor()},
        {WidgetPhase::reviewing, look::orange},
        {WidgetPhase::breaking, look::teal},
    };
    for (const auto& [name, palette] : {std::pair{"light", lightPalette()}, std::pair{"dark", darkPalette()}}) {
        SCOPED_TRACE(name);
        const QColor window = palette.color(QPalette::Window);
        for (const auto& [phase, design] : phases) {
            SCOPED_TRACE(rawText(phase));
            const QColor colour = look::phaseColour(phase, palette);
            const QColor expectedHue = design.isValid() ? design : palette.color(QPalette::Highlight);
            EXPECT_GE(contrast(colour, window), 3.0);
            EXPECT_NEAR(colour.hslHueF(), expectedHue.hslHueF(), 0.02);
        }
        for (const WidgetPhase phase : {WidgetPhase::idle, WidgetPhase::complete}) {
            SCOPED_TRACE(rawText(phase));
            EXPECT_EQ(look::phaseColour(phase, palette), look::secondary(palette));
        }
    }
    // Where the design's colour is already legible it is used unchanged.
    EXPECT_EQ(look::phaseColour(WidgetPhase::planning, lightPalette()), look::indigo);
    EXPECT_EQ(look::phaseColour(WidgetPhase::reviewing, darkPalette()), look::orange);
    EXPECT_EQ(look::phaseColour(WidgetPhase::breaking, darkPalette()), look::teal);
}

TEST(Fonts, TimerDigitsAllHaveOneWidthSoACountdownDoesNotJitter)
{
    const QFontMetrics metrics(look::timerFont(32));
    const int width = metrics.horizontalAdvance(QLatin1Char('0'));
    for (const char digit : QByteArrayLiteral("123456789")) {
        SCOPED_TRACE(digit);
        EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char(digit)), width);
    }
    EXPECT_EQ(look::timerFont(64).pixelSize(), 64);
}

TEST(Palettes, EveryTextRoleOfQuillmeresOwnPalettesIsReadableOnItsSurface)
{
    struct Pair {
        const char* name;
        QPalette::ColorGroup group;
        QPalette::ColorRole text;
        QPalette::ColorRole surface;
        double minimum;
    };
    // Body text at 4.5 in the windows a person works in, the foreground one
    // and one behind it; placeholders and disabled controls at 3, enough to
    // read and still recede.
    const Pair pairs[] = {
        {"window text", QPalette::Active, QPalette::WindowText, QPalette::Window, 4.5},
        {"field text", QPalette::Active, QPalette::Text, QPalette::Base, 4.5},
        {"text in alternate rows", QPalette::Active, QPalette::Text, QPalette::AlternateBase, 4.5},
        {"button text", QPalette::Active, QPalette::ButtonText, QPalette::Button, 4.5},
        {"selected text", QPalette::Active, QPalette::HighlightedText, QPalette::Highlight, 4.5},
        {"tooltip", QPalette::Active, QPalette::ToolTipText, QPalette::ToolTipBase, 4.5},
        {"link", QPalette::Active, QPalette::Link, QPalette::Base, 4.5},
        {"window text, window behind", QPalette::Inactive, QPalette::WindowText, QPalette::Window, 4.5},
        {"field text, window behind", QPalette::Inactive, QPalette::Text, QPalette::Base, 4.5},
        {"button text, window behind", QPalette::Inactive, QPalette::ButtonText, QPalette::Button, 4.5},
        {"selected text, window behind", QPalette::Inactive, QPalette::HighlightedText, QPalette::Highlight, 4.5},
        {"placeholder", QPalette::Active, QPalette::PlaceholderText, QPalette::Base, 3.0},
        {"disabled label", QPalette::Disabled, QPalette::WindowText, QPalette::Window, 3.0},
        {"disabled field", QPalette::Disabled, QPalette::Text, QPalette::Base, 3.0},
        {"disabled button", QPalette::Disabled, QPalette::ButtonText, QPalette::Button, 3.0},
        {"disabled selection", QPalette::Disabled, QPalette::HighlightedText, QPalette::Highlight, 3.0},
        {"disabled placeholder", QPalette::Disabled, QPalette::PlaceholderText, QPalette::Base, 3.0},
    };
    for (const auto& [paletteName, palette] :
         {std::pair{"light", look::lightPalette()}, std::pair{"dark", look::darkPalette()}}) {
        SCOPED_TRACE(paletteName);
        for (const Pair& pair : pairs) {
            SCOPED_TRACE(pair.name);
            EXPECT_GE(contrast(palette.color(pair.group, pair.text), palette.color(pair.group, pair.surface)),
                      pair.minimum);
        }
    }
}

TEST(Palettes, SurfacesAreNeutralGreysLightOrDarkThroughoutUnderOneBlueAccent)
{
    const QPalette light = look::lightPalette();
    const QPalette dark = look::darkPalette();
    // A role left to Qt's defaults would put a white field or a light button
    // into a dark window.
    for (const QPalette::ColorRole surface : {QPalette::Window, QPalette::Base, QPalette::AlternateBase,
                                              QPalette::Button, QPalette::ToolTipBase}) {
        SCOPED_TRACE(static_cast<int>(surface));
        EXPECT_LT(dark.color(surface).lightnessF(), 0.25);
        EXPECT_GT(light.color(surface).lightnessF(), 0.9);
        // Neutral greys: no tint competes with the phases' colours.
        EXPECT_LT(dark.color(surface).hsvSaturationF(), 0.15);
        EXPECT_LT(light.color(surface).hsvSaturationF(), 0.15);
    }
    EXPECT_EQ(light.color(QPalette::Highlight), dark.color(QPalette::Highlight));
    const QColor accent = light.color(QPalette::Highlight);
    EXPECT_NEAR(accent.hslHueF(), 0.6, 0.05) << "blue";
    EXPECT_GT(accent.hslSaturationF(), 0.5);
}

} // namespace
} // namespace quillmere
