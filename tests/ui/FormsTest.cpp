// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Forms.h"

#include "StateFixtures.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace quillmere {
namespace {

using fixtures::fixedId;

template <class Widget>
Widget* named(const QWidget* root, const QString& name)
{
    for (Widget* widget : root->findChildren<Widget*>()) {
        if (widget->accessibleName() == name) {
            return widget;
        }
    }
    return nullptr;
}

QPlainTextEdit* prose(const QWidget* root, const QString& label)
{
    return named<QPlainTextEdit>(root, label);
}

ValueRow* row(const QWidget* root, const QString& label)
{
    for (ValueRow* candidate : root->findChildren<ValueRow*>()) {
        if (candidate->label() == label) {
            return candidate;
        }
    }
    return nullptr;
}

QAbstractButton* titled(const QWidget* root, const QString& text)
{
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

bool shown(const QWidget* widget)
{
    return widget && widget->isVisible();
}

Block sampleBlock()
{
    Block block = Block::defaultBlock(utcInstant(2026, 3, 2, 9, 0, 0));
    block.outcomes = {Outcome{fixedId(1), "Parser works"}};
    return block;
}

SessionReview blankReview()
{
    return SessionReview{fixedId(3), CompletionResult::yes, "", "", ""};
}

SessionPlan samplePlan()
{
    return SessionPlan{fixedId(10), std::nullopt, "Draft", "Open file", "Mail closed", "Novel path", 3, 3};
}

// The bounded fields of the session plan, one of each kind.
struct BoundedField {
    const char* name;
    std::string SessionPlan::*member;
};
constexpr BoundedField boundedFields[] = {
    {"Intended outcome", &SessionPlan::intendedOutcome},
    {"First action", &SessionPlan::firstAction},
};

SessionPlan planWith(const std::string& text)
{
    SessionPlan plan = samplePlan();
    plan.intendedOutcome = text;
    plan.firstAction = text;
    return plan;
}

LengthLimitNote* noteOf(const QWidget* form, const QString& name)
{
    for (const ProseField* field : form->findChildren<ProseField*>()) {
        if (field->label() == name) {
            return field->note();
        }
    }
    auto* line = qobject_cast<BoundedLineEdit*>(named<QLineEdit>(form, name));
    return line ? line->note() : nullptr;
}

// The text and cursor of a single- or multi-line field.
QString textOf(const QWidget* field)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(field)) {
        return line->text();
    }
    return qobject_cast<const QPlainTextEdit*>(field)->toPlainText();
}

int cursorOf(const QWidget* field)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(field)) {
        return line->cursorPosition();
    }
    return qobject_cast<const QPlainTextEdit*>(field)->textCursor().position();
}

void placeCursor(QWidget* field, int position)
{
    field->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        line->setCursorPosition(position);
        return;
    }
    auto* editor = qobject_cast<QPlainTextEdit*>(field);
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(position);
    editor->setTextCursor(cursor);
}

// Shows forms in an active window, as on a desktop, so that focus, Tab and
// window shortcuts behave for real. Buttons before and after the form mark
// where the form's keyboard order starts and ends.
class FormsTest : public ::testing::Test {
protected:
    template <class Form>
    Form* show(Form* form)
    {
        window_ = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window_.get());
        before_ = new QPushButton(QStringLiteral("Before the form"), window_.get());
        layout->addWidget(before_);
        layout->addWidget(form);
        after_ = new QPushButton(QStringLiteral("After the form"), window_.get());
        layout->addWidget(after_);
        layout->addStretch(1);
        window_->resize(640, 1000);
        window_->show();
        window_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        return form;
    }

    // Every widget Tab visits inside the form.
    std::vector<QWidget*> tabWalk()
    {
        std::vector<QWidget*> visited;
        before_->setFocus(Qt::TabFocusReason);
        QTest::keyClick(before_, Qt::Key_Tab);
        for (QWidget* focus = QApplication::focusWidget(); focus && focus != after_ && visited.size() < 100;
             focus = QApplication::focusWidget()) {
            visited.push_back(focus);
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        return visited;
    }

    std::unique_ptr<QWidget> window_;
    QPushButton* before_ = nullptr;
    QPushButton* after_ = nullptr;
};

