// SPDX-License-Identifier: GPL-3.0-or-later
// Every screen of the application, reached through a real model as a person
// reaches it, looked over for layout faults (see LayoutAudit.h): the main
// window at its smallest size, the status panel and the preferences at their
// own. CTest runs this program at 100 % and again at 200 % scale.

#include "LayoutAudit.h"
#include "MainWindow.h"
#include "QuillmereStyle.h"
#include "UiTestSupport.h"
#include "panel/MenuBarPopover.h"
#include "preferences/PreferencesWindow.h"

#include "StateFixtures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <memory>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using namespace uitest;

// A model and the steps that bring it to each phase, with texts as long as
// a person's plans tend to be.
struct Scene {
    AppModel& model() { return *harness.model; }
    fakes::FakeClock& clock() { return harness.clock; }

    static SessionPlan plan(const std::string& outcome)
    {
        SessionPlan plan = SessionPlan::blank(Uuid::generate());
        plan.intendedOutcome = outcome;
        plan.firstAction = "Open lexer.cpp and read the token table";
        plan.hazardsMitigation = "Chat: closed until the break";
        return plan;
    }

    static Block block(Instant now)
    {
        Block block = Block::defaultBlock(now);
        block.cycleCount = 2;
        block.outcomes[0].title = "Ship the parser for the configuration language";
        block.whyValue = "It unblocks the release and two people waiting on it";
        return block;
    }

    void completedBlocks(int count)
    {
        for (int n = 1; n <= count; ++n) {
            toSessionPlanning();
            for (int session = 1; session <= 2; ++session) {
                model().startFocus(plan("Session " + std::to_string(session) + " of block " + std::to_string(n)));
                clock().now += 25min;
                model().endFocus();
                model().saveReview(SessionReview{Uuid::generate(), CompletionResult::yes, "Done", "Chat", "Mute chat"},
                                   session == 1 ? std::optional(plan("Next")) : std::nullopt);
                if (session == 1) {
                    model().skipBreak();
                }
            }
            model().completeBlock(BlockReview{"A working parser", "Better than usual", "Flaky tests",
                                              "Short sessions", "Plan the first action"});
            clock().now += 1h;
        }
    }

    void questions()
    {
        for (const char* question : {"Which branch should the release use?", "May I rename the config keys?",
                                     "Should flaky tests be quarantined, or fixed before the release goes out?"}) {
            model().addQuestion(question);
        }
    }

    void toScheduled()
    {
        model().beginBlock();
        Block scheduled = block(clock().now);
        scheduled.plannedStart = clock().now + 2h;
        model().scheduleBlock(scheduled);
    }

    void toSessionPlanning()
    {
        model().beginBlock();
        model().startBlock(block(clock().now));
    }

    void toFocus()
    {
        toSessionPlanning();
        model().startFocus(plan("Draft the lexer for the configuration language"));
        clock().now += 7min + 12s;
        model().tick(clock().now);
    }

    void toSessionReview()
    {
        toFocus();
        model().endFocus();
    }

    void toBreak(std::chrono::seconds into)
    {
        toSessionReview();
        model().saveReview(SessionReview{Uuid::generate(), CompletionResult::half, "Tokens done", "", ""},
                           plan("Finish the lexer and its tests"));
        clock().now += into;
        model().tick(clock().now);
    }

    void toBlockReview()
    {
        toBreak(1min);
        model().skipBreak();
        model().startFocus(std::nullopt);
        model().endFocus();
        model().saveReview(SessionReview{Uuid::generate(), CompletionResult::no, "", "", ""}, std::nullopt);
    }

    ModelHarness harness;
};

enum class Surface { mainWindow, panel, preferences };

struct ScreenCase {
    const char* name;
    Surface surface;
    MainWindowTab tab;
    std::function<void(Scene&)> arrange;
    // The screen does one next thing, with one filled button.
    bool leadAction = false;
    // A button clicked once the model is in place, as a person opens a part:
    // its text in the source and its translation context, so that the run
    // in German finds it too.
    const char* click = nullptr;
    const char* clickContext = nullptr;
};

void noContent(Scene&) {}

