// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindow.h"

#include "CentredColumn.h"
#include "Look.h"
#include "ScreenParts_p.h"
#include "block/CurrentBlockView.h"
#include "forms/FormComponents.h"
#include "history/HistoryView.h"
#include "insights/InsightsView.h"
#include "questions/AgentQuestionsView.h"
#include "workcycle/WorkflowView.h"

#include "quillmere/QuillmereDesign.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QTabBar>
#include <QToolButton>
#include <QTabWidget>

#include <algorithm>
#include <array>

namespace quillmere {

namespace {

// Labels are marked for translation here and translated where the tabs are
// made, in the window's context.
struct TabDescription {
    MainWindowTab tab;
    const char* label;
    const char* icon;
};

constexpr std::array<TabDescription, 5> tabDescriptions{{
    {MainWindowTab::workCycle, QT_TRANSLATE_NOOP("quillmere::MainWindow", "Work cycle"), "timer"},
    {MainWindowTab::currentBlock, QT_TRANSLATE_NOOP("quillmere::MainWindow", "Current block"), "square.stack.3d.up"},
    {MainWindowTab::history, QT_TRANSLATE_NOOP("quillmere::MainWindow", "History"), "clock.arrow.circlepath"},
    {MainWindowTab::agentQuestions, QT_TRANSLATE_NOOP("quillmere::MainWindow", "Agent questions"), "questionmark.bubble"},
    {MainWindowTab::insights, QT_TRANSLATE_NOOP("quillmere::MainWindow", "Insights"), "chart.bar"},
}};

int tabIndex(MainWindowTab tab)
{
    const auto found = std::ranges::find(tabDescriptions, tab, &TabDescription::tab);
    return static_cast<int>(found - tabDescriptions.begin());
}

} // namespace

MainWindow::MainWindow(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setMinimumSize(smallestSize);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    banner_ = new QWidget(this);
    auto* bannerMargin = new QVBoxLayout(banner_);
    const int margin = look::points(QuillmereDesign::Spacing::snug);
    bannerMargin->setContentsMargins(margin, margin, margin, margin);
    QColor tint = look::orange;
    tint.setAlphaF(0.14f);
    auto* card = new QuillmereCard(QuillmereDesign::Radius::control, tint, banner_);
    bannerMargin->addWidget(card);
    auto* row = new QHBoxLayout(card);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(look::points(QuillmereDesign::Spacing::snug));
    bannerText_ = makeLabel(QString(), card);
    auto* dismiss = makeButton(tr("Dismiss"), card);
    row->addWidget(new SymbolLabel("bell.fill", QFontMetrics(bannerText_->font()).height(), card));
    row->addWidget(bannerText_, 1);
    row->addWidget(dismiss);
    layout->addWidget(banner_);
    connect(dismiss, &QPushButton::clicked, this, [this] { model_.setDueMessage({}); });

    tabs_ = new QTabWidget(this);
    tabs_->setDocumentMode(true);
    // Preferences sit where the eye goes for them, at the end of the tabs.
    auto* preferences = new QToolButton(tabs_);
    const QKeySequence preferencesShortcut(Qt::CTRL | Qt::Key_Comma);
    preferences->setIcon(look::symbolIcon("gearshape"));
    preferences->setAutoRaise(true);
    // Like a toolbar's buttons, out of the Tab chain: the keyboard has Ctrl+,.
    preferences->setFocusPolicy(Qt::NoFocus);
    preferences->setAccessibleName(tr("Preferences"));
    preferences->setToolTip(withShortcut(tr("Preferences"), preferencesShortcut));
    tabs_->setCornerWidget(preferences, Qt::TopRightCorner);
    connect(preferences, &QToolButton::clicked, &model_, &AppModel::showPreferences);
    connect(new QShortcut(preferencesShortcut, this), &QShortcut::activated, &model_, &AppModel::showPreferences);
    layout->addWidget(tabs_, 1);
    for (const TabDescription& description : tabDescriptions) {
        QWidget* page = nullptr;
        if (description.tab == MainWindowTab::workCycle) {
            // Its screens scroll themselves and keep a form's actions in view.
            page = workflow_ = new WorkflowView(model_, tabs_);
        } else {
            // Every other tab can outgrow the window: a long history, a block
            // with many sessions, many questions.
            auto* area = new QScrollArea(tabs_);
            area->setWidgetResizable(true);
            area->setFrameShape(QFrame::NoFrame);
            auto* padded = new QWidget(area);
            auto* padding = new QVBoxLayout(padded);
            const int inset = look::points(QuillmereDesign::Spacing::section);
            padding->setContentsMargins(inset, inset, inset, inset);
            auto* column = new CentredColumn(look::wideWidth, Qt::AlignTop, padded);
            QWidget* content = nullptr;
            switch (description.tab) {
            case MainWindowTab::workCycle: break;
            case MainWindowTab::currentBlock: content = currentBlock_ = new CurrentBlockView(model_, column); break;
            case MainWindowTab::history: content = history_ = new HistoryView(model_, column); break;
            case MainWindowTab::agentQuestions: content = questions_ = new AgentQuestionsView(model_, column); break;
            case MainWindowTab::insights: content = insights_ = new InsightsView(model_, column); break;
            }
            column->body()->addWidget(content);
            padding->addWidget(column);
            area->setWidget(padded);
            page = area;
        }
        const int index = tabs_->addTab(page, look::symbolIcon(description.icon), tr(description.label));
        const QKeySequence shortcut(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + index));
        tabs_->setTabToolTip(index, withShortcut(tr(description.label), shortcut));
        const MainWindowTab tab = description.tab;
        connect(new QShortcut(shortcut, this), &QShortcut::activated, this, [this, tab] { model_.setSelectedTab(tab); });
    }