TEST_F(FormsTest, RemoveButtonsAppearOnlyWithTwoOutcomesAndAddingFocusesTheNewTitle)
{
    auto* form = show(new BlockPreparationForm(sampleBlock(), FormPresentation::editable));
    QSignalSpy edits(form, &BlockPreparationForm::edited);
    EXPECT_FALSE(shown(named<QToolButton>(form, "Remove outcome 1")));

    QTest::mouseClick(titled(form, "Add outcome"), Qt::LeftButton);

    ASSERT_EQ(edits.size(), 1);
    const auto block = edits.last().at(0).value<Block>();
    ASSERT_EQ(block.outcomes.size(), 2u);
    EXPECT_EQ(block.outcomes[0], sampleBlock().outcomes[0]);
    EXPECT_EQ(block.outcomes[1].title, "");
    EXPECT_NE(block.outcomes[1].id, block.outcomes[0].id);
    EXPECT_NE(block.outcomes[1].id, Uuid());
    EXPECT_TRUE(shown(named<QToolButton>(form, "Remove outcome 1")));
    EXPECT_TRUE(shown(named<QToolButton>(form, "Remove outcome 2")));
    EXPECT_EQ(QApplication::focusWidget(), named<QLineEdit>(form, "Hoped-for outcome 2"));
}

