// SPDX-License-Identifier: GPL-3.0-or-later
#include "StateFixtures.h"
#include "quillmere/TextLimits.h"
#include "quillmere/WidgetSnapshot.h"

#include <gtest/gtest.h>

#include <limits>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using fixtures::fixedId;
using nlohmann::json;

const Instant T = utcInstant(2026, 3, 2, 10, 0, 0);

SessionPlan plan(int id, std::string outcome, std::string action, std::int64_t energy,
                 std::optional<Uuid> outcomeId = std::nullopt)
{
    SessionPlan plan = SessionPlan::blank(fixedId(id));
    plan.blockOutcomeID = outcomeId;
    plan.intendedOutcome = std::move(outcome);
    plan.firstAction = std::move(action);
    plan.energy = energy;
    plan.morale = energy + 1;
    return plan;
}

WorkSession session(std::int64_t number, SessionPlan sessionPlan, Instant startedAt)
{
    WorkSession session;
    session.id = fixedId(100 + static_cast<int>(number));
    session.number = number;
    session.plan = std::move(sessionPlan);
    session.startedAt = startedAt;
    session.plannedDurationSeconds = 1500;
    return session;
}

// A block of eight cycles in its third session, whose first outcome has no
// title, with a different plan saved for the next session.
QuillmereState inSessionThree(WorkflowState phase)
{
    QuillmereState state = QuillmereState::initial(T);
    state.workflowState = phase;
    state.currentBlock = Block::defaultBlock(T - 2h);
    state.currentBlock->outcomes = {Outcome{fixedId(1), ""}, Outcome{fixedId(2), "Ship the parser"}};
    for (std::int64_t n = 1; n <= 3; ++n) {
        state.currentBlock->sessions.push_back(
            session(n, plan(10 + static_cast<int>(n), "Session " + std::to_string(n), "Act", n), T - (4 - n) * 30min));
    }
    state.plannedNextSession = plan(20, "Next", "Begin next", 5);
    state.breakStartedAt = T - 60s;
    return state;
}

