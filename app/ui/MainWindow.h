// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppModel.h"

#include <QWidget>

class QLabel;
class QMessageBox;
class QTabWidget;

namespace quillmere {

class AgentQuestionsView;
class CurrentBlockView;
class HistoryView;
class InsightsView;

// The content of the main window: the due-message banner, the five tabs
// (kept in step with the model's selected tab both ways) and the error
// alert. Saves when the application stops being active and refreshes the
// notification permission when it becomes active again.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(AppModel& model, QWidget* parent = nullptr);

    // The smallest the window can be made; every screen is laid out to fit
    // in it without clipping.
    static constexpr QSize smallestSize{640, 480};

    QTabWidget* tabs() const { return tabs_; }
    QWidget* banner() const { return banner_; }
    QLabel* bannerText() const { return bannerText_; }
    // Null until the first error; window-modal, never blocks the event loop.
    QMessageBox* errorAlert() const { return alert_; }
    CurrentBlockView* currentBlockView() const { return currentBlock_; }
    HistoryView* historyView() const { return history_; }
    AgentQuestionsView* agentQuestionsView() const { return questions_; }
    InsightsView* insightsView() const { return insights_; }

private:
    void syncBanner();
    void syncTab();
    void syncAlert();
    void applicationStateChanged(Qt::ApplicationState state);

    AppModel& model_;
    QWidget* banner_ = nullptr;
    QLabel* bannerText_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QMessageBox* alert_ = nullptr;
    QWidget* workflow_ = nullptr;
    CurrentBlockView* currentBlock_ = nullptr;
    HistoryView* history_ = nullptr;
    AgentQuestionsView* questions_ = nullptr;
    InsightsView* insights_ = nullptr;
};

} // namespace quillmere