TEST_F(FormsTest, RemovingTheFirstOutcomeRenumbersTheRestWithoutDisturbingItsEditor)
{
    Block block = sampleBlock();
    block.outcomes.push_back(Outcome{fixedId(2), "Tests pass"});
    auto* form = show(new BlockPreparationForm(block, FormPresentation::editable));
    QSignalSpy edits(form, &BlockPreparationForm::edited);
    QLineEdit* second = named<QLineEdit>(form, "Hoped-for outcome 2");
    second->setFocus();
    second->setCursorPosition(3);

    QTest::mouseClick(named<QToolButton>(form, "Remove outcome 1"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    ASSERT_EQ(edits.size(), 1);
    EXPECT_EQ(edits.last().at(0).value<Block>().outcomes, (std::vector{Outcome{fixedId(2), "Tests pass"}}));
    EXPECT_EQ(named<QLineEdit>(form, "Hoped-for outcome 1"), second);
    EXPECT_EQ(named<QLineEdit>(form, "Hoped-for outcome 2"), nullptr);
    EXPECT_EQ(second->placeholderText(), "Hoped-for outcome 1");
    EXPECT_EQ(second->text(), "Tests pass");
    EXPECT_EQ(QApplication::focusWidget(), second);
    EXPECT_EQ(second->cursorPosition(), 3);
    EXPECT_FALSE(shown(named<QToolButton>(form, "Remove outcome 1")));
}

TEST_F(FormsTest, EveryBlockFieldEditsItsOwnMemberAndReportsTheWholeBlock)
{
    Block block = sampleBlock();
    block.outcomes.push_back(Outcome{fixedId(2), ""});
    const struct {
        const char* field;
        void (*expect)(Block&);
    } cases[] = {
        {"Hoped-for outcome 2", [](Block& b) { b.outcomes[1].title = "x"; }},
        {"Why this block is valuable", [](Block& b) { b.whyValue = "x"; }},
        {"Completion test", [](Block& b) { b.doneTest = "x"; }},
        {"Risks or hazards", [](Block& b) { b.hazards = "x"; }},
        {"Measurable check", [](Block& b) { b.measurableCheck = "x"; }},
        {"Other context", [](Block& b) { b.contextNotes = "x"; }},
    };
    for (const auto& [field, expect] : cases) {
        SCOPED_TRACE(field);
        auto* form = show(new BlockPreparationForm(block, FormPresentation::editable));
        QSignalSpy edits(form, &BlockPreparationForm::edited);
        QWidget* editor = named<QWidget>(form, field);
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, "x");
        Block expected = block;
        expect(expected);
        ASSERT_EQ(edits.size(), 1);
        EXPECT_EQ(edits.last().at(0).value<Block>(), expected);
        EXPECT_EQ(form->block(), expected);
    }
}

TEST_F(FormsTest, SteppersShowWholeMinutesAndStoreTheSteppedMinutesAsSeconds)
{
    const struct {
        const char* stepper;
        void (*store)(Block&);
        const char* label;
        const char* shown;
        void (*stepped)(Block&);
    } cases[] = {
        {"Focus duration in minutes", [](Block& b) { b.focusDurationSeconds = 1530; }, "Focus", "25 min",
         [](Block& b) { b.focusDurationSeconds = 1560; }},
        {"Break duration in minutes", [](Block& b) { b.breakDurationSeconds = 359.9; }, "Break", "5 min",
         [](Block& b) { b.breakDurationSeconds = 360; }},
        {"Sessions", [](Block& b) { b.cycleCount = 8; }, "Sessions", "8", [](Block& b) { b.cycleCount = 9; }},
    };
    for (const auto& [stepper, store, label, text, stepped] : cases) {
        SCOPED_TRACE(stepper);
        Block block = sampleBlock();
        store(block);
        auto* form = show(new BlockPreparationForm(block, FormPresentation::editable));
        QSignalSpy edits(form, &BlockPreparationForm::edited);
        auto* spin = named<QSpinBox>(form, stepper);
        ASSERT_NE(spin, nullptr);
        EXPECT_EQ(spin->text(), text);
        // The row's label names the stepper, and a click on it reaches it.
        const auto labels = form->findChildren<QLabel*>();
        EXPECT_TRUE(std::ranges::any_of(labels, [&](const QLabel* l) { return l->buddy() == spin && l->text() == label; }));
        QTest::keyClick(spin, Qt::Key_Up);
        stepped(block);
        ASSERT_EQ(edits.size(), 1);
        EXPECT_EQ(edits.last().at(0).value<Block>(), block);
    }
}

TEST_F(FormsTest, AStoredDurationBeyondTheStepperRangeIsShownAtTheLimitButNotRewritten)
{
    Block block = sampleBlock();
    block.focusDurationSeconds = 9000;
    auto* form = show(new BlockPreparationForm(block, FormPresentation::editable));
    QSignalSpy edits(form, &BlockPreparationForm::edited);
    form->setBlock(block);
    EXPECT_EQ(named<QSpinBox>(form, "Focus duration in minutes")->text(), "120 min");
    EXPECT_EQ(edits.size(), 0);
    EXPECT_EQ(form->block().focusDurationSeconds, 9000);
}

TEST_F(FormsTest, WithABreakCallbackTheStepGoesToTheCallbackAndTheBlockStaysAsItWas)
{
    std::vector<Seconds> requested;
    auto* form = show(new BlockPreparationForm(sampleBlock(), FormPresentation::editable,
                                               [&](Seconds seconds) { requested.push_back(seconds); }));
    QSignalSpy edits(form, &BlockPreparationForm::edited);
    auto* spin = named<QSpinBox>(form, "Break duration in minutes");

    QTest::keyClick(spin, Qt::Key_Up);

    EXPECT_EQ(requested, std::vector<Seconds>{360});
    EXPECT_EQ(form->block().breakDurationSeconds, 300);
    EXPECT_EQ(edits.size(), 0);
    // A host that refuses the change shows the block again: the stepper follows.
    form->setBlock(sampleBlock());
    EXPECT_EQ(spin->text(), "5 min");
    EXPECT_EQ(requested.size(), 1u);
}

TEST_F(FormsTest, ShowingANewRecordNeitherReportsAnEditNorMovesTheCursorBeingTypedWith)
{
    auto* form = show(new BlockPreparationForm(sampleBlock(), FormPresentation::editable));
    QSignalSpy edits(form, &BlockPreparationForm::edited);
    QPlainTextEdit* typing = prose(form, "Completion test");
    typing->setFocus();
    QTest::keyClicks(typing, "abcdef");
    QTextCursor cursor = typing->textCursor();
    cursor.setPosition(2);
    typing->setTextCursor(cursor);
    QLineEdit* title = named<QLineEdit>(form, "Hoped-for outcome 1");
    title->setCursorPosition(4);
    const auto editsWhileTyping = edits.size();

    Block changed = form->block();
    changed.whyValue = "From elsewhere";
    form->setBlock(changed);

    EXPECT_EQ(edits.size(), editsWhileTyping);
    EXPECT_EQ(prose(form, "Why this block is valuable")->toPlainText(), "From elsewhere");
    EXPECT_EQ(typing->textCursor().position(), 2);
    EXPECT_EQ(title->cursorPosition(), 4);
    EXPECT_EQ(QApplication::focusWidget(), typing);
}

TEST_F(FormsTest, SessionPlanFieldsEditTheirOwnMembers)
{
    const std::vector outcomes{Outcome{fixedId(1), "Parser works"}, Outcome{fixedId(2), ""}};
    const auto typeAtEnd = [](QWidget* field) {
        QTest::keyClick(field, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(field, "!");
    };
    const auto click = [](QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); };
    const struct {
        const char* field;
        std::function<void(QWidget*)> act;
        void (*expect)(SessionPlan&);
    } cases[] = {
        {"Intended outcome", typeAtEnd, [](SessionPlan& p) { p.intendedOutcome += "!"; }},
        {"First action", typeAtEnd, [](SessionPlan& p) { p.firstAction += "!"; }},
        {"Hazards and mitigation", typeAtEnd, [](SessionPlan& p) { p.hazardsMitigation += "!"; }},
        {"Novel, Interesting, Urgent, or Challenging framing", typeAtEnd, [](SessionPlan& p) { p.nicuFraming += "!"; }},
        {"Energy 5 of 5", click, [](SessionPlan& p) { p.energy = 5; }},
        {"Morale 1 of 5", click, [](SessionPlan& p) { p.morale = 1; }},
        {"Block outcome", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Down); QTest::keyClick(w, Qt::Key_Down); },
         [](SessionPlan& p) { p.blockOutcomeID = fixedId(2); }},
    };
    for (const auto& [field, act, expect] : cases) {
        SCOPED_TRACE(field);
        auto* form =
            show(new SessionPlanForm(samplePlan(), outcomes, FormPresentation::editable, {true, std::nullopt}));
        QSignalSpy edits(form, &SessionPlanForm::edited);
        QWidget* control = named<QWidget>(form, field);
        ASSERT_NE(control, nullptr);
        act(control);
        SessionPlan expected = samplePlan();
        expect(expected);
        ASSERT_GE(edits.size(), 1);
        EXPECT_EQ(edits.last().at(0).value<SessionPlan>(), expected);
    }
}

