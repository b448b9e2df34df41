// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Finding controls the way a user or a screen reader does (by visible text or
// accessible name), and a real model on a temporary folder behind them.

#include "ModelFakes.h"
#include "TempFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace quillmere::uitest {

// Qt texts in GoogleTest's messages and comparisons.
inline std::string str(const QString& text)
{
    return text.toStdString();
}

template <class Widget>
Widget* findNamed(QWidget* root, const QString& name)
{
    for (Widget* widget : root->findChildren<Widget*>()) {
        if (widget->isVisibleTo(root) && (widget->accessibleName() == name)) {
            return widget;
        }
    }
    return nullptr;
}

inline QAbstractButton* button(QWidget* root, const QString& text)
{
    for (QAbstractButton* candidate : root->findChildren<QAbstractButton*>()) {
        if (candidate->isVisibleTo(root) && (candidate->text() == text || candidate->accessibleName() == text)) {
            return candidate;
        }
    }
    return nullptr;
}

// Types into a field as a user would, after giving it focus.
inline void type(QWidget* field, const QString& text)
{
    ASSERT_NE(field, nullptr);
    field->setFocus();
    QTest::keyClicks(field, text);
}

// Clicks `target` where a user would: scrolled into view first.
inline void clickVisible(QWidget* target)
{
    QApplication::processEvents(); // a screen built a moment ago lays itself out first
    for (QWidget* up = target->parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (auto* scroll = qobject_cast<QScrollArea*>(up)) {
            scroll->ensureWidgetVisible(target);
        }
    }
    QApplication::processEvents();
    // A check box reacts only on its box and label, not on the whole row.
    const bool boxed = qobject_cast<QCheckBox*>(target) != nullptr;
    QTest::mouseClick(target, Qt::LeftButton, {}, boxed ? QPoint(8, target->height() / 2) : QPoint());
}

inline void click(QWidget* root, const QString& text)
{
    QApplication::processEvents();
    QAbstractButton* target = button(root, text);
    ASSERT_NE(target, nullptr) << text.toStdString();
    clickVisible(target);
}

// Texts of every visible label under `root`, for presence checks.
inline QStringList visibleTexts(QWidget* root)
{
    QStringList texts;
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (label->isVisibleTo(root)) {
            texts << label->text();
        }
    }
    return texts;
}

// A model on a temporary folder with recording collaborators.
struct ModelHarness {
    ModelHarness()
    {
        auto notifications = std::make_unique<fakes::RecordingNotifications>();
        this->notifications = notifications.get();
        model = std::make_unique<AppModel>(
            StateStore(folder.path(), clock.function()),
            AppModel::Collaborators{std::move(notifications), std::make_unique<fakes::RecordingPublisher>(),
                                    clock.function(), nullptr, std::chrono::milliseconds::zero()},
            clock.now, false);
    }

    fixtures::TempFolder folder;
    fakes::FakeClock clock;
    fakes::RecordingNotifications* notifications = nullptr;
    std::unique_ptr<AppModel> model;
};

// Shows `widget` as the active top-level window, so that shortcuts work.
inline void showActive(QWidget& widget)
{
    widget.resize(920, 720);
    widget.show();
    QApplication::setActiveWindow(&widget);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));
}

// Counts the layout passes asked for anywhere in a window.
class LayoutRequests : public QObject {
public:
    explicit LayoutRequests(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::LayoutRequest && watched->isWidgetType() &&
            (watched == window_ || window_->isAncestorOf(static_cast<QWidget*>(watched)))) {
            ++count;
        }
        return false;
    }
    int count = 0;

private:
    QWidget* window_;
};

} // namespace quillmere::uitest