const ScreenCase screenCases[] = {
    {"WorkCycleIdle", Surface::mainWindow, MainWindowTab::workCycle, noContent, true},
    {"WorkCycleIdleWithScheduledBlock", Surface::mainWindow, MainWindowTab::workCycle,
     [](Scene& scene) { scene.toScheduled(); }},
    {"WorkCycleBlockPlanning", Surface::mainWindow, MainWindowTab::workCycle,
     [](Scene& scene) { scene.model().beginBlock(); }, true},
    {"WorkCycleSessionPlanning", Surface::mainWindow, MainWindowTab::workCycle,
     [](Scene& scene) { scene.toSessionPlanning(); }, true},
    {"WorkCycleFocus", Surface::mainWindow, MainWindowTab::workCycle, [](Scene& scene) { scene.toFocus(); }},
    {"WorkCyclePausedFocus", Surface::mainWindow, MainWindowTab::workCycle,
     [](Scene& scene) {
         scene.toFocus();
         scene.model().pauseOrResumeFocus();
     }},
    {"WorkCycleSessionReview", Surface::mainWindow, MainWindowTab::workCycle,
     [](Scene& scene) { scene.toSessionReview(); }, true},
    {"WorkCycleBreak", Surface::mainWindow, MainWindowTab::workCycle, [](Scene& scene) { scene.toBreak(1min); }, true},
    {"WorkCycleBreakOvertime", Surface::mainWindow, MainWindowTab::workCycle,
     [](Scene& scene) { scene.toBreak(6min); }, true},
    {"WorkCycleBlockReview", Surface::mainWindow, MainWindowTab::workCycle,
     [](Scene& scene) { scene.toBlockReview(); }, true},
    {"WorkCycleWithDueMessage", Surface::mainWindow, MainWindowTab::workCycle,
     [](Scene& scene) {
         scene.toSessionReview();
         scene.model().setDueMessage("Focus ended. Review the session before you continue.");
     },
     true},
    {"CurrentBlockDuringFocus", Surface::mainWindow, MainWindowTab::currentBlock,
     [](Scene& scene) {
         scene.completedBlocks(1);
         scene.toBreak(1min);
         scene.model().skipBreak();
         scene.model().startFocus(Scene::plan("Write the parser's error messages"));
     }},
    {"HistoryOfThreeBlocks", Surface::mainWindow, MainWindowTab::history,
     [](Scene& scene) { scene.completedBlocks(3); }},
    {"HistoryEditingABlock", Surface::mainWindow, MainWindowTab::history,
     [](Scene& scene) { scene.completedBlocks(3); },
     false, "Edit", "quillmere::CompletedBlockEditor"},
    {"AgentQuestions", Surface::mainWindow, MainWindowTab::agentQuestions, [](Scene& scene) { scene.questions(); }},
    {"InsightsOverMonths", Surface::mainWindow, MainWindowTab::insights,
     [](Scene& scene) {
         scene.model().editState(
             [&](QuillmereState& state) { state.blockHistory = fixtures::workedHistory(80, scene.clock().now); });
         scene.toFocus();
     }},
    {"PanelIdleWithQuestions", Surface::panel, MainWindowTab::workCycle, [](Scene& scene) { scene.questions(); }},
    {"PanelScheduled", Surface::panel, MainWindowTab::workCycle, [](Scene& scene) { scene.toScheduled(); }},
    {"PanelFocus", Surface::panel, MainWindowTab::workCycle, [](Scene& scene) { scene.toFocus(); }},
    {"PanelPausedFocus", Surface::panel, MainWindowTab::workCycle,
     [](Scene& scene) {
         scene.toFocus();
         scene.model().pauseOrResumeFocus();
     }},
    {"PanelBreakOvertime", Surface::panel, MainWindowTab::workCycle, [](Scene& scene) { scene.toBreak(6min); }},
    {"PanelBlockReview", Surface::panel, MainWindowTab::workCycle, [](Scene& scene) { scene.toBlockReview(); }},
    {"Preferences", Surface::preferences, MainWindowTab::workCycle,
     [](Scene& scene) {
         scene.model().preferences().setDoNotDisturbSupport(
             {true, PreferencesWindow::tr("Silences dunst while a focus runs.")});
     }},
};

void PrintTo(const ScreenCase& screen, std::ostream* out)
{
    *out << screen.name;
}

class LayoutAudit : public ::testing::TestWithParam<ScreenCase> {
protected:
    // Sized as the application draws them: the desktop's style (Fusion,
    // off screen) under Quillmere's layer.
    static void SetUpTestSuite() { look::installStyle(QStyleFactory::create(QStringLiteral("Fusion"))); }

    // The surface, built before the model moves so that it follows the
    // model's signals as it does in the application, and shown at its size.
    std::unique_ptr<QWidget> show(Scene& scene, const ScreenCase& screen)
    {
        std::unique_ptr<QWidget> window;
        switch (screen.surface) {
        case Surface::mainWindow: {
            auto main = std::make_unique<MainWindow>(scene.model());
            main->resize(main->minimumSize());
            window = std::move(main);
            break;
        }
        case Surface::panel: window = std::make_unique<MenuBarPopover>(scene.model()); break;
        case Surface::preferences: window = std::make_unique<PreferencesWindow>(scene.model().preferences()); break;
        }
        window->show();
        screen.arrange(scene);
        scene.model().setSelectedTab(screen.tab);
        if (screen.click != nullptr) {
            click(window.get(), QCoreApplication::translate(screen.clickContext, screen.click));
        }
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::processEvents();
        return window;
    }
};