TEST_F(FormsTest, BlockOutcomeNamesTheChosenOutcomeOrSaysWhyThereIsNone)
{
    const std::vector outcomes{Outcome{fixedId(1), "Parser works"}, Outcome{fixedId(2), ""}};
    const struct {
        std::optional<Uuid> chosen;
        const char* shown;
    } cases[] = {
        {std::nullopt, "No selection"},
        {fixedId(99), "No selection"}, // the outcome was removed from the block
        {fixedId(2), "Blank outcome"},
        {fixedId(1), "Parser works"},
    };
    for (const auto& [chosen, text] : cases) {
        SCOPED_TRACE(text);
        SessionPlan plan = samplePlan();
        plan.blockOutcomeID = chosen;
        auto* readOnly = show(new SessionPlanForm(plan, outcomes, FormPresentation::readOnly));
        EXPECT_EQ(row(readOnly, "Block outcome")->value(), text);
        auto* editable = show(new SessionPlanForm(plan, outcomes, FormPresentation::editable));
        QSignalSpy edits(editable, &SessionPlanForm::edited);
        auto* choice = named<QComboBox>(editable, "Block outcome");
        EXPECT_EQ(choice->currentText(), text);
        EXPECT_EQ(choice->count(), 3);
        EXPECT_EQ(editable->plan(), plan);
        EXPECT_EQ(edits.size(), 0);
    }
}

TEST_F(FormsTest, ReturnInTheSessionPlanOpensPreparationAndWalksToTheLastFieldThenLetsGo)
{
    auto* form = show(new SessionPlanForm(samplePlan(), {}, FormPresentation::editable));
    QWidget* intended = prose(form, "Intended outcome");
    QWidget* firstAction = named<QLineEdit>(form, "First action");
    QWidget* hazards = prose(form, "Hazards and mitigation");
    QWidget* framing = prose(form, "Novel, Interesting, Urgent, or Challenging framing");
    EXPECT_FALSE(hazards->isVisible());
    intended->setFocus();
    EXPECT_EQ(form->focusState(), (SessionPlanFocusState{false, SessionPlanFocusField::intendedOutcome}));

    const struct {
        QWidget* next;
        SessionPlanFocusState state;
    } steps[] = {
        {firstAction, {false, SessionPlanFocusField::firstAction}},
        {hazards, {true, SessionPlanFocusField::hazardsMitigation}},
        {framing, {true, SessionPlanFocusField::nicuFraming}},
        {nullptr, {true, std::nullopt}},
    };
    for (const auto& [next, state] : steps) {
        SCOPED_TRACE(next ? next->accessibleName().toStdString() : "no field");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), next);
        EXPECT_EQ(form->focusState(), state);
    }
    EXPECT_TRUE(hazards->isVisible());
    EXPECT_EQ(form->plan(), samplePlan()); // Return typed nothing
}

