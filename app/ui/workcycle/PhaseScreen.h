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
class QScrollArea;
class QVBoxLayout;

namespace quillmere {

class QuillmereCard;
class SessionDots;
class TimerDial;

// What every screen of the work cycle tab is built on: one column at a
// comfortable reading width, centred in the window, with the screen's title,
// hints and button rows made the same way on each. The calm screens of the
// cycle (idle, focus, break) sit in the middle of the window with their
// actions in a row under them; the editing screens start at the top and keep
// their actions in a footer that never scrolls away. A screen is made afresh
// for each phase, so it starts from the state and refreshes itself from the
// model.
class PhaseScreen : public QWidget {
    Q_OBJECT

public:
    // How far apart the screen's parts stand: the calm screens of the cycle
    // (idle, focus, break) breathe more than the four editing screens.
    enum class Spacing { cycle, form };

protected:
    PhaseScreen(AppModel& model, Spacing spacing, QWidget* parent);

    QVBoxLayout* column() const { return column_; }
    QScrollArea* scrollArea() const { return area_; }
    QLabel* addTitle(const QString& text);
    QLabel* addHint(const QString& text);
    // The actions: a centred row at the end of the column on the calm
    // screens, the footer on the editing screens.
    void addButtons(std::initializer_list<QPushButton*> buttons);
    // Calls refresh() now and whenever the work in hand changes.
    void refreshOnStateChange();
    virtual void refresh() {}

    AppModel& model_;

private:
    Qt::Alignment centredText() const;

    QScrollArea* area_ = nullptr;
    QVBoxLayout* column_ = nullptr;
    QWidget* footer_ = nullptr;
    Spacing spacing_;
};

// A screen with a running timer above the block's progress, the actions,
// and a card of the plan's label-value rows: the focus and the break. The timer alone
// follows the second's tick, so a tick never lays out the screen.
class TimedPhaseScreen : public PhaseScreen {
    Q_OBJECT

public:
    TimerDial* timer() const { return timer_; }

protected:
    // `timerName` is what a screen reader says, with %1 for the time.
    TimedPhaseScreen(AppModel& model, const QString& title, const QString& timerName, QWidget* parent);

    // The rows under the timer (hints go between), replacing those shown.
    void addRowsPlace();
    void showRows(const std::vector<std::pair<QString, QString>>& rows);
    void refresh() override;
    // The dial's word under the digits and its colour, from the phase.
    virtual QString timerCaption() const { return {}; }
    virtual QColor timerColour() const;

private:
    void refreshTimer();

    TimerDial* timer_ = nullptr;
    SessionDots* dots_ = nullptr;
    QLabel* sessionCaption_ = nullptr;
    QuillmereCard* rows_ = nullptr;
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
