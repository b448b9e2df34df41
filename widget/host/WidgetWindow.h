// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WidgetInstance.h"

#include <QPoint>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class QSettings;

namespace quillmere::widgethost {

// The frameless window of one placed widget. It sits below normal windows,
// shows the instance's current entry through the plug-in's view, moves the
// view's display time every second, opens the view's link on a click or
// Return, and can be dragged to a new place, which it remembers.
class WidgetWindow : public QWidget {
    Q_OBJECT

public:
    using Clock = WidgetInstance::Clock;
    using UrlOpener = std::function<void(const QUrl&)>;
    using SettingsFactory = std::function<std::unique_ptr<QSettings>()>;

    // `openUrl` defaults to the desktop's handler; `settings` to the host's
    // own settings file.
    WidgetWindow(WidgetInstance& instance, Clock clock, UrlOpener openUrl = {}, SettingsFactory settings = {},
                 QWidget* parent = nullptr);
    ~WidgetWindow() override;

    ContentView* view() const { return view_.get(); }

    // Space kept between a widget and the screen's edge or the next widget.
    static constexpr int gap = 24;

    // Where the window goes: the remembered place if it is still on a
    // screen, else the top-right corner of the available area, `stackOffset`
    // pixels lower, so that widgets placed one after another stack up
    // without overlapping (each adds its height and `gap` to the offset).
    void place(int stackOffset);

    // The settings key of this widget's place.
    QString positionKey() const;

    // Moves the display time of the view; the one-second tick calls it.
    void tick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showEntry(const EntryPointer& entry);
    void openLink();
    void armTick();
    void savePosition();

    WidgetInstance& instance_;
    Clock clock_;
    UrlOpener openUrl_;
    SettingsFactory settings_;
    std::unique_ptr<ContentView> view_;
    QTimer tick_;
    // Where a press began, in global coordinates, and the window's place
    // then; a move past the drag distance turns the press into a drag.
    QPoint pressPoint_;
    QPoint pressWindowPosition_;
    bool pressed_ = false;
    bool dragging_ = false;
};

} // namespace quillmere::widgethost
