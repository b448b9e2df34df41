// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppModel.h"
#include "Preferences.h"

#include "TempFolder.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace quillmere {
namespace {

std::string readText(const std::filesystem::path& file)
{
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeText(const std::filesystem::path& file, const std::string& text)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << text;
}

class PreferencesTest : public ::testing::Test {
protected:
    PreferencesTest()
    {
        writeText(folder_.path() / "template.desktop",
                  "[Desktop Entry]\nType=Application\nName=Quillmere\nExec=quillmere\nX-GNOME-Autostart-enabled=true\n");
    }

    Preferences::Locations locations() const
    {
        return {QString::fromStdString(settingsFile().string()), folder_.path() / "autostart",
                QString::fromStdString((folder_.path() / "template.desktop").string())};
    }
    std::filesystem::path settingsFile() const { return folder_.path() / "config" / "Quillmere.conf"; }
    std::filesystem::path autostartEntry() const { return folder_.path() / "autostart" / Preferences::autostartFileName; }

    fixtures::TempFolder folder_;
};

TEST_F(PreferencesTest, EveryChoiceIsWrittenAtOnceAndReadBackByTheNextStart)
{
    {
        Preferences preferences(locations());
        EXPECT_EQ(preferences.whenAway(), WhenAway::keepCounting);
        EXPECT_FALSE(preferences.doNotDisturb());
        EXPECT_TRUE(preferences.soundAtEnd());
        EXPECT_EQ(preferences.newBlockDefaults(), (NewBlockDefaults{25, 5, 8}));

        QSignalSpy away(&preferences, &Preferences::whenAwayChanged);
        QSignalSpy silence(&preferences, &Preferences::doNotDisturbChanged);
        preferences.setWhenAway(WhenAway::pauseFocus);
        preferences.setWhenAway(WhenAway::pauseFocus);
        preferences.setDoNotDisturb(true);
        preferences.setSoundAtEnd(false);
        ASSERT_TRUE(preferences.setNewBlockDefaults({50, 10, 4}));
        EXPECT_EQ(away.count(), 1) << "a setter that changes nothing says nothing";
        EXPECT_EQ(silence.count(), 1);
        // Written before the next event loop turn: a crash loses no choice.
        EXPECT_NE(readText(settingsFile()).find("whenScreenLocks=pauseFocus"), std::string::npos);
        EXPECT_EQ(std::filesystem::status(settingsFile()).permissions() & std::filesystem::perms::group_read,
                  std::filesystem::perms::none);
    }
    Preferences again(locations());
    EXPECT_EQ(again.whenAway(), WhenAway::pauseFocus);
    EXPECT_TRUE(again.doNotDisturb());
    EXPECT_FALSE(again.soundAtEnd());
    EXPECT_EQ(again.newBlockDefaults(), (NewBlockDefaults{50, 10, 4}));
    EXPECT_TRUE(again.problems().isEmpty());
}

TEST_F(PreferencesTest, DefaultsOutsideTheFormsRangesAreRefusedWhole)
{
    Preferences preferences(locations());
    const struct {
        NewBlockDefaults defaults;
        const char* what;
    } cases[] = {
        {{0, 5, 8}, "no focus"},
        {{121, 5, 8}, "focus over two hours"},
        {{25, 61, 8}, "break over an hour"},
        {{25, 5, 25}, "more sessions than a day holds"},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.what);
        EXPECT_FALSE(preferences.setNewBlockDefaults(entry.defaults));
        EXPECT_EQ(preferences.newBlockDefaults(), NewBlockDefaults{});
    }
}

TEST_F(PreferencesTest, ValuesNotUnderstoodAreReportedAndKeptUntilTheUserChoosesAgain)
{
    writeText(settingsFile(), "[Focus]\nwhenScreenLocks=sometimes\ndoNotDisturb=yes please\n"
                              "[NewBlock]\nfocusMinutes=abc\nbreakMinutes=10\nsessions=99\n"
                              "[QuillmereMainWindow]\nframe=kept\n");
    Preferences preferences(locations());
    EXPECT_EQ(preferences.problems().size(), 4) << preferences.problems().join('\n').toStdString();
    EXPECT_EQ(preferences.whenAway(), WhenAway::keepCounting);
    EXPECT_FALSE(preferences.doNotDisturb());
    EXPECT_EQ(preferences.newBlockDefaults(), (NewBlockDefaults{25, 10, 8})) << "what was understood is used";
    EXPECT_NE(readText(settingsFile()).find("sometimes"), std::string::npos) << "reading rewrites nothing";

    preferences.setWhenAway(WhenAway::pauseFocus);
    EXPECT_EQ(preferences.problems().size(), 3) << "choosing anew settles that setting's problem";
    const std::string written = readText(settingsFile());
    EXPECT_NE(written.find("frame=kept"), std::string::npos) << "other settings survive a write";
    EXPECT_NE(written.find("focusMinutes=abc"), std::string::npos);
}