TEST_F(FormsTest, ReturnMovesThroughEachFormsFieldsInOrderAndClearsFocusAfterTheLast)
{
    const struct {
        const char* form;
        std::function<QWidget*()> make;
        std::function<std::optional<int>(QWidget*)> focused;
        std::vector<const char*> fields;
    } forms[] = {
        {"block preparation", [] { return new BlockPreparationForm(sampleBlock(), FormPresentation::editable); },
         [](QWidget* w) {
             const auto f = static_cast<BlockPreparationForm*>(w)->focusedField();
             return f ? std::optional(static_cast<int>(*f)) : std::nullopt;
         },
         {"Why this block is valuable", "Completion test", "Risks or hazards", "Measurable check", "Other context"}},
        {"session review",
         [] { return new SessionReviewForm(blankReview(), FormPresentation::editable); },
         [](QWidget* w) {
             const auto f = static_cast<SessionReviewForm*>(w)->focusedField();
             return f ? std::optional(static_cast<int>(*f)) : std::nullopt;
         },
         {"Noteworthy result", "Distractions", "Improvement"}},
        {"block reflection", [] { return new BlockReviewForm(BlockReview{}, FormPresentation::editable); },
         [](QWidget* w) {
             const auto f = static_cast<BlockReviewForm*>(w)->focusedField();
             return f ? std::optional(static_cast<int>(*f)) : std::nullopt;
         },
         {"Output produced", "Comparison with normal output", "Where work became bogged down", "What went well",
          "Transferable lessons"}},
    };
    for (const auto& [name, make, focused, fields] : forms) {
        SCOPED_TRACE(name);
        QWidget* form = show(make());
        EXPECT_EQ(focused(form), std::nullopt);
        prose(form, fields.front())->setFocus();
        for (std::size_t index = 0; index < fields.size(); ++index) {
            SCOPED_TRACE(fields[index]);
            EXPECT_EQ(focused(form), static_cast<int>(index));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            const bool last = index + 1 == fields.size();
            EXPECT_EQ(QApplication::focusWidget(), last ? nullptr : prose(form, fields[index + 1]));
            EXPECT_EQ(prose(form, fields[index])->toPlainText(), "");
        }
        EXPECT_EQ(focused(form), std::nullopt);
    }
}

// Counts the Ctrl+Return presses that reach a window through its children.
class CtrlReturnCounter : public QObject {
public:
    using QObject::QObject;
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            count += key->key() == Qt::Key_Return && key->modifiers() == Qt::ControlModifier;
        }
        return false;
    }
};

TEST_F(FormsTest, CtrlReturnInAFieldReachesTheScreenAndLeavesTheFieldAlone)
{
    for (const bool withShortcut : {true, false}) {
        SCOPED_TRACE(withShortcut ? "window shortcut" : "key press handled by an ancestor");
        auto* form = show(new SessionPlanForm(samplePlan(), {}, FormPresentation::editable));
        int shortcutPresses = 0;
        if (withShortcut) {
            auto* primary = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), window_.get());
            QObject::connect(primary, &QShortcut::activated, [&] { ++shortcutPresses; });
        }
        CtrlReturnCounter ancestor;
        window_->installEventFilter(&ancestor);

        for (const char* field : {"Intended outcome", "First action"}) {
            SCOPED_TRACE(field);
            QWidget* editor = named<QWidget>(form, field);
            editor->setFocus();
            QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
            EXPECT_EQ(QApplication::focusWidget(), editor);
        }
        EXPECT_EQ(withShortcut ? shortcutPresses : ancestor.count, 2);
        EXPECT_EQ(form->plan(), samplePlan());
        EXPECT_FALSE(form->focusState().isPreparationExpanded);
        window_->removeEventFilter(&ancestor);
    }
}

