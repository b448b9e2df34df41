// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuBarLabel.h"

#include "Contrast.h"
#include "ShellTestSupport.h"
#include "StatusIconCases.h"

#include <QImage>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using namespace std::chrono_literals;

TEST(MenuBarLabel, IdleWithoutQuestionsIsTheMoonAlone)
{
    shelltest::ModelWithCountingWindow harness;

    const MenuBarLabel label = MenuBarLabel::of(*harness.model);
    const MenuBarLabel::Picture picture = label.picture();

    EXPECT_EQ(picture.symbol, "moon.zzz");
    EXPECT_TRUE(picture.minutes.isEmpty());
    EXPECT_FALSE(picture.questionMarker);
    EXPECT_FALSE(label.timerText.has_value());
    EXPECT_EQ(label.accessibleName, QStringLiteral("Quillmere, Quillmere"));
}

TEST(MenuBarLabel, RunningFocusCarriesTimerMinutesAndQuestionMarker)
{
    shelltest::ModelWithCountingWindow harness;
    harness.startFocus();
    harness.model->addQuestion(QStringLiteral("Which branch?"));
    harness.advance(90s);

    const MenuBarLabel label = MenuBarLabel::of(*harness.model);

    EXPECT_EQ(label.picture().symbol, "target");
    EXPECT_EQ(label.timerText, QStringLiteral("23:30"));
    EXPECT_EQ(label.picture().minutes, QStringLiteral("24"));
    EXPECT_TRUE(label.picture().questionMarker);
    EXPECT_EQ(label.accessibleName, QStringLiteral("Quillmere, 23:30 ?1"));
}

TEST(MenuBarLabel, MinutesAreRoundedUpSoThatOnlyTheEndShowsZero)
{
    EXPECT_EQ(MenuBarLabel::minutesText(1500, false), QStringLiteral("25"));
    EXPECT_EQ(MenuBarLabel::minutesText(1441, false), QStringLiteral("25"));
    EXPECT_EQ(MenuBarLabel::minutesText(1440, false), QStringLiteral("24"));
    EXPECT_EQ(MenuBarLabel::minutesText(1, false), QStringLiteral("1"));
    EXPECT_EQ(MenuBarLabel::minutesText(0, false), QStringLiteral("0"));
    EXPECT_EQ(MenuBarLabel::minutesText(7200, false), QStringLiteral("120"));
    EXPECT_EQ(MenuBarLabel::minutesText(30, true), QStringLiteral("+1"));
    EXPECT_EQ(MenuBarLabel::minutesText(0, true), QStringLiteral("0"));
}

// Counts pixels of the picture that are not the phase colour, inside `area`.
int markedPixels(const QImage& image, const QRect& area, const QColor& background)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() > 200 && qAbs(pixel.red() - background.red()) + qAbs(pixel.green() - background.green()) +
                                               qAbs(pixel.blue() - background.blue()) >
                                           60) {
                ++count;
            }
        }
    }
    return count;
}

TEST(MenuBarLabel, PictureShowsTheMarkerTopRightAndTheMinutesBottomRight)
{
    MenuBarLabel::Picture plain{"target", QString(), false, false, QColor(0x58, 0x56, 0xD6)};
    MenuBarLabel::Picture marked = plain;
    marked.questionMarker = true;
    MenuBarLabel::Picture timed = plain;
    timed.minutes = QStringLiteral("25");

    const QImage plainImage = MenuBarLabel::render(plain, 64).toImage();
    const QImage markedImage = MenuBarLabel::render(marked, 64).toImage();
    const QImage timedImage = MenuBarLabel::render(timed, 64).toImage();
    const QRect topRight(50, 2, 12, 12);
    const QRect bottomRight(44, 44, 16, 16);

    EXPECT_EQ(plainImage.size(), QSize(64, 64));
    EXPECT_GT(markedPixels(markedImage, topRight, plain.background),
              markedPixels(plainImage, topRight, plain.background) + 40);
    EXPECT_GT(markedPixels(timedImage, bottomRight, plain.background),
              markedPixels(plainImage, bottomRight, plain.background) + 20);
}