TEST_P(LayoutAudit, NothingOverlapsOrIsCutOffAndTheLeadActionIsInSight)
{
    const ScreenCase& screen = GetParam();
    Scene scene;
    const std::unique_ptr<QWidget> window = show(scene, screen);
    SCOPED_TRACE(QStringLiteral("%1 at %2 %").arg(screen.name).arg(window->devicePixelRatio() * 100).toStdString());
    if (screen.surface == Surface::mainWindow) {
        ASSERT_EQ(window->size(), QSize(640, 480)) << "the main window's smallest size";
    }
    if (screen.leadAction) {
        EXPECT_EQ(primaryActions(*window), 1) << "one filled button for the next thing";
    }

    for (const QString& fault : layoutFaults(*window)) {
        ADD_FAILURE() << str(fault);
    }
}

// The audit itself, on windows built to hold one fault each (or a designed
// exception that is none): a check that saw nothing would pass every screen.
TEST(LayoutAuditChecks, EachKindOfFaultIsSeenAndDesignedExceptionsAreNot)
{
    const struct {
        const char* what;
        std::function<void(QWidget&)> build;
        QStringList expected;
    } cases[] = {
        {"two labels on one spot",
         [](QWidget& window) {
             (new QLabel("First", &window))->setGeometry(10, 10, 120, 30);
             (new QLabel("Second", &window))->setGeometry(60, 20, 120, 30);
         },
         {"overlaps a sibling: QLabel \"First\""}},
        {"a label past the window's edge",
         [](QWidget& window) { (new QLabel("Edge", &window))->setGeometry(window.width() - 20, 10, 80, 30); },
         {"reaches past its parent: QLabel \"Edge\""}},
        {"a one-line label narrower than its text",
         [](QWidget& window) { (new QLabel("A label far longer than its room", &window))->setGeometry(0, 0, 60, 30); },
         {"text cut off: QLabel"}},
        {"a wrapped label shorter than its lines",
         [](QWidget& window) {
             auto* label = new QLabel(QString("Words that wrap onto many lines. ").repeated(6), &window);
             label->setWordWrap(true);
             label->setGeometry(0, 0, 120, 20);
         },
         {"wrapped text cut off: QLabel"}},
        {"a button narrower than its text",
         [](QWidget& window) { (new QPushButton("Save review and start break", &window))->setGeometry(0, 0, 40, 30); },
         {"text cut off: QPushButton"}},
        {"a layout given less than its minimum",
         [](QWidget& window) {
             auto* row = new QWidget(&window);
             auto* layout = new QHBoxLayout(row);
             auto* field = new QLineEdit(row);
             field->setMinimumWidth(300);
             layout->addWidget(field);
             row->setGeometry(0, 0, 150, 40);
         },
         {"squeezed: QWidget", "reaches past its parent: QLineEdit"}},
        {"the lead action scrolled off to the right",
         [](QWidget& window) {
             auto* layout = new QVBoxLayout(&window);
             auto* area = new QScrollArea(&window);
             area->setWidgetResizable(true);
             auto* page = new QWidget(area);
             page->setMinimumWidth(900);
             auto* lead = new QPushButton("Start focus", page);
             look::makePrimary(*lead);
             lead->setGeometry(700, 10, lead->sizeHint().width(), lead->sizeHint().height());
             area->setWidget(page);
             layout->addWidget(area);
         },
         {"lead action outside the visible width: QPushButton \"Start focus\"", "horizontal scroll bar showing"}},
        {"a label meant to elide",
         [](QWidget& window) {
             auto* label = new QLabel("A label far longer than its room", &window);
             label->setProperty("quillmereElides", true);
             label->setGeometry(0, 0, 60, 30);
         },
         {}},
        {"pages of a stack and a scroll area's parts",
         [](QWidget& window) {
             auto* layout = new QVBoxLayout(&window);
             auto* stack = new QStackedWidget(&window);
             stack->addWidget(new QLabel("Page one"));
             stack->addWidget(new QLabel("Page two"));
             layout->addWidget(stack);
             auto* area = new QScrollArea(&window);
             auto* tall = new QWidget;
             tall->setMinimumSize(100, 2000);
             area->setWidget(tall);
             layout->addWidget(area);
         },
         {}},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.what);
        QWidget window;
        window.resize(400, 300);
        entry.build(window);
        window.show();
        QApplication::processEvents();
        const QStringList faults = layoutFaults(window);
        for (const QString& expected : entry.expected) {
            const bool seen =
                std::ranges::any_of(faults, [&](const QString& fault) { return fault.startsWith(expected); });
            EXPECT_TRUE(seen) << "expected " << str(expected) << " among:\n" << str(faults.join('\n'));
        }
        EXPECT_EQ(faults.size(), entry.expected.size()) << str(faults.join('\n'));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryScreen, LayoutAudit, ::testing::ValuesIn(screenCases),
                         [](const ::testing::TestParamInfo<ScreenCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace quillmere
