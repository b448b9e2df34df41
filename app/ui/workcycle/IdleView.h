// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workcycle/PhaseScreen.h"

#include <QPushButton>

#include <functional>

class QLabel;

namespace quillmere {

// A push button whose action is replaced on every refresh, so a click always
// runs the latest one. Title and accessible name are the same text.
class ScheduledActionButton : public QPushButton {
    Q_OBJECT

public:
    ScheduledActionButton(const QString& title, std::function<void()> action, QWidget* parent = nullptr);
    void update(const QString& title, std::function<void()> action);

private:
    std::function<void()> action_;
};

// Nothing running: plan a block, or act on the scheduled one.
class IdleView : public PhaseScreen {
    Q_OBJECT

public:
    explicit IdleView(AppModel& model, QWidget* parent = nullptr);

private:
    void refresh() override;

    QWidget* scheduled_ = nullptr;
    QLabel* scheduledText_ = nullptr;
    ScheduledActionButton* startNow_ = nullptr;
    ScheduledActionButton* edit_ = nullptr;
    ScheduledActionButton* cancel_ = nullptr;
    QWidget* unscheduled_ = nullptr;
};

} // namespace quillmere