TEST_F(PreferencesTest, AnUnreadableFileIsCopiedAsideBeforeAnyWriteCanDropItsLines)
{
    const std::string corrupt = "[NewBlock]\nfocusMinutes=40\n[Focus\ndoNotDisturb=true\n";
    writeText(settingsFile(), corrupt);
    Preferences preferences(locations());
    ASSERT_EQ(preferences.problems().size(), 1);
    EXPECT_TRUE(preferences.problems().front().contains(QStringLiteral("Quillmere.conf.unreadable-")));
    EXPECT_EQ(preferences.newBlockDefaults().focusMinutes, 40) << "what could be read is used";
    preferences.setSoundAtEnd(false);

    std::vector<std::string> copies;
    for (const auto& entry : std::filesystem::directory_iterator(settingsFile().parent_path())) {
        if (entry.path().filename().string().starts_with("Quillmere.conf.unreadable-")) {
            copies.push_back(readText(entry.path()));
        }
    }
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies.front(), corrupt);
}

TEST_F(PreferencesTest, StartAtLoginWritesAndRemovesTheAutostartEntry)
{
    Preferences preferences(locations());
    QSignalSpy changed(&preferences, &Preferences::startAtLoginChanged);
    EXPECT_FALSE(preferences.startAtLogin());

    ASSERT_TRUE(preferences.setStartAtLogin(true));
    EXPECT_TRUE(preferences.startAtLogin());
    EXPECT_EQ(readText(autostartEntry()), readText(folder_.path() / "template.desktop"));

    // Switched off by the desktop's own autostart settings.
    writeText(autostartEntry(), "[Desktop Entry]\nExec=quillmere\nX-GNOME-Autostart-enabled=false\n");
    EXPECT_FALSE(preferences.startAtLogin());
    ASSERT_TRUE(preferences.setStartAtLogin(true));
    EXPECT_TRUE(preferences.startAtLogin()) << "switching it on again writes an enabled entry";

    ASSERT_TRUE(preferences.setStartAtLogin(false));
    EXPECT_FALSE(std::filesystem::exists(autostartEntry()));
    ASSERT_TRUE(preferences.setStartAtLogin(false)) << "removing what is not there is no failure";
    EXPECT_EQ(changed.count(), 3);
}

TEST_F(PreferencesTest, AnAutostartFolderThatIsAFileIsRefusedAndLeftAlone)
{
    writeText(folder_.path() / "autostart", "not a folder");
    Preferences preferences(locations());
    const auto refused = preferences.setStartAtLogin(true);
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.error().contains(QStringLiteral("autostart"))) << refused.error().toStdString();
    EXPECT_FALSE(preferences.startAtLogin());
    EXPECT_EQ(readText(folder_.path() / "autostart"), "not a folder");
}

TEST_F(PreferencesTest, ANewBlockTakesTheDefaultsFromThePreferences)
{
    auto preferences = std::make_unique<Preferences>(locations());
    ASSERT_TRUE(preferences->setNewBlockDefaults({45, 15, 3}));
    AppModel::Collaborators collaborators;
    collaborators.preferences = std::move(preferences);
    const Instant now = std::chrono::sys_days{std::chrono::March / 3 / 2026} + std::chrono::milliseconds(9'250);
    AppModel model(StateStore(folder_.path() / "state", [now] { return now; }), std::move(collaborators), now, false);
    const Block block = model.newBlock(now);
    EXPECT_EQ(block.focusDurationSeconds, 45 * 60);
    EXPECT_EQ(block.breakDurationSeconds, 15 * 60);
    EXPECT_EQ(block.cycleCount, 3);
    EXPECT_EQ(block.outcomes.size(), Block::defaultBlock(now).outcomes.size());
}

} // namespace
} // namespace quillmere