// What a picture shows on a panel of one colour, pixel by pixel. A pixel
// counts as covered when it is at least half opaque, and is taken as it
// looks: blended over the panel.
struct Legibility {
    int covered = 0;
    // Covered pixels that stand out from the panel: a contrast of 3 or more.
    int standOut = 0;
    // Opaque pixels beside one that is not (or the picture's edge): the
    // outline that sets the shape off from the panel, inside its soft edge,
    // and those of them that stand out.
    int outline = 0;
    int outlineStandsOut = 0;
    // Pixels that stand out from the picture's own background by 3: the
    // symbol, the minutes.
    int marks = 0;
    // Marks whose right, lower and lower-right neighbours carry ink too (a
    // contrast of 1.5 to the background, a quarter covered or so). A stroke
    // one pixel wide has none of these; one of two pixels, sharp or soft,
    // keeps about half its marks.
    int solidMarks = 0;
};

Legibility legibility(const QImage& image, const QColor& panel, const QColor& background)
{
    const auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && x < image.width() && y < image.height(); };
    const auto covered = [&](int x, int y) { return inside(x, y) && image.pixelColor(x, y).alphaF() >= 0.5f; };
    const auto opaque = [&](int x, int y) { return inside(x, y) && image.pixelColor(x, y).alphaF() >= 0.9f; };
    const auto seen = [&](int x, int y) {
        const QColor pixel = image.pixelColor(x, y);
        const float alpha = pixel.alphaF();
        return QColor::fromRgbF(pixel.redF() * alpha + panel.redF() * (1 - alpha),
                                pixel.greenF() * alpha + panel.greenF() * (1 - alpha),
                                pixel.blueF() * alpha + panel.blueF() * (1 - alpha));
    };
    const auto apart = [&](int x, int y, double contrast) {
        return covered(x, y) && look::contrastRatio(seen(x, y), background) >= contrast;
    };
    Legibility result;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!covered(x, y)) {
                continue;
            }
            ++result.covered;
            const bool standsOut = look::contrastRatio(seen(x, y), panel) >= 3;
            result.standOut += standsOut ? 1 : 0;
            if (opaque(x, y) && (!opaque(x - 1, y) || !opaque(x + 1, y) || !opaque(x, y - 1) || !opaque(x, y + 1))) {
                ++result.outline;
                result.outlineStandsOut += standsOut ? 1 : 0;
            }
            if (apart(x, y, 3)) {
                ++result.marks;
                result.solidMarks += apart(x + 1, y, 1.5) && apart(x, y + 1, 1.5) && apart(x + 1, y + 1, 1.5) ? 1 : 0;
            }
        }
    }
    return result;
}

// The item sits on whatever panel the desktop has, light or dark, at the
// size the host asks for. Legible there means:
// - it is a shape, not a speck: at least half the square is covered;
// - the shape stands out from the panel: at least half of its pixels, and
//   four in five of its outline, have a contrast of 3 or more against the
//   panel. Not all: white marks on a light panel do not, nor do the soft
//   corners, and they need not while the shape around them does;
// - something is drawn on the shape: at least 8 % of it contrasts by 3 with
//   the background colour;
// - and in strokes, not hairlines: at least a third of those marks have ink
//   to their right and below.
TEST(MenuBarLabel, EveryPictureIsLegibleOnLightAndDarkPanelsAtTrayIconSizes)
{
    for (const auto& [name, label] : shelltest::statusIconCases()) {
        const MenuBarLabel::Picture picture = label.picture();
        for (const int side : shelltest::statusIconSides) {
            const QImage image = MenuBarLabel::render(picture, side).toImage();
            for (const QColor& panel : {shelltest::lightPanel, shelltest::darkPanel}) {
                SCOPED_TRACE(testing::Message() << name << " at " << side << " on " << panel.name().toStdString());
                const Legibility seen = legibility(image, panel, picture.background);
                EXPECT_GE(seen.covered, side * side / 2);
                EXPECT_GE(seen.standOut, seen.covered / 2);
                EXPECT_GE(seen.outlineStandsOut, seen.outline * 4 / 5);
                EXPECT_GE(seen.marks, seen.covered * 8 / 100);
                EXPECT_GE(seen.solidMarks, seen.marks / 3);
            }
        }
    }
}

} // namespace
} // namespace quillmere
