// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusAreaItem.h"

#include "AppModel.h"
#include "Look.h"
#include "panel/MenuBarPopover.h"

#include "quillmere/QuillmereDesign.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

namespace quillmere {
namespace {

// A click on the item while the panel is open first closes the popup (the
// click lands outside it) and then reports the activation: treat an
// activation this soon after the close as the second half of that toggle.
constexpr qint64 toggleGraceMilliseconds = 300;

// Space between the item and the panel.
constexpr int panelGap = 4;

// Whether a window's clear pixels show what is behind it: always on
// Wayland, on X11 only while a compositing manager holds its selection
// (without one they show black).
bool translucencyWorks()
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        return true;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return false;
    }
    static constexpr char selection[] = "_NET_WM_CM_S0";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof selection - 1, selection), nullptr);
    if (atom == nullptr) {
        return false;
    }
    xcb_get_selection_owner_reply_t* owner =
        atom->atom == XCB_ATOM_NONE
            ? nullptr
            : xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool composited = owner != nullptr && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    std::free(atom);
    return composited;
}

} // namespace

StatusPanel::StatusPanel(AppModel& model)
    : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint), rounded_(translucencyWorks())
{
    // Undecorated, so never shown; it names the panel to window lists and
    // screen readers apart from the main window.
    setWindowTitle(tr("Quillmere panel"));
    setAccessibleName(QStringLiteral("Quillmere"));
    // The panel draws its own edge, rounded like a card where the corners
    // outside it can be see-through.
    if (rounded_) {
        setAttribute(Qt::WA_TranslucentBackground);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    popover_ = new MenuBarPopover(model, this);
    popover_->setAutoFillBackground(false);
    layout->addWidget(popover_);
    connect(popover_, &MenuBarPopover::closeRequested, this, &QWidget::close);
}

void StatusPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    const double radius = rounded_ ? QuillmereDesign::Radius::card : 0;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.fillPath(shape, palette().color(QPalette::Window));
    // Square corners mean no compositor, and so no shadow: the edge alone
    // must set the panel off from a window of the same colour behind it.
    painter.setPen(QPen(rounded_ ? look::hairline(palette()) : look::tertiary(palette()), 1));
    painter.drawPath(shape);
}

std::optional<qint64> StatusPanel::sinceClosed() const
{
    if (!closed_.isValid()) {
        return std::nullopt;
    }
    return closed_.elapsed();
}

void StatusPanel::hideEvent(QHideEvent* event)
{
    closed_.start();
    QWidget::hideEvent(event);
}

StatusAreaItem::StatusAreaItem(AppModel& model, QObject* parent) : QObject(parent), model_(model)
{
    menu_ = new QMenu;
    menu_->addAction(tr("Open Quillmere"), this, [this] { model_.showMainWindow(); });
    menu_->addAction(tr("Preferences…"), this, [this] { model_.showPreferences(); });
    menu_->addSeparator();
    menu_->addAction(tr("Quit"), qApp, &QCoreApplication::quit);
    tray_.setContextMenu(menu_);

    connect(&tray_, &QSystemTrayIcon::activated, this, &StatusAreaItem::activated);
    connect(&model_, &AppModel::stateChanged, this, &StatusAreaItem::refresh);
    connect(&model_, &AppModel::displayTickChanged, this, &StatusAreaItem::refresh);
    refresh();
    tray_.show();
}

StatusAreaItem::~StatusAreaItem()
{
    delete panel_;
    delete menu_;
}

void StatusAreaItem::refresh()
{
    label_ = MenuBarLabel::of(model_);
    const MenuBarLabel::Picture picture = label_.picture();
    if (!drawn_ || *drawn_ != picture) {
        tray_.setIcon(MenuBarLabel::icon(picture));
        drawn_ = picture;
    }
    if (tray_.toolTip() != label_.accessibleName) {
        tray_.setToolTip(label_.accessibleName);
    }
}

void StatusAreaItem::activated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger: togglePanel(tray_.geometry()); break;
    case QSystemTrayIcon::MiddleClick: model_.showMainWindow(); break;
    case QSystemTrayIcon::DoubleClick:
    case QSystemTrayIcon::Context:
    case QSystemTrayIcon::Unknown: break;
    }
}

bool StatusAreaItem::isPanelOpen() const
{
    return panel_ != nullptr && panel_->isVisible();
}

void StatusAreaItem::togglePanel(const QRect& itemGeometry)
{
    if (isPanelOpen()) {
        panel_->close();
        return;
    }
    if (panel_ != nullptr) {
        if (const auto since = panel_->sinceClosed(); since && *since < toggleGraceMilliseconds) {
            return;
        }
    } else {
        panel_ = new StatusPanel(model_);
    }
    panel_->adjustSize();
    const QPoint pointer = QCursor::pos();
    const QPoint anchor = itemGeometry.isValid() ? itemGeometry.center() : pointer;
    QScreen* screen = QGuiApplication::screenAt(anchor);
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect(QPoint(), panel_->size());
    panel_->move(panelPosition(panel_->size(), itemGeometry, available, pointer));
    panel_->show();
    panel_->activateWindow();
}

QPoint StatusAreaItem::panelPosition(QSize panelSize, const QRect& itemGeometry, const QRect& available, QPoint pointer)
{
    const QRect item = itemGeometry.isValid() ? itemGeometry : QRect(pointer, QSize(1, 1));
    int x = item.center().x() - panelSize.width() / 2;
    int y = item.center().y() < available.center().y() ? item.bottom() + 1 + panelGap
                                                        : item.top() - panelGap - panelSize.height();
    // Kept on the screen; a screen smaller than the panel shows its top left.
    x = std::max(available.left(), std::min(x, available.right() + 1 - panelSize.width()));
    y = std::max(available.top(), std::min(y, available.bottom() + 1 - panelSize.height()));
    return {x, y};
}

} // namespace quillmere
