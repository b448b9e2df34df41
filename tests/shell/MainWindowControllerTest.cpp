// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowController.h"

#include "MainWindow.h"
#include "preferences/PreferencesWindow.h"
#include "ShellTestSupport.h"

#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

// A controller whose frame goes to an INI file in a temporary folder.
class MainWindowControllerTest : public ::testing::Test {
protected:
    std::unique_ptr<MainWindowController> makeController()
    {
        return std::make_unique<MainWindowController>(*harness.model, [this] { return settings(); });
    }

    std::unique_ptr<QSettings> settings() const
    {
        return std::make_unique<QSettings>(QString::fromStdString((harness.folder.path() / "frame.conf").string()),
                                           QSettings::IniFormat);
    }

    shelltest::ModelWithCountingWindow harness;
};

TEST_F(MainWindowControllerTest, FirstWindowIsTitledAtTheDesignSizeAndCentred)
{
    auto controller = makeController();
    controller->presentWindow();
    QWidget* window = controller->window();

    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quillmere"));
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(920, 720));
    EXPECT_EQ(window->minimumSize(), QSize(640, 480)) << "every screen is laid out to fit the smallest window";
    // Within the frame's few pixels of decoration.
    const QPoint offCentre = window->frameGeometry().center() - window->screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 4);
    EXPECT_NE(window->findChild<MainWindow*>(), nullptr);
}

TEST_F(MainWindowControllerTest, PreferencesOpenOnceOverTheMainWindowEvenWhileItIsHidden)
{
    auto controller = makeController();
    controller->presentPreferences();
    controller->presentPreferences();
    const auto windows = controller->window()->findChildren<PreferencesWindow*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows.front()->isVisible());
    EXPECT_TRUE(windows.front()->isWindow());
    EXPECT_FALSE(controller->window()->isVisible()) << "the preferences alone do not bring the main window";
}

TEST_F(MainWindowControllerTest, ClosingHidesTheSameWindowWhichComesBackAtItsSize)
{
    auto controller = makeController();
    controller->presentWindow();
    QPointer<QWidget> window = controller->window();
    window->resize(700, 500);

    EXPECT_TRUE(window->close());

    ASSERT_FALSE(window.isNull());
    EXPECT_FALSE(window->isVisible());
    controller->presentWindow();
    EXPECT_EQ(controller->window(), window.data());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(700, 500));
}

TEST_F(MainWindowControllerTest, FrameIsTheOnlySettingAndOutlivesTheProcess)
{
    {
        auto controller = makeController();
        controller->presentWindow();
        controller->window()->setGeometry(40, 60, 640, 480);
        controller->window()->close();
    }
    EXPECT_EQ(settings()->allKeys(), QStringList{QStringLiteral("QuillmereMainWindow")});

    auto restored = makeController();
    restored->presentWindow();
    EXPECT_EQ(restored->window()->size(), QSize(640, 480));
}

TEST_F(MainWindowControllerTest, CtrlWClosesTheWindowButNotTheApplication)
{
    auto controller = makeController();
    controller->presentWindow();
    QApplication::setActiveWindow(controller->window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(controller->window()));

    QTest::keyClick(controller->window(), Qt::Key_W, Qt::ControlModifier);

    EXPECT_FALSE(controller->window()->isVisible());
}

TEST_F(MainWindowControllerTest, TheFrameIsWrittenForTheUserAlone)
{
    const auto folder = harness.folder.path();
    std::filesystem::permissions(folder, std::filesystem::perms(0755));
    auto controller = makeController();
    controller->presentWindow();
    controller->window()->close();
    EXPECT_EQ(std::filesystem::status(folder / "frame.conf").permissions(), std::filesystem::perms(0600));
    EXPECT_EQ(std::filesystem::status(folder).permissions(), std::filesystem::perms(0700));
}

} // namespace
} // namespace quillmere