TEST_F(FormsTest, ShiftReturnStartsANewLineInProseInsteadOfMovingOn)
{
    auto* form = show(new BlockReviewForm(BlockReview{}, FormPresentation::editable));
    QPlainTextEdit* editor = prose(form, "Output produced");
    editor->setFocus();
    QTest::keyClicks(editor, "a");
    QTest::keyClick(editor, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(editor, "b");
    EXPECT_EQ(form->review().outputProduced, "a\nb");
    EXPECT_EQ(QApplication::focusWidget(), editor);
}

TEST_F(FormsTest, ReadOnlyFormsShowLabelValueRowsAndNoInputControls)
{
    Block block = sampleBlock();
    block.focusDurationSeconds = 1530;
    block.outcomes.push_back(Outcome{fixedId(2), ""});
    block.whyValue = "<b>not markup</b>";
    SessionPlan plan = samplePlan();
    plan.energy = 5;
    plan.firstAction = "";
    const struct {
        const char* form;
        QWidget* widget;
        std::vector<std::pair<const char*, const char*>> rows;
    } forms[] = {
        {"block preparation", new BlockPreparationForm(block, FormPresentation::readOnly),
         {{"Focus", "25 minutes"}, {"Break", "5 minutes"}, {"Sessions", "8"}, {"Hoped-for outcome 1", "Parser works"},
          {"Hoped-for outcome 2", "Blank"}, {"Why this block is valuable", "<b>not markup</b>"},
          {"Completion test", "Blank"}}},
        {"session plan", new SessionPlanForm(plan, {}, FormPresentation::readOnly, {true, std::nullopt}),
         {{"Intended outcome", "Draft"}, {"First action", "Blank"}, {"Energy", "5 of 5"}, {"Morale", "3 of 5"}}},
        {"session review",
         new SessionReviewForm(SessionReview{fixedId(3), CompletionResult::half, "", "", ""},
                               FormPresentation::readOnly),
         {{"Target completed", "Half"}, {"Noteworthy result", "Blank"}}},
        {"block reflection", new BlockReviewForm(BlockReview{"A parser", "", "", "", ""}, FormPresentation::readOnly),
         {{"Output produced", "A parser"}, {"Transferable lessons", "Blank"}}},
    };
    for (const auto& [name, widget, rows] : forms) {
        SCOPED_TRACE(name);
        show(widget);
        for (const auto& [label, value] : rows) {
            SCOPED_TRACE(label);
            ValueRow* shownRow = row(widget, label);
            ASSERT_NE(shownRow, nullptr);
            EXPECT_EQ(shownRow->value(), value);
            EXPECT_EQ(shownRow->valueLabel()->textFormat(), Qt::PlainText);
            EXPECT_TRUE(shownRow->valueLabel()->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        }
        EXPECT_TRUE(widget->findChildren<QLineEdit*>().isEmpty());
        EXPECT_TRUE(widget->findChildren<QPlainTextEdit*>().isEmpty());
        EXPECT_TRUE(widget->findChildren<QAbstractSpinBox*>().isEmpty());
        EXPECT_TRUE(widget->findChildren<QComboBox*>().isEmpty());
    }
}

TEST_F(FormsTest, RatingsAnnounceTheirValueInBothPresentations)
{
    for (const FormPresentation presentation : {FormPresentation::editable, FormPresentation::readOnly}) {
        SCOPED_TRACE(presentation == FormPresentation::editable ? "editable" : "read-only");
        auto* picker = show(new RatingPicker("Energy", presentation));
        picker->setRating(5);
        EXPECT_EQ(picker->accessibleName(), "Energy");
        EXPECT_EQ(picker->accessibleDescription(), "Energy 5 of 5");
    }
}

TEST_F(FormsTest, ARatingIsOneTabStopAndTheArrowKeysChangeIt)
{
    auto* picker = show(new RatingPicker("Morale", FormPresentation::editable));
    QSignalSpy edits(picker, &RatingPicker::ratingEdited);
    const auto tabStops = tabWalk();
    ASSERT_EQ(tabStops.size(), 1u);
    EXPECT_EQ(tabStops[0]->accessibleName(), "Morale 3 of 5");

    tabStops[0]->setFocus();
    QTest::keyClick(tabStops[0], Qt::Key_Right);
    EXPECT_EQ(picker->rating(), 4);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    EXPECT_EQ(picker->rating(), 5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(picker->rating(), 5);
    ASSERT_EQ(edits.size(), 2);
    EXPECT_EQ(edits.last().at(0).value<std::int64_t>(), 5);
    EXPECT_EQ(QApplication::focusWidget()->accessibleName(), "Morale 5 of 5");
}

TEST_F(FormsTest, TabReachesEveryControlInReadingOrderAndEachHasANameForScreenReaders)
{
    Block block = sampleBlock();
    const struct {
        const char* form;
        std::function<QWidget*()> make;
        std::function<void(QWidget*)> prepare;
        std::size_t stops;
    } forms[] = {
        // Three steppers, two outcome rows of title and remove button, "Add outcome", five prose fields.
        {"block preparation", [&] { return new BlockPreparationForm(block, FormPresentation::editable); },
         [](QWidget* form) { QTest::mouseClick(titled(form, "Add outcome"), Qt::LeftButton); }, 3 + 4 + 1 + 5},
        // Outcome, intended outcome, first action, disclosure, two prose fields, two ratings.
        {"session plan",
         [] { return new SessionPlanForm(samplePlan(), {}, FormPresentation::editable, {true, std::nullopt}); },
         [](QWidget*) {}, 8},
        {"session review", [] { return new SessionReviewForm(blankReview(), FormPresentation::editable); },
         [](QWidget*) {}, 4},
        {"block reflection", [] { return new BlockReviewForm(BlockReview{}, FormPresentation::editable); },
         [](QWidget*) {}, 5},
    };
    for (const auto& [name, make, prepare, stops] : forms) {
        SCOPED_TRACE(name);
        QWidget* form = show(make());
        prepare(form);
        const auto visited = tabWalk();
        EXPECT_EQ(visited.size(), stops);
        QPoint previous(-1, -1);
        for (QWidget* widget : visited) {
            const QString accessibleName = QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
            SCOPED_TRACE(accessibleName.toStdString());
            EXPECT_TRUE(form->isAncestorOf(widget));
            EXPECT_FALSE(accessibleName.trimmed().isEmpty());
            // Reading order: down the form, and left to right within a row.
            const QPoint at = widget->mapTo(form, QPoint(0, widget->height() / 2));
            EXPECT_TRUE(at.y() > previous.y() || (std::abs(at.y() - previous.y()) < 8 && at.x() > previous.x()));
            previous = at;
        }
    }
}

TEST_F(FormsTest, ProseGrowsFromThreeToEightLinesThenScrolls)
{
    const auto heightFor = [&](const QString& text, int* scrollRange = nullptr) {
        auto* field = show(new ProseField("Notes", FormPresentation::editable));
        field->setText(text);
        QApplication::processEvents();
        if (scrollRange) {
            *scrollRange = field->editor()->verticalScrollBar()->maximum();
        }
        return field->editor()->height();
    };
    const auto lines = [](int count) { return QStringList(count, QStringLiteral("line")).join('\n'); };

    const int three = heightFor(lines(3));
    EXPECT_EQ(heightFor(""), three);
    EXPECT_EQ(heightFor(lines(1)), three);
    const int five = heightFor(lines(5));
    EXPECT_GT(five, three);
    EXPECT_GT(heightFor(QStringLiteral("word ").repeated(80)), three);
    int scrollAtEight = -1;
    int scrollAtTwenty = -1;
    const int eight = heightFor(lines(8), &scrollAtEight);
    EXPECT_GT(eight, five);
    EXPECT_EQ(scrollAtEight, 0);
    EXPECT_EQ(heightFor(lines(20), &scrollAtTwenty), eight);
    EXPECT_GT(scrollAtTwenty, 0);
}

TEST_F(FormsTest, AFullFieldTakesNoMoreWhetherTypedOrPastedAndSaysSo)
{
    const std::pair<const char*, std::function<void(QWidget*)>> ways[] = {
        {"typed", [](QWidget* field) { QTest::keyClicks(field, "xy"); }},
        {"pasted",
         [](QWidget* field) {
             QGuiApplication::clipboard()->setText("xy");
             QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
         }},
    };
    for (const auto& [name, member] : boundedFields) {
        for (const auto& [how, insert] : ways) {
            SCOPED_TRACE(std::string(name) + ", " + how);
            auto* form = show(new SessionPlanForm(planWith(std::string(9'999, 'a')), {}, FormPresentation::editable,
                                                  {true, std::nullopt}));
            QSignalSpy edits(form, &SessionPlanForm::edited);
            QWidget* field = named<QWidget>(form, name);
            LengthLimitNote* note = noteOf(form, name);
            ASSERT_NE(note, nullptr);
            EXPECT_TRUE(note->isHidden());
            placeCursor(field, 100);

            insert(field);

            // "x" fills the field; "y" is refused, and the text after the
            // cursor stays whole.
            ASSERT_GE(edits.size(), 1);
            for (const auto& edit : edits) {
                EXPECT_LE((edit.at(0).value<SessionPlan>().*member).size(), TextLimits::fieldCharacters);
            }
            EXPECT_EQ(edits.last().at(0).value<SessionPlan>().*member,
                      std::string(100, 'a') + "x" + std::string(9'899, 'a'));
            EXPECT_EQ(cursorOf(field), 101);
            EXPECT_TRUE(note->isVisible());
            EXPECT_TRUE(note->text().contains(QLocale().toString(10'000)));
            EXPECT_EQ(field->accessibleDescription(), note->text());

            // Making room hides the note again.
            QTest::keyClick(field, Qt::Key_Backspace);
            EXPECT_TRUE(note->isHidden());
            EXPECT_TRUE(field->accessibleDescription().isEmpty());
        }
    }
}

TEST_F(FormsTest, AStoredTextBeyondTheLimitIsEditedWholeButCannotGrow)
{
    const std::string stored(12'000, 'b');
    for (const auto& [name, member] : boundedFields) {
        SCOPED_TRACE(name);
        auto* form =
            show(new SessionPlanForm(planWith(stored), {}, FormPresentation::editable, {true, std::nullopt}));
        QSignalSpy edits(form, &SessionPlanForm::edited);
        QWidget* field = named<QWidget>(form, name);
        EXPECT_EQ(textOf(field).size(), 12'000);
        EXPECT_TRUE(noteOf(form, name)->isVisible());
        EXPECT_TRUE(noteOf(form, name)->text().contains(QLocale().toString(10'000)));

        placeCursor(field, 6'000);
        QTest::keyClicks(field, "x");
        EXPECT_EQ(edits.size(), 0);
        EXPECT_EQ(textOf(field).size(), 12'000);

        // Deleting one character keeps the rest, and makes room for one.
        QTest::keyClick(field, Qt::Key_Backspace);
        ASSERT_EQ(edits.size(), 1);
        EXPECT_EQ(edits.last().at(0).value<SessionPlan>().*member, std::string(11'999, 'b'));
        QTest::keyClicks(field, "xy");
        EXPECT_EQ(edits.last().at(0).value<SessionPlan>().*member,
                  std::string(5'999, 'b') + "x" + std::string(6'000, 'b'));
    }
}

TEST_F(FormsTest, WhatIsOnlyShownIsCutToTheLimit)
{
    const std::string stored = "Start " + std::string(50'000, 'c');
    const struct {
        const char* where;
        std::function<QWidget*()> make;
        std::function<QStringList(QWidget*)> shown;
    } places[] = {
        {"read-only prose",
         [&] { return new BlockReviewForm(BlockReview{stored, "", "", "", ""}, FormPresentation::readOnly); },
         [](QWidget* form) {
             const QLabel* value = row(form, "Output produced")->valueLabel();
             return QStringList{value->text(), value->accessibleDescription()};
         }},
        {"read-only outcome title",
         [&] {
             Block block = sampleBlock();
             block.outcomes[0].title = stored;
             return new BlockPreparationForm(block, FormPresentation::readOnly);
         },
         [](QWidget* form) { return QStringList{row(form, "Hoped-for outcome 1")->value()}; }},
        {"read-only first action",
         [&] { return new SessionPlanForm(planWith(stored), {}, FormPresentation::readOnly, {true, std::nullopt}); },
         [](QWidget* form) { return QStringList{row(form, "First action")->value()}; }},
        {"block outcome choice",
         [&] {
             return new SessionPlanForm(samplePlan(), {Outcome{fixedId(1), stored}}, FormPresentation::editable,
                                        {true, std::nullopt});
         },
         [](QWidget* form) {
             const auto* choice = named<QComboBox>(form, "Block outcome");
             return QStringList{choice->itemText(1)};
         }},
    };
    for (const auto& [where, make, shownTexts] : places) {
        SCOPED_TRACE(where);
        QWidget* form = show(make());
        for (const QString& text : shownTexts(form)) {
            EXPECT_EQ(text.size(), TextLimits::fieldCharacters);
            EXPECT_TRUE(text.startsWith("Start ccc"));
            EXPECT_TRUE(text.endsWith(QChar(0x2026)));
        }
    }
}

TEST(ShownText, CountsCharactersRatherThanUtf16Units)
{
    const QString face = QString::fromUtf8("\U0001F600");
    const struct {
        const char* name;
        QString text;
        std::size_t limit;
        QString expected;
    } cases[] = {
        {"short text stays", "abc", 3, "abc"},
        {"long text ends in an ellipsis", "abcdef", 4, QString("abc") + QChar(0x2026)},
        {"pairs count once", face.repeated(3), 3, face.repeated(3)},
        {"a cut never splits a pair", face.repeated(5), 3, face.repeated(2) + QChar(0x2026)},
        {"pairs after plain text", "ab" + face.repeated(400), 4, "ab" + face + QChar(0x2026)},
    };
    for (const auto& [name, text, limit, expected] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(shownText(text, limit), expected);
    }
}

} // namespace
} // namespace quillmere
