// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MainWindowControlling.h"

#include <QPointer>
#include <QSize>
#include <QWidget>

#include <functional>
#include <memory>

class QSettings;

namespace quillmere {

class AppModel;
class MainWindow;
class PreferencesWindow;

// The top-level window around the main window's content. Closing it only
// hides it: the same window, with what was typed into it, comes back next
// time. Its frame is written to the settings whenever it is hidden and when
// the application quits.
class MainWindowFrame final : public QWidget {
    Q_OBJECT

public:
    MainWindowFrame(AppModel& model, std::function<void()> saveFrame);

    MainWindow* content() const { return content_; }

protected:
    void hideEvent(QHideEvent* event) override;

private:
    MainWindow* content_ = nullptr;
    std::function<void()> saveFrame_;
};

// Builds the one main window on first use and brings it forward on demand.
// Owned by the model for the life of the process.
class MainWindowController final : public MainWindowControlling {
public:
    using SettingsFactory = std::function<std::unique_ptr<QSettings>()>;

    // The settings key of the window's frame, the application's only setting.
    static constexpr const char* frameKey = "QuillmereMainWindow";
    static constexpr QSize defaultSize{920, 720};

    // `settings` opens the store of the frame; absent: the user's settings.
    explicit MainWindowController(AppModel& model, SettingsFactory settings = nullptr);
    ~MainWindowController() override;

    // Shows the window (restored if minimised), raises it and asks for the
    // focus. A launcher's activation token in XDG_ACTIVATION_TOKEN is used
    // by Qt's Wayland integration for that request.
    void presentWindow() override;
    // Built on first use, over the main window's frame.
    void presentPreferences() override;

    MainWindowFrame* window() const { return window_.get(); }
    void saveFrame() const;

private:
    void placeWindow();

    AppModel& model_;
    SettingsFactory settings_;
    std::unique_ptr<MainWindowFrame> window_;
    // Owned by the frame.
    QPointer<PreferencesWindow> preferences_;
};

} // namespace quillmere
