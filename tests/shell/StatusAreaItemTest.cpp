// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusAreaItem.h"

#include "panel/MenuBarPopover.h"
#include "ShellTestSupport.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using namespace std::chrono_literals;

class StatusAreaItemTest : public ::testing::Test {
protected:
    shelltest::ModelWithCountingWindow harness;
};

TEST_F(StatusAreaItemTest, TooltipFollowsTheMenuTitleEverySecond)
{
    StatusAreaItem item(*harness.model);
    EXPECT_EQ(item.trayIcon().toolTip(), QStringLiteral("Quillmere, Quillmere"));

    harness.startFocus();
    harness.advance(1s);

    EXPECT_EQ(item.trayIcon().toolTip(), QStringLiteral("Quillmere, 24:59"));
}

TEST_F(StatusAreaItemTest, PictureIsRedrawnOnlyWhenItChanges)
{
    StatusAreaItem item(*harness.model);
    harness.startFocus();
    // Each drawing is a new icon with a key of its own.
    const auto drawing = [&] { return item.trayIcon().icon().cacheKey(); };
    const qint64 atStart = drawing();

    // 25:00 shows "25" until 24:00, which shows "24"; the seconds between
    // leave the picture alone.
    for (int second = 0; second < 59; ++second) {
        harness.advance(1s);
    }
    EXPECT_EQ(drawing(), atStart);
    harness.advance(1s);
    const qint64 at24 = drawing();
    EXPECT_NE(at24, atStart);
    EXPECT_EQ(item.label().picture().minutes, QStringLiteral("24"));

    harness.model->addQuestion(QStringLiteral("Ship it?"));
    EXPECT_NE(drawing(), at24);
}

TEST_F(StatusAreaItemTest, ContextMenuOpensTheWindowOrThePreferencesOrQuits)
{
    StatusAreaItem item(*harness.model);
    QStringList texts;
    for (QAction* action : item.contextMenu()->actions()) {
        if (!action->isSeparator()) {
            texts << action->text();
        }
    }
    ASSERT_EQ(texts, (QStringList{QStringLiteral("Open Quillmere"), QStringLiteral("Preferences…"),
                                  QStringLiteral("Quit")}));

    item.contextMenu()->actions().first()->trigger();
    EXPECT_EQ(harness.presented, 1);
}

TEST_F(StatusAreaItemTest, PanelTogglesAndClosesWhenTheWindowTakesOver)
{
    StatusAreaItem item(*harness.model);

    item.togglePanel(QRect(700, 0, 22, 22));
    ASSERT_TRUE(item.isPanelOpen());
    EXPECT_EQ(item.panel()->popover()->width(), MenuBarPopover::panelWidth);

    emit item.panel()->popover()->closeRequested();
    EXPECT_FALSE(item.isPanelOpen());

    // Right after a close, the same click that closed it must not reopen it.
    item.togglePanel(QRect(700, 0, 22, 22));
    EXPECT_FALSE(item.isPanelOpen());
    QTest::qWait(350);
    item.togglePanel(QRect(700, 0, 22, 22));
    EXPECT_TRUE(item.isPanelOpen());
    item.togglePanel(QRect(700, 0, 22, 22));
    EXPECT_FALSE(item.isPanelOpen());
}

TEST(StatusAreaItemPlacement, PanelOpensBesideTheItemAndStaysOnTheScreen)
{
    const QRect screen(0, 0, 1280, 1024);
    const QSize panel(300, 400);

    // An item in a top bar: under it, centred.
    EXPECT_EQ(StatusAreaItem::panelPosition(panel, QRect(600, 0, 24, 24), screen, {}), QPoint(461, 28));
    // In a bottom bar: above it.
    EXPECT_EQ(StatusAreaItem::panelPosition(panel, QRect(600, 1000, 24, 24), screen, {}), QPoint(461, 596));
    // At the right edge: pulled back onto the screen.
    EXPECT_EQ(StatusAreaItem::panelPosition(panel, QRect(1260, 0, 20, 20), screen, {}).x(), 980);
    // Item geometry unknown: under the pointer.
    EXPECT_EQ(StatusAreaItem::panelPosition(panel, QRect(), screen, QPoint(200, 100)), QPoint(50, 105));
}

} // namespace
} // namespace quillmere
