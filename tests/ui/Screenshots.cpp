// SPDX-License-Identifier: GPL-3.0-or-later
// Writes PNG pictures of every screen for people to look at: each workflow
// screen, each main-window tab (with three completed blocks and three open
// questions, then with more questions than a page) and the status panel in
// each phase, in a light and a dark palette, and the Insights tab before the
// first session and over three months of a person's history. Run by CTest;
// the pictures land in <build>/screenshots, and the README's in its readme/.
// The status-area icon in every phase at the sizes tray hosts ask for lands
// in status-icon/ beside them, one file a picture and a sheet on a light and
// a dark panel.

#include "MainWindow.h"
#include "MenuBarLabel.h"
#include "StatusIconCases.h"
#include "insights/InsightsView.h"
#include "questions/AgentQuestionsView.h"
#include "panel/MenuBarPopover.h"
#include "preferences/PreferencesWindow.h"
#include "ModelFakes.h"
#include "StateFixtures.h"
#include "TempFolder.h"
#include "Translations.h"
#include "Palette.h"
#include "QuillmereStyle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTest>

#include <cstdio>

namespace quillmere {
namespace {

using namespace std::chrono_literals;

class Photographer {
public:
    Photographer(QString folder, QString paletteName) : folder_(std::move(folder)), paletteName_(std::move(paletteName)) {}

    void shoot(QWidget& widget, const QString& name)
    {
        QApplication::processEvents();
        QTest::qWait(30);
        const QString path = folder_ + "/" + paletteName_ + "-" + name + ".png";
        if (!widget.grab().save(path)) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
            failures_++;
        }
        count_++;
    }
    // The README's pictures are the light ones, under readme/.
    void keepForReadme(QWidget& widget, const QString& name)
    {
        if (paletteName_ != QStringLiteral("light")) {
            return;
        }
        QDir(folder_).mkpath(QStringLiteral("readme"));
        const QString path = folder_ + "/readme/" + name + ".png";
        if (!widget.grab().save(path)) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
            failures_++;
        }
    }
    int count() const { return count_; }
    int failures() const { return failures_; }

private:
    QString folder_;
    QString paletteName_;
    int count_ = 0;
    int failures_ = 0;
};

BlockReview reflection(int n)
{
    return BlockReview{"Output " + std::to_string(n), "Better than usual", "Flaky tests", "Short sessions",
                       "Plan the first action"};
}

// The Insights tab with nothing yet, then over about three months of a
// person's blocks and today's sessions, one of them running, in each
// period: the whole tab as well as the window's view of it.
void photographInsights(Photographer& camera)
{
    fixtures::TempFolder temp;
    fakes::FakeClock clock;
    clock.now = utcInstant(2026, 3, 2, 15, 40, 0);
    AppModel model(StateStore(temp.path(), clock.function()),
                   AppModel::Collaborators{std::make_unique<fakes::RecordingNotifications>(),
                                           std::make_unique<fakes::RecordingPublisher>(), clock.function(), nullptr,
                                           std::chrono::milliseconds::zero()},
                   clock.now, false);
    MainWindow window(model);
    window.resize(920, 720);
    window.show();
    model.setSelectedTab(MainWindowTab::insights);
    camera.shoot(window, "insights-empty");

    model.editState([&](QuillmereState& state) { state.blockHistory = fixtures::workedHistory(80, clock.now); });
    // Today: one session reviewed, the next one running.
    model.beginBlock();
    model.startBlock(Block::defaultBlock(clock.now));
    model.startFocus(SessionPlan::blank(Uuid::generate()));
    clock.now += 25min;
    model.tick(clock.now);
    model.saveReview(SessionReview{Uuid::generate(), CompletionResult::yes, "", "", ""},
                     SessionPlan::blank(Uuid::generate()));
    model.skipBreak();
    model.startFocus(std::nullopt);
    clock.now += 12min;
    model.tick(clock.now);
    InsightsView& view = *window.insightsView();
    auto* period = view.findChild<QComboBox*>();
    const QStringList names{"insights-7-days", "insights-4-weeks", "insights-12-months", "insights-all"};
    for (int index = 0; index < names.size(); ++index) {
        period->setCurrentIndex(index);
        camera.shoot(window, names[index]);
        camera.shoot(view, names[index] + "-whole");
    }
}

