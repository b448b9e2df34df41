// SPDX-License-Identifier: GPL-3.0-or-later
// Every text the screens show goes through translation. A pseudo-translator
// turns each text of every context into "[text ~~~]", a third longer; the
// main window (every tab) and the status panel are then built in every phase
// of the work cycle, and each text a person can see or a screen reader says
// must have come back wrapped, unless it is something a person typed, a
// figure (timer, date, count) or the product's name.

#include "MainWindow.h"
#include "forms/FormComponents.h"
#include "panel/MenuBarPopover.h"

#include "UiTestSupport.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLocale>
#include <QTabBar>
#include <QToolButton>
#include <QTranslator>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using namespace uitest;

// Each text a person types in these tests starts with this mark, so that a
// stored text shown as typed is told apart from a screen's own.
const QString typedMark = QStringLiteral("✎");

std::string typed(const char* text)
{
    return typedMark.toStdString() + text;
}

// A translation of every text of every context: "[text ~~~]", a third longer
// than the English, so an untranslated text stands out and a layout that
// cannot take longer words shows it.
class PseudoTranslator final : public QTranslator {
public:
    bool isEmpty() const override { return false; }

    QString translate(const char*, const char* source, const char*, int) const override
    {
        const QString text = QString::fromUtf8(source);
        return text.isEmpty() ? text : wrapped(text);
    }

    static QString wrapped(const QString& text)
    {
        return QStringLiteral("[%1 %2]").arg(text, QString(std::max<qsizetype>(3, text.size() / 3), u'~'));
    }
};

bool isPseudoTranslated(const QString& text)
{
    return text.startsWith(u'[') && text.endsWith(QStringLiteral("~]"));
}

// Shown as it is in every language: what a person typed, the product's name,
// and figures (timers, counts, dates and times in the locale's digits).
bool isLeftAsIs(const QString& text)
{
    if (text.startsWith(typedMark) || text == QStringLiteral("Quillmere")) {
        return true;
    }
    const QLocale locale = QLocale::system();
    QString rest = text;
    rest.remove(locale.amText()).remove(locale.pmText());
    for (int number = 1; number <= 12; ++number) {
        for (const auto format : {QLocale::LongFormat, QLocale::ShortFormat}) {
            rest.remove(locale.monthName(number, format));
            rest.remove(locale.dayName(std::min(number, 7), format));
        }
    }
    return std::ranges::none_of(rest, [](QChar c) { return c.isLetter(); });
}

// What the walk found: how many texts came back translated, and where
// each one that did not is shown.
struct Walk {
    int translated = 0;
    QStringList untranslated;
};

void check(Walk& walk, const QWidget* widget, const char* what, const QString& text)
{
    if (text.isEmpty() || isLeftAsIs(text)) {
        return;
    }
    if (isPseudoTranslated(text)) {
        ++walk.translated;
    } else {
        walk.untranslated << QStringLiteral("%1 %2: \"%3\"").arg(widget->metaObject()->className(), what, text);
    }
}

// Every text a person can see, or hear from a screen reader, under `root`.
Walk walk(QWidget* root)
{
    Walk walk;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (const QWidget* widget : widgets) {
        if (widget != root && !widget->isVisibleTo(root)) {
            continue;
        }
        check(walk, widget, "accessible name", widget->accessibleName());
        check(walk, widget, "accessible description", widget->accessibleDescription());
        check(walk, widget, "tooltip", widget->toolTip());
        if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            check(walk, widget, "text", label->text());
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            check(walk, widget, "text", button->text());
        } else if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
            check(walk, widget, "title", group->title());
        } else if (const auto* line = qobject_cast<const QLineEdit*>(widget)) {
            check(walk, widget, "placeholder", line->placeholderText());
        } else if (const auto* prose = qobject_cast<const QPlainTextEdit*>(widget)) {
            check(walk, widget, "placeholder", prose->placeholderText());
        } else if (const auto* spin = qobject_cast<const QSpinBox*>(widget)) {
            check(walk, widget, "prefix", spin->prefix());
            check(walk, widget, "suffix", spin->suffix());
        } else if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
            for (int index = 0; index < combo->count(); ++index) {
                check(walk, widget, "item", combo->itemText(index));
            }
        } else if (const auto* tabs = qobject_cast<const QTabBar*>(widget)) {
            for (int index = 0; index < tabs->count(); ++index) {
                check(walk, widget, "tab", tabs->tabText(index));
                check(walk, widget, "tab tooltip", tabs->tabToolTip(index));
            }
        }
    }
    return walk;
}

// Opens every collapsed section (sessions, preparation, history entries)
// and turns the history's forms editable, so that their texts are built.
void openEverything(QWidget* root)
{
    for (bool opened = true; opened;) {
        opened = false;
        for (QToolButton* toggle : root->findChildren<QToolButton*>()) {
            if (toggle->isVisibleTo(root) && toggle->isCheckable() && !toggle->isChecked() &&
                qobject_cast<SegmentedControl*>(toggle->parentWidget()) == nullptr) {
                toggle->click();
                opened = true;
            }
        }
        QApplication::processEvents();
    }
    while (QAbstractButton* edit = button(root, PseudoTranslator::wrapped(QStringLiteral("Edit")))) {
        edit->click();
        QApplication::processEvents();
    }
}

