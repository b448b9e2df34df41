// SPDX-License-Identifier: GPL-3.0-or-later
#include "Preferences.h"
#include "preferences/PreferencesWindow.h"

#include "UiTestSupport.h"

#include <QRadioButton>

#include <filesystem>
#include <fstream>

namespace quillmere {
namespace {

using uitest::button;
using uitest::findNamed;
using uitest::str;

class PreferencesWindowTest : public ::testing::Test {
protected:
    PreferencesWindowTest()
    {
        std::ofstream(folder_.path() / "template.desktop") << "[Desktop Entry]\nExec=quillmere\n";
        preferences_ = std::make_unique<Preferences>(
            Preferences::Locations{QString::fromStdString((folder_.path() / "Quillmere.conf").string()),
                                   folder_.path() / "autostart",
                                   QString::fromStdString((folder_.path() / "template.desktop").string())});
        window_ = std::make_unique<PreferencesWindow>(*preferences_);
        window_->show();
        QApplication::processEvents();
    }

    fixtures::TempFolder folder_;
    std::unique_ptr<Preferences> preferences_;
    std::unique_ptr<PreferencesWindow> window_;
};

TEST_F(PreferencesWindowTest, EveryControlWorksFromTheKeyboardAndAppliesAtOnce)
{
    preferences_->setDoNotDisturbSupport({true, QStringLiteral("dunst")});
    // Alt plus each control's mnemonic, as a keyboard user reaches them.
    const struct {
        Qt::Key mnemonic;
        std::function<bool()> applied;
        const char* what;
    } cases[] = {
        {Qt::Key_S, [&] { return preferences_->startAtLogin(); }, "start at login"},
        {Qt::Key_P, [&] { return preferences_->whenAway() == WhenAway::pauseFocus; }, "pause when away"},
        {Qt::Key_D, [&] { return preferences_->doNotDisturb(); }, "do not disturb"},
        {Qt::Key_O, [&] { return !preferences_->soundAtEnd(); }, "sound off"},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.what);
        // A button's mnemonic clicks it, after a moment's animation.
        QTest::keyClick(window_.get(), entry.mnemonic, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor(entry.applied, 2000));
    }

    QTest::keyClick(window_.get(), Qt::Key_F, Qt::AltModifier);
    auto* focus = qobject_cast<QSpinBox*>(QApplication::focusWidget());
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->accessibleName(), QStringLiteral("Focus"));
    QTest::keyClick(focus, Qt::Key_Up);
    EXPECT_EQ(preferences_->newBlockDefaults().focusMinutes, 26);

    QTest::keyClick(window_.get(), Qt::Key_Escape);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(PreferencesWindowTest, DoNotDisturbIsGreyedWithTheReasonWhereNothingCanSilence)
{
    preferences_->setDoNotDisturb(true);
    preferences_->setDoNotDisturbSupport({false, QStringLiteral("No notification service that can be silenced.")});
    QAbstractButton* box = button(window_.get(), QStringLiteral("&Do not disturb during focus"));
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isEnabled());
    EXPECT_TRUE(box->isChecked()) << "the stored choice stays for a desktop that can";
    EXPECT_EQ(str(box->accessibleDescription()), "No notification service that can be silenced.");
}

TEST_F(PreferencesWindowTest, ARefusedAutostartIsShownAndTheBoxGoesBack)
{
    std::ofstream(folder_.path() / "autostart") << "a file";
    QAbstractButton* box = button(window_.get(), QStringLiteral("&Start Quillmere when I log in"));
    ASSERT_NE(box, nullptr);
    uitest::clickVisible(box);
    EXPECT_FALSE(box->isChecked());
    auto* problems = findNamed<QLabel>(window_.get(), QStringLiteral("Problems with the preferences"));
    ASSERT_NE(problems, nullptr);
    EXPECT_TRUE(problems->text().contains(QStringLiteral("autostart"))) << str(problems->text());
}

TEST_F(PreferencesWindowTest, FollowsAChangeMadeElsewhere)
{
    preferences_->setWhenAway(WhenAway::pauseFocus);
    ASSERT_TRUE(preferences_->setNewBlockDefaults({40, 8, 6}));
    auto* pause = qobject_cast<QRadioButton*>(button(window_.get(), QStringLiteral("&Pause the focus")));
    ASSERT_NE(pause, nullptr);
    EXPECT_TRUE(pause->isChecked());
    auto* sessions = findNamed<QSpinBox>(window_.get(), QStringLiteral("Sessions"));
    ASSERT_NE(sessions, nullptr);
    EXPECT_EQ(sessions->value(), 6);
}

} // namespace
} // namespace quillmere