int photographAll(const QString& folder, const QString& paletteName)
{
    fixtures::TempFolder temp;
    fakes::FakeClock clock;
    clock.now = utcInstant(2026, 3, 2, 9, 0, 0);
    AppModel model(StateStore(temp.path(), clock.function()),
                   AppModel::Collaborators{std::make_unique<fakes::RecordingNotifications>(),
                                           std::make_unique<fakes::RecordingPublisher>(), clock.function(), nullptr,
                                           std::chrono::milliseconds::zero()},
                   clock.now, false);
    Photographer camera(folder, paletteName);

    MainWindow window(model);
    window.resize(920, 720);
    window.show();
    MenuBarPopover panel(model);
    panel.show();

    const auto shootPhase = [&](const QString& name) {
        window.tabs()->setCurrentIndex(0);
        camera.shoot(window, "work-cycle-" + name);
        camera.shoot(panel, "panel-" + name);
    };

    // Three completed blocks in the history, each of two sessions.
    for (int n = 1; n <= 3; ++n) {
        model.beginBlock();
        Block block = Block::defaultBlock(clock.now);
        block.cycleCount = 2;
        block.outcomes[0].title = "Outcome of block " + std::to_string(n);
        block.whyValue = "It unblocks the release";
        model.startBlock(block);
        for (int s = 0; s < 2; ++s) {
            SessionPlan plan = SessionPlan::blank(Uuid::generate());
            plan.intendedOutcome = "Session " + std::to_string(s + 1) + " result";
            plan.firstAction = "Open the notes";
            model.startFocus(plan);
            clock.now += 25min;
            model.endFocus();
            model.saveReview(SessionReview{Uuid::generate(), CompletionResult::yes, "Done", "Chat", "Mute chat"},
                             s == 0 ? std::optional(SessionPlan::blank(Uuid::generate())) : std::nullopt);
            if (s == 0) {
                model.skipBreak();
            }
        }
        model.completeBlock(reflection(n));
        clock.now += 1h;
    }
    for (const char* question : {"Which branch should the release use?", "May I rename the config keys?",
                                 "Should flaky tests be quarantined?"}) {
        model.addQuestion(question);
    }
    model.tick(clock.now);
    shootPhase("idle");

    // The scheduled block.
    model.beginBlock();
    Block scheduled = Block::defaultBlock(clock.now);
    scheduled.outcomes[0].title = "Ship the parser";
    scheduled.plannedStart = clock.now + 2h;
    model.saveBlockDraft(scheduled);
    shootPhase("block-planning");
    model.scheduleBlock(scheduled);
    shootPhase("idle-scheduled");
    model.startScheduledBlockNow(clock.now);
    shootPhase("session-planning");

    SessionPlan plan = SessionPlan::blank(Uuid::generate());
    plan.intendedOutcome = "Draft the lexer for the configuration language";
    plan.firstAction = "Open lexer.cpp";
    plan.hazardsMitigation = "Chat: closed";
    model.startFocus(plan);
    clock.now += 7min + 12s;
    model.tick(clock.now);
    shootPhase("focusing");
    camera.keepForReadme(window, "main-window-focus");
    camera.keepForReadme(panel, "status-panel");
    model.pauseOrResumeFocus();
    shootPhase("focusing-paused");
    model.pauseOrResumeFocus();
    model.endFocus();
    shootPhase("session-review");
    SessionPlan next = SessionPlan::blank(Uuid::generate());
    next.intendedOutcome = "Finish the lexer";
    model.saveReview(SessionReview{Uuid::generate(), CompletionResult::half, "Tokens done", "", ""}, next);
    clock.now += 6min;
    model.tick(clock.now);
    shootPhase("breaking-overtime");

    for (int i = 1; i <= 3; ++i) {
        window.tabs()->setCurrentIndex(i);
        camera.shoot(window, QStringList{"", "current-block", "history", "agent-questions"}[i]);
    }
    // One history entry opened for editing.
    window.tabs()->setCurrentIndex(2);
    for (QAbstractButton* edit : window.findChildren<QAbstractButton*>()) {
        if (edit->text() == "Edit" && edit->isVisibleTo(&window)) {
            edit->click();
            break;
        }
    }
    camera.shoot(window, "history-editing");

    // Block review: skip to the last session.
    model.skipBreak();
    model.startFocus(std::nullopt);
    model.endFocus();
    for (int s = static_cast<int>(model.state().currentBlock->sessions.size());
         s < model.state().currentBlock->cycleCount; ++s) {
        model.saveReview(SessionReview{Uuid::generate(), CompletionResult::yes, "", "", ""},
                         SessionPlan::blank(Uuid::generate()));
        model.skipBreak();
        model.startFocus(std::nullopt);
        model.endFocus();
    }
    model.saveReview(SessionReview{Uuid::generate(), CompletionResult::no, "", "", ""}, std::nullopt);
    shootPhase("block-review");

    model.setDueMessage("Focus ended. Review the session before you continue.");
    window.tabs()->setCurrentIndex(0);
    camera.shoot(window, "due-message");

    // More questions than a page of cards, and a new question as long as
    // one may be, so that its note shows.
    for (int n = 4; n <= 45; ++n) {
        model.addQuestion(QString("Question %1: may the agent split the parser module?").arg(n));
    }
    window.tabs()->setCurrentIndex(3);
    window.agentQuestionsView()->newQuestionField()->setText(
        QString("May I delete the generated files? ").repeated(60).left(2'000));
    camera.shoot(window, "agent-questions-many");
    camera.shoot(panel, "panel-many-questions");
    QWidget* showMore = window.agentQuestionsView()->showMoreButton();
    for (QWidget* up = showMore->parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(up)) {
            area->ensureWidgetVisible(showMore);
        }
    }
    camera.shoot(window, "agent-questions-show-more");

    photographInsights(camera);

    // The preferences as a person finds them on a desktop that can silence
    // notifications, with one choice made.
    model.preferences().setDoNotDisturbSupport({true, PreferencesWindow::tr("Silences dunst while a focus runs.")});
    model.preferences().setWhenAway(WhenAway::pauseFocus);
    PreferencesWindow preferences(model.preferences());
    preferences.show();
    camera.shoot(preferences, "preferences");
    return camera.failures() == 0 ? camera.count() : -1;
}

// Each case at each size as a file of its own, and a sheet of them all on
// the two panels: at the real size, and four times larger with every pixel
// a square, to judge the edges.
bool photographStatusIcon(const QString& folder)
{
    QDir().mkpath(folder);
    const auto cases = shelltest::statusIconCases();
    bool written = true;
    for (const auto& [name, label] : cases) {
        for (const int side : shelltest::statusIconSides) {
            const QString path = QString("%1/%2-%3.png").arg(folder, name).arg(side);
            written = MenuBarLabel::render(label.picture(), side).save(path) && written;
        }
    }
    constexpr int cell = 40;
    constexpr int nameWidth = 150;
    for (const int zoom : {1, 4}) {
        const int columns = static_cast<int>(std::size(shelltest::statusIconSides));
        const int blockWidth = nameWidth + columns * cell * zoom;
        QImage sheet(2 * blockWidth, (static_cast<int>(cases.size()) + 1) * cell * zoom, QImage::Format_ARGB32);
        QPainter painter(&sheet);
        for (const auto& [index, panel] : {std::pair{0, shelltest::lightPanel}, std::pair{1, shelltest::darkPanel}}) {
            const int left = index * blockWidth;
            painter.fillRect(left, 0, blockWidth, sheet.height(), panel);
            painter.setPen(index == 0 ? Qt::black : Qt::white);
            for (int column = 0; column < columns; ++column) {
                painter.drawText(QRect(left + nameWidth + column * cell * zoom, 0, cell * zoom, cell * zoom),
                                 Qt::AlignCenter, QString::number(shelltest::statusIconSides[column]));
            }
            for (std::size_t row = 0; row < cases.size(); ++row) {
                const int top = static_cast<int>(row + 1) * cell * zoom;
                painter.drawText(QRect(left + 8, top, nameWidth - 8, cell * zoom), Qt::AlignVCenter,
                                 QString::fromLatin1(cases[row].name));
                for (int column = 0; column < columns; ++column) {
                    const int side = shelltest::statusIconSides[column];
                    const QImage icon = MenuBarLabel::render(cases[row].label.picture(), side).toImage();
                    const QRect target(left + nameWidth + column * cell * zoom + (cell - side) * zoom / 2,
                                       top + (cell - side) * zoom / 2, side * zoom, side * zoom);
                    painter.drawImage(target, icon.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
                }
            }
        }
        painter.end();
        const QString path = QString("%1/sheet%2.png").arg(folder, zoom == 1 ? QString() : QString("-x%1").arg(zoom));
        written = sheet.save(path) && written;
    }
    if (!written) {
        std::fprintf(stderr, "could not write the status icon into %s\n", qPrintable(folder));
    }
    return written;
}

} // namespace
} // namespace quillmere

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // In the language of the environment, as the application would be.
    const quillmere::Translations translations{QLocale()};
    quillmere::look::installStyle(QStyleFactory::create("Fusion"));
    // The pointer away from every window, as when a person looks at one:
    // off screen it would otherwise rest over the first tab and light it.
    QCursor::setPos(-1000, -1000);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath() + "/screenshots";
    QDir().mkpath(folder);
    // Quillmere's own light palette, as a desktop without a platform theme
    // gets it.
    QApplication::setPalette(quillmere::look::lightPalette());
    if (!quillmere::photographStatusIcon(folder + "/status-icon")) {
        return 1;
    }
    int total = 0;
    for (const auto& [name, palette] : {std::pair{QString("light"), quillmere::look::lightPalette()},
                                        std::pair{QString("dark"), quillmere::look::darkPalette()}}) {
        QApplication::setPalette(palette);
        const int count = quillmere::photographAll(folder, name);
        if (count < 0) {
            return 1;
        }
        total += count;
    }
    std::printf("%d screenshots in %s\n", total, qPrintable(folder));
    return 0;
}