TEST(WidgetSnapshot, Make_TakesPhaseRouteAndPlanFromTheWorkflowPhase)
{
    struct Case {
        WorkflowState state;
        WidgetPhase phase;
        WidgetRoute route;
        const char* outcome;
        const char* action;
        std::optional<std::int64_t> energy;
    };
    const Case cases[] = {
        {WorkflowState::idle, WidgetPhase::idle, WidgetRoute::idle, "Ship the parser", "", std::nullopt},
        {WorkflowState::blockPlanning, WidgetPhase::planning, WidgetRoute::blockPlanning, "Ship the parser", "",
         std::nullopt},
        {WorkflowState::sessionPlanning, WidgetPhase::planning, WidgetRoute::sessionPlanning, "Next", "Begin next", 5},
        {WorkflowState::focusing, WidgetPhase::focusing, WidgetRoute::focus, "Session 3", "Act", 3},
        {WorkflowState::sessionReview, WidgetPhase::reviewing, WidgetRoute::sessionReview, "Session 3", "Act", 3},
        {WorkflowState::breaking, WidgetPhase::breaking, WidgetRoute::breakTime, "Next", "Begin next", 5},
        {WorkflowState::blockReview, WidgetPhase::reviewing, WidgetRoute::blockReview, "Ship the parser", "",
         std::nullopt},
        {WorkflowState::complete, WidgetPhase::complete, WidgetRoute::idle, "Ship the parser", "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(rawText(c.state));
        const WidgetSnapshot snapshot = WidgetSnapshot::make(inSessionThree(c.state), T);
        EXPECT_EQ(snapshot.schemaVersion, 1);
        EXPECT_EQ(snapshot.phase, c.phase);
        EXPECT_EQ(snapshot.route, c.route);
        EXPECT_EQ(snapshot.intendedOutcome, c.outcome);
        EXPECT_EQ(snapshot.firstAction, c.action);
        EXPECT_EQ(snapshot.energy, c.energy);
        EXPECT_EQ(snapshot.morale, c.energy ? std::optional(*c.energy + 1) : std::nullopt);
        EXPECT_EQ(snapshot.sessionsStarted, 3);
        EXPECT_EQ(snapshot.sessionsPlanned, 8);
        // Only a running session has a number, though review also has a session.
        EXPECT_EQ(snapshot.currentSessionNumber,
                  c.state == WorkflowState::focusing ? std::optional<std::int64_t>(3) : std::nullopt);
        EXPECT_EQ(snapshot.countdown.has_value(),
                  c.state == WorkflowState::focusing || c.state == WorkflowState::breaking);
        EXPECT_EQ(snapshot.updatedAt, T);
    }
}

TEST(WidgetSnapshot, Make_WithoutBlockIsTheEmptySnapshot)
{
    for (WorkflowState phase : {WorkflowState::idle, WorkflowState::focusing, WorkflowState::sessionReview}) {
        SCOPED_TRACE(rawText(phase));
        QuillmereState state = QuillmereState::initial(T);
        state.workflowState = phase;
        WidgetSnapshot expected = WidgetSnapshot::empty(T);
        expected.phase = widgetPhase(phase);
        expected.route = routeFor(phase);
        EXPECT_EQ(WidgetSnapshot::make(state, T), expected);
    }
}

TEST(WidgetSnapshot, Make_FallsBackFromAnEmptyHeadlineToTheBlockOutcomes)
{
    struct Case {
        const char* name;
        std::vector<Outcome> outcomes;
        std::string headline;
        std::optional<Uuid> linked;
        bool withBlock;
        const char* expected;
    };
    const std::vector<Outcome> titled{{fixedId(1), ""}, {fixedId(2), "First titled"}, {fixedId(3), "Linked"}};
    const Case cases[] = {
        {"own headline wins", titled, "Own", fixedId(3), true, "Own"},
        {"linked outcome's title", titled, "", fixedId(3), true, "Linked"},
        {"linked outcome without title", titled, "", fixedId(1), true, "First titled"},
        {"link to no outcome", titled, "", fixedId(9), true, "First titled"},
        {"no link", titled, "", std::nullopt, true, "First titled"},
        {"no titles at all", {{fixedId(1), ""}}, "", fixedId(1), true, ""},
        {"no block", titled, "", fixedId(3), false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuillmereState state = QuillmereState::initial(T);
        state.workflowState = WorkflowState::sessionPlanning;
        if (c.withBlock) {
            state.currentBlock = Block::defaultBlock(T);
            state.currentBlock->outcomes = c.outcomes;
        }
        state.plannedNextSession = plan(20, c.headline, "", 3, c.linked);
        EXPECT_EQ(WidgetSnapshot::make(state, T).intendedOutcome, c.expected);
    }
}

TEST(WidgetSnapshot, Make_FocusCountdownStartsAfterPausesAndEndsWithTheTimer)
{
    QuillmereState state = inSessionThree(WorkflowState::focusing);
    WorkSession& running = *state.currentSession();
    running.startedAt = T - 600s;
    running.accumulatedPausedSeconds = 90.5;
    const Instant at = T + 250ms;

    const WidgetSnapshot snapshot = WidgetSnapshot::make(state, at);
    // 600 s run, 90 s paused (floored): 510 s elapsed, 990 s left.
    ASSERT_TRUE(snapshot.countdown);
    EXPECT_EQ(*snapshot.countdown,
              (WidgetCountdown{.endsAt = at + 990s, .startedAt = T - 600s + 90500ms, .isPaused = false,
                               .frozenRemainingSeconds = 990}));
    EXPECT_DOUBLE_EQ(snapshot.blockProgress(), 0.375);

    running.pausedAt = T - 100s;
    const WidgetSnapshot paused = WidgetSnapshot::make(state, at);
    ASSERT_TRUE(paused.countdown);
    EXPECT_TRUE(paused.countdown->isPaused);
    EXPECT_EQ(paused.countdown->frozenRemainingSeconds, 1090);
    // Counted from the pause: a snapshot made later has the same end, so a
    // pause never makes the widget reload.
    EXPECT_EQ(paused.countdown->endsAt, T - 100s + 1090s);
    EXPECT_EQ(WidgetSnapshot::make(state, at + 1h).countdown, paused.countdown);
    // A paused countdown stands still whatever the display time.
    EXPECT_EQ(paused.sessionProgress(at), paused.sessionProgress(at + 1h));
}

TEST(WidgetSnapshot, Make_BreakCountdownRunsFromTheBreakStart)
{
    QuillmereState state = inSessionThree(WorkflowState::breaking);
    state.breakStartedAt = T - 100s;
    state.breakExtensionSeconds = 300;
    const WidgetSnapshot snapshot = WidgetSnapshot::make(state, T);
    ASSERT_TRUE(snapshot.countdown);
    EXPECT_EQ(*snapshot.countdown, (WidgetCountdown{T + 500s, T - 100s, false, 500}));

    state.breakStartedAt.reset();
    EXPECT_FALSE(WidgetSnapshot::make(state, T).countdown);
}

TEST(WidgetSnapshot, Make_SaturatesDamagedTimerValuesInsteadOfOverflowing)
{
    QuillmereState state = inSessionThree(WorkflowState::focusing);
    state.currentSession()->number = std::numeric_limits<std::int64_t>::min();
    state.currentBlock->cycleCount = std::numeric_limits<std::int64_t>::min();
    state.currentSession()->plannedDurationSeconds = 9.2e18;
    const WidgetSnapshot farEnd = WidgetSnapshot::make(state, T);
    ASSERT_TRUE(farEnd.countdown);
    EXPECT_EQ(farEnd.countdown->endsAt, Instant::max());
    EXPECT_EQ(farEnd.blockProgress(), 0);

    state.currentSession()->plannedDurationSeconds = 1500;
    state.currentSession()->accumulatedPausedSeconds = -9.2e18;
    const WidgetSnapshot farStart = WidgetSnapshot::make(state, T);
    ASSERT_TRUE(farStart.countdown);
    EXPECT_EQ(farStart.countdown->startedAt, Instant::min());
    EXPECT_EQ(farStart.countdown->endsAt, Instant::min());

    state.currentSession()->plannedDurationSeconds = 1e300;
    EXPECT_FALSE(WidgetSnapshot::make(state, T).countdown);
}

TEST(WidgetSnapshot, Make_ListsTheFirstThreeOpenQuestionsAndCountsThemAll)
{
    QuillmereState state = QuillmereState::initial(T);
    for (int n = 1; n <= 6; ++n) {
        AgentQuestion question{fixedId(n), std::string("Q").append(std::to_string(n)), T, std::nullopt, std::nullopt, std::nullopt};
        if (n == 2) {
            question.answer = "pending";
            question.answeredAt = T;
        }
        state.agentQuestions.push_back(question);
    }
    const WidgetSnapshot snapshot = WidgetSnapshot::make(state, T);
    EXPECT_EQ(snapshot.openQuestionCount, 5);
    EXPECT_EQ(snapshot.openQuestions, (std::vector<std::string>{"Q1", "Q3", "Q4"}));
    EXPECT_EQ(snapshot.hiddenOpenQuestionCount(), 2);
}

// A megabyte of text once took the widget 20 s and 830 MiB to draw.
TEST(WidgetSnapshot, Make_CutsEveryTextToWhatTheWidgetCanShow)
{
    const std::string huge(1'000'000, 'x');
    QuillmereState state = inSessionThree(WorkflowState::focusing);
    state.currentBlock->sessions.back().plan.intendedOutcome = huge;
    state.currentBlock->sessions.back().plan.firstAction = huge;
    state.agentQuestions.push_back(AgentQuestion{fixedId(9), huge, T, std::nullopt, std::nullopt, std::nullopt});
    const WidgetSnapshot snapshot = WidgetSnapshot::make(state, T);
    for (const std::string* text : {&snapshot.intendedOutcome, &snapshot.firstAction, &snapshot.openQuestions.at(0)}) {
        EXPECT_EQ(*text, std::string(TextLimits::widgetCharacters - 1, 'x') + "\u2026");
    }
    // The state keeps the whole text.
    EXPECT_EQ(state.currentBlock->sessions.back().plan.intendedOutcome.size(), huge.size());
}

TEST(WidgetSnapshot, DerivedValuesStayInRangeForOddInputs)
{
    const auto progress = [](std::int64_t started, std::int64_t planned) {
        WidgetSnapshot snapshot = WidgetSnapshot::empty(T);
        snapshot.sessionsStarted = started;
        snapshot.sessionsPlanned = planned;
        return snapshot.blockProgress();
    };
    EXPECT_EQ(progress(3, 0), 0);
    EXPECT_EQ(progress(3, -4), 0);
    EXPECT_EQ(progress(9, 8), 1);
    EXPECT_EQ(progress(-2, 8), 0);
    EXPECT_DOUBLE_EQ(progress(3, 8), 0.375);

    const auto hidden = [](std::int64_t count, std::size_t listed) {
        WidgetSnapshot snapshot = WidgetSnapshot::empty(T);
        snapshot.openQuestionCount = count;
        snapshot.openQuestions.assign(listed, "Q");
        return snapshot.hiddenOpenQuestionCount();
    };
    EXPECT_EQ(hidden(5, 3), 2);
    EXPECT_EQ(hidden(2, 3), 0);
    EXPECT_EQ(hidden(std::numeric_limits<std::int64_t>::min(), 1), 0);
}

TEST(WidgetSnapshot, SessionProgress)
{
    struct Case {
        const char* name;
        Instant startedAt;
        Instant endsAt;
        bool isPaused;
        std::int64_t frozen;
        Instant at;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {"halfway", T, T + 1000s, false, 500, T + 500s, 0.5},
        {"before the start", T, T + 1000s, false, 1000, T - 10s, 0.0},
        {"past the end", T, T + 1000s, false, 0, T + 2000s, 1.0},
        {"paused uses the frozen seconds", T, T + 1000s, true, 250, T + 900s, 0.75},
        {"frozen beyond the length", T, T + 1000s, true, 5000, T, 0.0},
        {"zero length", T, T, false, 0, T, std::nullopt},
        {"ends before it starts", T, T - 1s, false, 0, T, std::nullopt},
        {"clock's whole range", Instant::min(), Instant::max(), false, 0, Instant::max(), 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WidgetSnapshot snapshot = WidgetSnapshot::empty(T);
        snapshot.countdown = WidgetCountdown{c.endsAt, c.startedAt, c.isPaused, c.frozen};
        EXPECT_EQ(snapshot.sessionProgress(c.at), c.expected);
    }
    EXPECT_EQ(WidgetSnapshot::empty(T).sessionProgress(T), std::nullopt);
}

TEST(WidgetRoute, RouteFromUrl)
{
    const std::pair<const char*, std::optional<WidgetRoute>> cases[] = {
        {"quillmere://open/focus", WidgetRoute::focus},
        {"QUILLMERE://OPEN/FOCUS", WidgetRoute::focus},
        {"quillmere://open/Session-Review", WidgetRoute::sessionReview},
        {"quillmere://open/break/", WidgetRoute::breakTime},
        {"quillmere://open//break//", WidgetRoute::breakTime},
        {"quillmere://open/", WidgetRoute::idle},
        {"quillmere://open", WidgetRoute::idle},
        {"quillmere://open///", WidgetRoute::idle},
        {"quillmere://open/block-review?from=widget#top", WidgetRoute::blockReview},
        {"quillmere://open:8080/focus", WidgetRoute::focus},
        {"quillmere://open/%66ocus", WidgetRoute::focus},
        {"quillmere://open/%6", std::nullopt},
        {"quillmere://open/foc%zzus", std::nullopt},
        {"quillmere://open/breakTime", std::nullopt},
        {"quillmere://open/focus/extra", std::nullopt},
        {"quillmere://show/focus", std::nullopt},
        {"quillmere:///focus", std::nullopt},
        {"quillmere:focus", std::nullopt},
        {"https://open/focus", std::nullopt},
        {"quillmerex://open/focus", std::nullopt},
        {"//open/focus", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(routeFromUrl(text), expected);
    }
}

TEST(WidgetRoute, UrlOfEveryRouteRoutesBackToIt)
{
    EXPECT_EQ(url(WidgetRoute::breakTime), "quillmere://open/break");
    for (WidgetRoute route : allCases<WidgetRoute>) {
        SCOPED_TRACE(rawText(route));
        EXPECT_EQ(routeFromUrl(url(route)), route);
    }
}

// Encodes `snapshot` to its file form, edits the tree, and decodes it again.
std::expected<WidgetSnapshot, CodingError> decodeEdited(const WidgetSnapshot& snapshot,
                                                        const std::function<void(json&)>& edit)
{
    json tree = json::parse(*encodeDocument(toJson(snapshot), JsonLayout::compact));
    edit(tree);
    return decodeWidgetSnapshot(tree.dump());
}

TEST(WidgetSnapshotCoding, RoundTripsWithInstantsTruncated)
{
    const Instant now = T + 750ms;
    WidgetSnapshot expected = WidgetSnapshot::placeholder(now);
    expected.updatedAt = T;
    expected.countdown->endsAt = T + 1020s;
    expected.countdown->startedAt = T - 480s;
    const auto decoded = decodeEdited(WidgetSnapshot::placeholder(now), [](json&) {});
    ASSERT_TRUE(decoded) << decoded.error().description();
    EXPECT_EQ(*decoded, expected);
}

TEST(WidgetSnapshotCoding, ToleratesMissingRouteAndQuestionsButNotOtherKeys)
{
    WidgetSnapshot planning = WidgetSnapshot::placeholder(T);
    planning.phase = WidgetPhase::planning;
    planning.route = WidgetRoute::blockPlanning;
    const auto derived = decodeEdited(planning, [](json& tree) {
        tree.erase("route");
        tree["open_questions"] = nullptr;
    });
    ASSERT_TRUE(derived) << derived.error().description();
    EXPECT_EQ(derived->route, WidgetRoute::sessionPlanning);
    EXPECT_TRUE(derived->openQuestions.empty());

    const auto optionalsGone = decodeEdited(planning, [](json& tree) {
        for (const char* key : {"current_session_number", "countdown", "energy", "morale", "open_questions"}) {
            tree.erase(key);
        }
    });
    ASSERT_TRUE(optionalsGone) << optionalsGone.error().description();
    EXPECT_FALSE(optionalsGone->countdown || optionalsGone->energy || optionalsGone->morale ||
                 optionalsGone->currentSessionNumber);

    const std::pair<const char*, std::function<void(json&)>> refusals[] = {
        {"schema_version", [](json& t) { t.erase("schema_version"); }},
        {"phase", [](json& t) { t.erase("phase"); }},
        {"phase", [](json& t) { t["phase"] = "paused"; }},
        {"route", [](json& t) { t["route"] = "breakTime"; }},
        {"sessions_planned", [](json& t) { t["sessions_planned"] = 2.5; }},
        {"updated_at", [](json& t) { t.erase("updated_at"); }},
        {"countdown.is_paused", [](json& t) { t["countdown"].erase("is_paused"); }},
        {"open_questions", [](json& t) { t["open_questions"] = "Which?"; }},
        {"open_questions[1]", [](json& t) { t["open_questions"] = json::array({"Which?", 7}); }},
    };
    for (const auto& [key, edit] : refusals) {
        SCOPED_TRACE(key);
        const auto decoded = decodeEdited(planning, edit);
        ASSERT_FALSE(decoded);
        EXPECT_EQ(decoded.error().path, key);
    }
}

} // namespace
} // namespace quillmere
