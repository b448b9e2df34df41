// SPDX-License-Identifier: GPL-3.0-or-later
// The window of a placed widget: what a click, a drag and a key do, and that
// the view's display time follows the clock.

#include "HostFakes.h"
#include "WidgetWindow.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace quillmere::widgethost {
namespace {

using namespace std::chrono_literals;
using testing::FakeKind;
using testing::FakeView;
using testing::entry;

const TimePoint T = TimePoint(std::chrono::seconds(1'772'445'600));

struct Scene {
    QTemporaryDir folder;
    std::shared_ptr<FakeKind> kind = std::make_shared<FakeKind>();
    TimePoint now = T;
    std::unique_ptr<WidgetInstance> instance;
    std::unique_ptr<WidgetWindow> window;
    QList<QUrl> opened;

    Scene()
    {
        kind->timelines = {{{entry(T, "focus")}, T + 1h}};
        instance = std::make_unique<WidgetInstance>(kind, Family::medium, [this] { return now; });
        window = makeWindow();
        instance->reload();
    }
    std::unique_ptr<WidgetWindow> makeWindow()
    {
        return std::make_unique<WidgetWindow>(
            *instance, [this] { return now; }, [this](const QUrl& url) { opened << url; },
            [this] { return std::make_unique<QSettings>(folder.filePath("host.conf"), QSettings::IniFormat); });
    }
    FakeView* view() const { return static_cast<FakeView*>(window->view()); }
};

TEST(WidgetWindow, ShowsTheCurrentEntryAtTheFamilySizeInsideAHairlineFrame)
{
    Scene scene;
    ASSERT_NE(scene.view(), nullptr);
    EXPECT_EQ(scene.view()->what, QStringLiteral("focus"));
    EXPECT_EQ(scene.view()->size(), standardSize(Family::medium));
    EXPECT_EQ(scene.window->accessibleName(), QStringLiteral("focus"));
    EXPECT_EQ(scene.window->windowTitle(), QStringLiteral("Fake widget"));
    EXPECT_TRUE(scene.window->windowFlags().testFlag(Qt::WindowStaysOnBottomHint));
    EXPECT_TRUE(scene.window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(scene.window->backgroundRole(), QPalette::Base);
}

TEST(WidgetWindow, AClickOrReturnOpensTheViewsLinkButADragMovesAndIsRemembered)
{
    Scene scene;
    scene.window->move(100, 100);
    scene.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(scene.window.get()));

    QTest::mouseClick(scene.window.get(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::keyClick(scene.window.get(), Qt::Key_Return);
    EXPECT_EQ(scene.opened, (QList<QUrl>{QUrl("quillmere://open/focus"), QUrl("quillmere://open/focus")}));

    scene.opened.clear();
    const QPoint start(20, 20);
    QTest::mousePress(scene.window.get(), Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(60, 40)),
                     QPointF(scene.window->mapToGlobal(start + QPoint(60, 40))), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(scene.window.get(), &move);
    QTest::mouseRelease(scene.window.get(), Qt::LeftButton, {}, start + QPoint(60, 40));
    EXPECT_TRUE(scene.opened.isEmpty());
    const QPoint moved = scene.window->pos();
    EXPECT_EQ(moved, QPoint(160, 140));

    // A new window of the same kind and family comes back where it was left.
    auto again = scene.makeWindow();
    again->place(0);
    EXPECT_EQ(again->pos(), moved);
}

TEST(WidgetWindow, StacksUnrememberedWidgetsFromTheTopRightCornerWithoutOverlap)
{
    Scene scene;
    scene.window->place(0);
    auto second = scene.makeWindow();
    second->place(scene.window->height() + WidgetWindow::gap);
    EXPECT_FALSE(scene.window->geometry().intersects(second->geometry()));
    EXPECT_EQ(second->x(), scene.window->x());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(scene.window->geometry().right(), screen.right() - WidgetWindow::gap);
    EXPECT_EQ(scene.window->y(), screen.top() + WidgetWindow::gap);
}

TEST(WidgetWindow, NewEntriesReplaceTheViewAndTicksMoveTheDisplayTime)
{
    Scene scene;
    scene.now = T + 3s;
    scene.window->tick();
    EXPECT_EQ(scene.view()->displayTimes.back(), T + 3s);

    scene.kind->timelines = {{{entry(T + 3s, "break")}, T + 1h}};
    scene.instance->reload();
    EXPECT_EQ(scene.view()->what, QStringLiteral("break"));
    EXPECT_EQ(scene.view()->displayTimes, std::vector{T + 3s});
    EXPECT_EQ(scene.window->accessibleName(), QStringLiteral("break"));
}

TEST(WidgetWindow, TicksOnlyWhileShown)
{
    Scene scene;
    scene.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(scene.window.get()));
    const std::size_t before = scene.view()->displayTimes.size();
    EXPECT_TRUE(QTest::qWaitFor([&] { return scene.view()->displayTimes.size() > before; }, 2500));
    scene.window->hide();
    const std::size_t hidden = scene.view()->displayTimes.size();
    QTest::qWait(1200);
    EXPECT_EQ(scene.view()->displayTimes.size(), hidden);
}

} // namespace
} // namespace quillmere::widgethost