    // A screen reader reads a widget's children in the order they were made,
    // and the tab widget made its pages before its tab bar: the tabs and the
    // gear are put first, where they are seen.
    preferences->lower();
    tabs_->tabBar()->lower();

    // Only now: adding the first tab selected it, which is not the user's
    // choice and must not overwrite the model's.
    syncTab();
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && index < std::ssize(tabDescriptions)) {
            model_.setSelectedTab(tabDescriptions[static_cast<std::size_t>(index)].tab);
        }
    });
    connect(&model_, &AppModel::selectedTabChanged, this, &MainWindow::syncTab);
    connect(&model_, &AppModel::dueMessageChanged, this, &MainWindow::syncBanner);
    connect(&model_, &AppModel::lastErrorChanged, this, &MainWindow::syncAlert);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &MainWindow::applicationStateChanged);
    syncBanner();
    // An error from start-up (an unreadable state file) is shown once the
    // window is up, not while it is being built.
    QMetaObject::invokeMethod(this, &MainWindow::syncAlert, Qt::QueuedConnection);
}

void MainWindow::syncBanner()
{
    const QString message = model_.dueMessage();
    if (bannerText_->text() != message) {
        bannerText_->setText(message);
    }
    banner_->setVisible(!message.isEmpty());
}

void MainWindow::syncTab()
{
    tabs_->setCurrentIndex(tabIndex(model_.selectedTab()));
}

void MainWindow::syncAlert()
{
    const QString error = model_.lastError();
    if (error.isEmpty()) {
        // Cleared elsewhere: nothing is left to acknowledge.
        if (alert_ && alert_->isVisible()) {
            alert_->hide();
        }
        return;
    }
    if (!alert_) {
        alert_ = new QMessageBox(QMessageBox::Warning, tr("Quillmere error"), QString(), QMessageBox::Ok, this);
        alert_->setTextFormat(Qt::PlainText);
        alert_->setWindowModality(Qt::WindowModal);
        // OK, Escape and the window's close button all finish the dialog.
        connect(alert_, &QDialog::finished, this, [this] { model_.setLastError({}); });
    }
    const QString text = error.trimmed().isEmpty() ? tr("Unknown error") : error;
    if (alert_->text() != text) {
        alert_->setText(text);
    }
    if (!alert_->isVisible()) {
        alert_->open();
    }
}

void MainWindow::applicationStateChanged(Qt::ApplicationState state)
{
    switch (state) {
    case Qt::ApplicationActive: model_.notifications().refreshAuthorization(); break;
    case Qt::ApplicationInactive:
    case Qt::ApplicationHidden:
    case Qt::ApplicationSuspended: model_.persist(); break;
    }
}

} // namespace quillmere
