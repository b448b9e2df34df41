// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppModel.h"

#include <QString>
#include <QWidget>

#include <initializer_list>
#include <utility>
#include <vector>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace quillmere {

class TimerLabel;

// What every screen of the work cycle tab is built on: a column at most a
// comfortable reading width, top-left, with the screen's title, hints and
// button rows made the same way on each. A screen is made afresh for each
// phase, so it starts from the state and refreshes itself from the model.
class PhaseScreen : public QWidget {
    Q_OBJECT

public:
    // How far apart the screen's parts stand: the calm screens of the cycle
    // (idle, focus, break) breathe more than the four editing screens.
    enum class Spacing { cycle, form };

protected:
    PhaseScreen(AppModel& model, Spacing spacing, QWidget* parent);

    QVBoxLayout* column() const { return column_; }
    QLabel* addTitle(const QString& text);
    QLabel* addHint(const QString& text);
    // A row of buttons at the end of the column, in a group box on the
    // editing screens, where they close a form.
    void addButtons(std::initializer_list<QPushButton*> buttons);
    // Calls refresh() now and whenever the work in hand changes.
    void refreshOnStateChange();
    virtual void refresh() {}

    AppModel& model_;

private:
    QVBoxLayout* column_ = nullptr;
    Spacing spacing_;
};

// A screen with a running timer above a few label-value rows of the plan:
// the focus and the break. The timer alone follows the second's tick, so a
// tick never lays out the screen.
class TimedPhaseScreen : public PhaseScreen {
    Q_OBJECT

public:
    TimerLabel* timer() const { return timer_; }

protected:
    // `timerName` is what a screen reader says, with %1 for the time.
    TimedPhaseScreen(AppModel& model, const QString& title, const QString& timerName, QWidget* parent);

    // The rows under the timer (hints go between), replacing those shown.
    void addRowsPlace();
    void showRows(const std::vector<std::pair<QString, QString>>& rows);
    void refresh() override;

private:
    void refreshTimer();

    TimerLabel* timer_ = nullptr;
    QWidget* rows_ = nullptr;
    std::vector<std::pair<QString, QString>> shownRows_;
};

// setText() replaces a button's shortcut with its mnemonic; retitling a
// button must keep the shortcut it was given.
void retitle(QPushButton* button, const QString& title);

// A stored text, or `placeholder` when it is empty.
QString orPlaceholder(const std::string& value, const QString& placeholder);

// A fresh blank session plan.
SessionPlan newBlankPlan();

} // namespace quillmere
