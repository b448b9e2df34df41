// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MenuBarLabel.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSystemTrayIcon>
#include <QWidget>

#include <optional>

class QMenu;

namespace quillmere {

class AppModel;
class MenuBarPopover;

// The panel that the status-area item opens: the status popover in a
// frameless popup window with a hairline edge, rounded like the design's
// cards where the desktop composites windows, which closes when the user
// clicks elsewhere or chooses something that continues in the main window.
class StatusPanel final : public QWidget {
    Q_OBJECT

public:
    explicit StatusPanel(AppModel& model);

    MenuBarPopover* popover() const { return popover_; }
    // Milliseconds since the panel last closed; none while it never did.
    std::optional<qint64> sinceClosed() const;

protected:
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool rounded_ = false;
    MenuBarPopover* popover_ = nullptr;
    QElapsedTimer closed_;
};

// The application's item in the desktop's status area (StatusNotifierItem or
// the X11 tray): the label's picture as its icon, "Quillmere, " + the menu
// title as its tooltip, the panel on activation, and a context menu with
// "Open Quillmere" and "Quit". Where the desktop has no status area the item
// stays invisible and the application is reached through its window; Qt
// shows the item by itself once a tray appears.
class StatusAreaItem final : public QObject {
    Q_OBJECT

public:
    explicit StatusAreaItem(AppModel& model, QObject* parent = nullptr);
    ~StatusAreaItem() override;

    QSystemTrayIcon& trayIcon() { return tray_; }
    const MenuBarLabel& label() const { return label_; }
    QMenu* contextMenu() const { return menu_; }
    // Null until the panel is first opened.
    StatusPanel* panel() const { return panel_; }
    bool isPanelOpen() const;

    // Opens the panel beside an item at `itemGeometry` (under the pointer
    // when the host does not say where the item is), or closes it when open.
    void togglePanel(const QRect& itemGeometry);

    // Where a panel of `panelSize` opens: under an item in the upper half of
    // the screen, above one in the lower half, centred on it and kept on the
    // screen's `available` area. Without an item, under `pointer`.
    static QPoint panelPosition(QSize panelSize, const QRect& itemGeometry, const QRect& available, QPoint pointer);

private:
    void refresh();
    void activated(QSystemTrayIcon::ActivationReason reason);

    AppModel& model_;
    QSystemTrayIcon tray_;
    QMenu* menu_ = nullptr;
    QPointer<StatusPanel> panel_;
    MenuBarLabel label_;
    std::optional<MenuBarLabel::Picture> drawn_;
};

} // namespace quillmere
