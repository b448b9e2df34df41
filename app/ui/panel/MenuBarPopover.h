// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Enumerations.h"
#include "quillmere/Instant.h"
#include "quillmere/WidgetSnapshot.h"

#include <QColor>
#include <QFrame>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QKeySequence;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace quillmere {

class TimerLabel;

class AppModel;
class BlockProgress;
class PhaseRing;
class PopoverField;

// The panel that opens from the status-area item: phase, running timer, the
// essentials of the plan, block progress, open questions, and the few
// commands that make sense without the main window. Keeps no state of its
// own; everything is read from the model when it announces a change.
//
// The sections below the header are rebuilt only when what they show
// changes; a tick of the clock touches just the timer label, the caption,
// the paused marker and the phase's ring (which repaints only when its arc
// moves by half a pixel), so the panel costs little while it stays open.
class MenuBarPopover : public QFrame {
    Q_OBJECT

public:
    struct Hooks {
        // Brings the application to the front before the main window is
        // shown. Absent: nothing, since showing the main window raises it.
        std::function<void()> activateApplication;
        // Absent: QCoreApplication::quit.
        std::function<void()> quit;
        // The instant handed to the scheduled-block commands. Absent: the
        // model's clock.
        std::function<Instant()> clock;
    };

    explicit MenuBarPopover(AppModel& model, QWidget* parent = nullptr, Hooks hooks = {});

    static constexpr int panelWidth = 300;
    // How many open questions the panel lists by their text; the rest are
    // only counted.
    static constexpr std::size_t listedQuestions = 3;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The rebuilt part: the plan's card, the questions' card, the due
    // message, the actions.
    QWidget* sections() const { return sections_; }

signals:
    // The user chose something that continues in the main window; the panel
    // that holds the popover should close.
    void closeRequested();

protected:
    void changeEvent(QEvent* event) override;

private:
    // Everything the rebuilt sections depend on.
    struct Shown {
        WorkflowState workflowState = WorkflowState::idle;
        WidgetPhase phase = WidgetPhase::idle;
        bool hasBlock = false;
        std::optional<Instant> plannedStart;
        std::string outcome;
        std::string firstAction;
        std::optional<std::int64_t> sessionsStarted;
        std::int64_t cycleCount = 0;
        bool paused = false;
        std::int64_t openQuestions = 0;
        // The first open questions, at most `listedQuestions`, each with
        // the name of the agent that asked ("" for none).
        std::vector<std::pair<std::string, std::string>> questions;
        QString dueMessage;

        friend bool operator==(const Shown&, const Shown&) = default;
    };

    Shown currentlyShown() const;
    void refresh();
    void refreshTicking();
    void rebuild(const Shown& shown);
    QWidget* makeBody(const Shown& shown, QWidget* parent);
    QWidget* makeQuestions(const Shown& shown, QWidget* parent);
    QWidget* makeActions(const Shown& shown, QWidget* parent);
    QPushButton* makeButton(const QString& text, const QKeySequence& shortcut, QWidget* parent);

    void openMainWindow();
    Instant now() const;

    AppModel& model_;
    Hooks hooks_;
    std::optional<Shown> shown_;

    QVBoxLayout* layout_ = nullptr;
    PhaseRing* phaseRing_ = nullptr;
    QLabel* phaseTitle_ = nullptr;
    QLabel* caption_ = nullptr;
    QWidget* timerSection_ = nullptr;
    TimerLabel* timer_ = nullptr;
    QWidget* pausedMarker_ = nullptr;
    QLabel* pausedIcon_ = nullptr;
    QLabel* pausedText_ = nullptr;
    QWidget* sections_ = nullptr;
    QPushButton* openButton_ = nullptr;
    QPushButton* preferencesButton_ = nullptr;
    QPushButton* quitButton_ = nullptr;
};

} // namespace quillmere