// Where the work cycle stands when the screens are built, in the order the
// model's commands reach them.
enum class Stage {
    idle,
    blockPlanning,
    scheduled,
    sessionPlanning,
    focusing,
    paused,
    sessionReview,
    breaking,
    blockReview,
    complete,
    filed,
};

// Runs a block of `cycles` sessions, with typed texts and some blanks, up to
// `stage` through the model's own commands.
void runTo(AppModel& model, Stage stage, std::int64_t cycles)
{
    if (stage == Stage::idle) {
        return;
    }
    model.beginBlock();
    if (stage == Stage::blockPlanning) {
        return;
    }
    Block block = Block::defaultBlock(model.now());
    block.cycleCount = cycles;
    block.outcomes = {Outcome{Uuid::generate(), typed("Parser works")}, Outcome{Uuid::generate(), ""}};
    block.whyValue = typed("Unblocks the team");
    block.hazards = typed("Scope creep");
    if (stage == Stage::scheduled) {
        block.plannedStart = model.now() + 2h;
        model.scheduleBlock(block);
        return;
    }
    model.startBlock(block);
    if (stage == Stage::sessionPlanning) {
        return;
    }
    SessionPlan plan = SessionPlan::blank(Uuid::generate());
    plan.blockOutcomeID = block.outcomes.front().id;
    plan.intendedOutcome = typed("Draft the parser");
    plan.hazardsMitigation = typed("Mail closed");
    model.startFocus(plan);
    if (stage == Stage::paused) {
        model.pauseOrResumeFocus();
    }
    if (stage <= Stage::paused) {
        return;
    }
    model.endFocus();
    if (stage == Stage::sessionReview) {
        return;
    }
    SessionPlan next = SessionPlan::blank(Uuid::generate());
    next.firstAction = typed("Write one test");
    model.saveReview(SessionReview{Uuid::generate(), CompletionResult::half, typed("Half the grammar"), "",
                                   typed("Mute chat")},
                     next);
    if (stage == Stage::complete) {
        model.editState([](QuillmereState& state) { state.workflowState = WorkflowState::complete; });
    }
    if (stage != Stage::filed) {
        return;
    }
    model.completeBlock(BlockReview{typed("A parser"), "", typed("Lexer"), "", typed("Start smaller")});
}

class PseudoTranslation : public ::testing::Test {
protected:
    void SetUp() override { QCoreApplication::installTranslator(&translator); }
    void TearDown() override { QCoreApplication::removeTranslator(&translator); }

    PseudoTranslator translator;
};

TEST_F(PseudoTranslation, NoScreenShowsAnUntranslatedText)
{
    const struct {
        const char* name;
        Stage stage;
        std::int64_t cycles;
    } phases[] = {
        {"nothing yet", Stage::idle, 2},
        {"block planning", Stage::blockPlanning, 2},
        {"block scheduled", Stage::scheduled, 2},
        {"session planning", Stage::sessionPlanning, 2},
        {"focus", Stage::focusing, 2},
        {"focus paused", Stage::paused, 2},
        {"session review", Stage::sessionReview, 2},
        {"last session review", Stage::sessionReview, 1},
        {"break", Stage::breaking, 2},
        {"block reflection", Stage::blockReview, 1},
        {"complete", Stage::complete, 1},
    };
    constexpr MainWindowTab tabs[] = {MainWindowTab::workCycle, MainWindowTab::currentBlock, MainWindowTab::history,
                                      MainWindowTab::agentQuestions, MainWindowTab::insights};
    for (const auto& phase : phases) {
        SCOPED_TRACE(phase.name);
        ModelHarness harness;
        AppModel& model = *harness.model;
        if (phase.stage != Stage::idle) {
            // A filed block for the history, and more open questions than
            // the panel lists and a page of cards holds, some of them asked
            // by an agent.
            runTo(model, Stage::filed, 1);
            model.editState([asked = model.now()](QuillmereState& state) {
                for (int number = 0; number < 25; ++number) {
                    state.agentQuestions.push_back(
                        AgentQuestion{Uuid::generate(), typed("Which branch?"), asked, std::nullopt,
                                      std::nullopt, number % 2 == 0 ? std::optional(typed("release-bot")) : std::nullopt});
                }
            });
        }
        runTo(model, phase.stage, phase.cycles);

        MainWindow window(model);
        for (const MainWindowTab tab : tabs) {
            SCOPED_TRACE(static_cast<int>(tab));
            model.setSelectedTab(tab);
            QApplication::processEvents();
            openEverything(&window);
            const Walk found = walk(&window);
            EXPECT_GT(found.translated, 5) << "the walk reached the tab's screen";
            EXPECT_TRUE(found.untranslated.isEmpty()) << found.untranslated.join(u'\n').toStdString();
        }
        MenuBarPopover panel(model);
        const Walk found = walk(&panel);
        EXPECT_GT(found.translated, 3);
        EXPECT_TRUE(found.untranslated.isEmpty()) << found.untranslated.join(u'\n').toStdString();
    }
}

} // namespace
} // namespace quillmere
