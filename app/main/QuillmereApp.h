// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppModel.h"
#include "ApplicationLook.h"

#include <QObject>

#include <filesystem>
#include <functional>
#include <memory>

class QSettings;

namespace quillmere {

class AwayWatcher;
class DesktopAppearance;
class DoNotDisturb;
class PauseOnAway;
class QuillmereAppDelegate;
class QuillmereInterface;
class StatusAreaItem;

// Where this run keeps its files. A host process that announces itself with
// XCTestConfigurationFilePath (the project's own GUI tests set it) gets a
// throw-away folder of its own and touches nothing of the user's: not the
// state, not the notifications, not the widget, not the settings.
struct LaunchMode {
    using Environment = std::function<const char*(const char*)>;

    static constexpr const char* hostedVariable = "XCTestConfigurationFilePath";

    bool hosted = false;
    std::filesystem::path stateFolder;

    // Hosted when the variable is present, whatever its value: the folder
    // "Quillmere-XCTest-<pid>" in `temporaryFolder`. Otherwise the user's
    // state folder.
    static LaunchMode fromEnvironment(const Environment& environment, qint64 processId,
                                      const std::filesystem::path& temporaryFolder);
    // The process's own environment, identifier and temporary folder
    // ($TMPDIR, by default /tmp).
    static LaunchMode current();

    // The store of the main window's frame: the user's settings, or a file in
    // the hosted folder.
    std::unique_ptr<QSettings> openSettings() const;
    // Where the preferences live: the user's, or the hosted folder.
    Preferences::Locations preferenceLocations() const;
};

// The application's entry type: builds the collaborators of the mode, the
// one AppModel and the status-area item, and once start-up has returned,
// attaches the delegate and shows the main window, at every launch. Holds
// the model for the life of the process.
class QuillmereApp final : public QObject {
    Q_OBJECT

public:
    struct Options {
        // Absent: the system clock.
        AppModel::Clock clock;
        // Whether to show the status-area item (tests of the window alone
        // leave it out).
        bool statusAreaItem = true;
        // The style Qt chose; none means Qt's own, and Quillmere's look.
        StyleOrigin style;
    };

    QuillmereApp(QuillmereAppDelegate& delegate, LaunchMode mode, Options options);
    QuillmereApp(QuillmereAppDelegate& delegate, LaunchMode mode) : QuillmereApp(delegate, std::move(mode), Options{}) {}
    ~QuillmereApp() override;

    AppModel& model() { return *model_; }
    const LaunchMode& mode() const { return mode_; }
    // Null when built without one.
    StatusAreaItem* statusAreaItem() const { return statusAreaItem_.get(); }
    // "Do not disturb during focus", for the preferences.
    DoNotDisturb& doNotDisturb() { return *doNotDisturb_; }

private:
    void removeStaleTemporaries(const StateStore& store) const;

    LaunchMode mode_;
    // Writes the widget's snapshot for the model's publisher and delivers
    // to this object, which drops what is left undelivered when it goes,
    // after the publisher.
    std::shared_ptr<BackgroundWriter> widgetWriter_;
    std::unique_ptr<AppModel> model_;
    // The desktop's colour scheme, text scale and motion, and the style,
    // palette and font that follow them.
    std::unique_ptr<DesktopAppearance> appearance_;
    std::unique_ptr<ApplicationLook> look_;
    std::unique_ptr<DoNotDisturb> doNotDisturb_;
    // The screen locking and the computer sleeping, and the pause of a
    // running focus they set off when the user chose so.
    std::unique_ptr<AwayWatcher> awayWatcher_;
    std::unique_ptr<PauseOnAway> pauseOnAway_;
    std::unique_ptr<StatusAreaItem> statusAreaItem_;
    // Owned by the delegate, as its adaptors are; deleted with the model.
    QuillmereInterface* interface_ = nullptr;
    // The first window is on its way.
    bool started_ = false;
};

} // namespace quillmere
