// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuillmereApp.h"

#include "MainWindowController.h"
#include "QuillmereAppDelegate.h"
#include "QuillmereInterface.h"
#include "ShellTestSupport.h"
#include "StatusAreaItem.h"

#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace quillmere {
namespace {

LaunchMode::Environment environment(std::map<std::string, std::string> variables)
{
    return [variables = std::move(variables)](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    };
}

TEST(LaunchMode, HostedByThePresenceOfTheVariableWhateverItsValue)
{
    const LaunchMode hosted =
        LaunchMode::fromEnvironment(environment({{"XCTestConfigurationFilePath", ""}}), 4321, "/var/tmp");
    EXPECT_TRUE(hosted.hosted);
    EXPECT_EQ(hosted.stateFolder, std::filesystem::path("/var/tmp/Quillmere-XCTest-4321"));

    const LaunchMode normal = LaunchMode::fromEnvironment(environment({{"XDG_DATA_HOME", "/home/u/data"}}), 4321, "/tmp");
    EXPECT_FALSE(normal.hosted);
    EXPECT_EQ(normal.stateFolder, std::filesystem::path("/home/u/data/Quillmere"));
}

QWidget* visibleMainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<MainWindowFrame*>(widget) != nullptr && widget->isVisible()) {
            return widget;
        }
    }
    return nullptr;
}

TEST(QuillmereApp, AttachesTheDelegateAndShowsTheWindowOnceStartUpHasReturned)
{
    fixtures::TempFolder temp;
    fakes::FakeClock clock;
    QuillmereAppDelegate delegate;
    const LaunchMode mode{true, temp.path() / "Quillmere-XCTest-1"};
    {
        QuillmereApp app(delegate, mode, {clock.function(), true, {}});
        delegate.open({QStringLiteral("quillmere://open/focus")});
        app.model().setSelectedTab(MainWindowTab::history);

        EXPECT_EQ(delegate.model(), nullptr);
        EXPECT_EQ(visibleMainWindow(), nullptr);

        QCoreApplication::processEvents();

        EXPECT_EQ(delegate.model(), &app.model());
        ASSERT_NE(visibleMainWindow(), nullptr);
        EXPECT_EQ(visibleMainWindow()->windowTitle(), QStringLiteral("Quillmere"));
        // The waiting link was handled on attachment.
        EXPECT_EQ(app.model().selectedTab(), MainWindowTab::workCycle);
        EXPECT_NE(app.statusAreaItem(), nullptr);

        // Nothing is saved until something changes; the agents' file comes
        // with the first tick, written in the background.
        app.model().tick(clock.now);
        app.model().finishWriting();
        EXPECT_FALSE(std::filesystem::exists(mode.stateFolder / "state.json"));
        EXPECT_TRUE(std::filesystem::exists(mode.stateFolder / "agent-state.json"));
        // A hosted run is private to its host: agents never reach it.
        EXPECT_EQ(delegate.findChild<QuillmereInterface*>(), nullptr);
        visibleMainWindow()->close();
    }
}

TEST(QuillmereApp, TheUsersOwnInstanceServesAgentsUntilItsModelIsGone)
{
    fixtures::TempFolder temp;
    fakes::FakeClock clock;
    QuillmereAppDelegate delegate;
    {
        QuillmereApp app(delegate, LaunchMode{false, temp.path() / "Quillmere"}, {clock.function(), false, {}});
        EXPECT_NE(delegate.findChild<QuillmereInterface*>(), nullptr);
    }
    // The delegate outlives the model: nothing may call into it any more.
    EXPECT_EQ(delegate.findChild<QuillmereInterface*>(), nullptr);
}

} // namespace
} // namespace quillmere
