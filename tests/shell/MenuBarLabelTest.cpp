// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuBarLabel.h"

#include "ShellTestSupport.h"

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

} // namespace
} // namespace quillmere
