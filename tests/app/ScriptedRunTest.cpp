// SPDX-License-Identifier: GPL-3.0-or-later
// One whole two-cycle block run through the model as the screens and the
// tick would run it, reading back the three files after every step.

#include "ModelFakes.h"
#include "TempFolder.h"
#include "WidgetPublisher.h"

#include "quillmere/StateCoding.h"
#include "quillmere/WidgetSnapshotStore.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using nlohmann::json;
using Call = fakes::RecordingNotifications::Call;

class ScriptedRun : public ::testing::Test {
protected:
    ScriptedRun()
    {
        auto notifications = std::make_unique<fakes::RecordingNotifications>();
        this->notifications = notifications.get();
        auto publisher = std::make_unique<WidgetPublisher>(
            WidgetSnapshotStore(folder.path() / "group"), [this](std::string_view kind) { reloads.emplace_back(kind); },
            [](std::string_view) {});
        model = std::make_unique<AppModel>(
            StateStore(folder.path() / "state", clock.function()),
            AppModel::Collaborators{std::move(notifications), std::move(publisher), clock.function(), nullptr,
                                    std::chrono::milliseconds::zero()},
            clock.now, false);
    }

    json stateFile() const { return readJson(folder.path() / "state" / "state.json"); }
    json agentFile() const { return readJson(folder.path() / "state" / "agent-state.json"); }
    json widgetFile() const { return readJson(folder.path() / "group" / "widget-snapshot.json"); }

    static json readJson(const std::filesystem::path& path)
    {
        const auto bytes = readWholeFile(path);
        return bytes ? json::parse(*bytes) : json();
    }

    // The notification calls made since the last look.
    std::vector<Call> newCalls()
    {
        std::vector<Call> calls(notifications->calls.begin() + static_cast<std::ptrdiff_t>(seenCalls),
                                notifications->calls.end());
        seenCalls = notifications->calls.size();
        return calls;
    }

    void advance(std::chrono::seconds by)
    {
        clock.now += by;
        model->tick(clock.now);
    }

    fixtures::TempFolder folder;
    fakes::FakeClock clock;
    fakes::RecordingNotifications* notifications = nullptr;
    std::vector<std::string> reloads;
    std::unique_ptr<AppModel> model;
    std::size_t seenCalls = 0;
};

std::string at(Instant instant)
{
    return formatInstant(instant);
}

TEST_F(ScriptedRun, TwoCycleBlockFromScheduleToHistory)
{
    const Instant t0 = clock.now;
    ASSERT_EQ(reloads.size(), 1u) << "start-up publishes a first snapshot";
    EXPECT_EQ(widgetFile()["phase"], "idle");

    // An agent question, asked before the block.
    model->addQuestion("Which branch should the release use?");
    EXPECT_EQ(stateFile()["agent_questions"].size(), 1u);
    EXPECT_EQ(agentFile()["open_questions"][0]["question"], "Which branch should the release use?");
    EXPECT_EQ(widgetFile()["open_question_count"], 1);

    // Prepare the block and schedule it an hour ahead.
    model->beginBlock();
    EXPECT_EQ(stateFile()["workflow_state"], "blockPlanning");
    EXPECT_EQ(widgetFile()["route"], "block-planning");
    Block block = Block::defaultBlock(clock.now);
    block.cycleCount = 2;
    block.outcomes[0].title = "Parser works";
    block.plannedStart = t0 + 1h;
    model->saveBlockDraft(block);
    EXPECT_EQ(stateFile()["current_block"]["outcomes"][0]["title"], "Parser works");
    model->scheduleBlock(block);
    EXPECT_EQ(stateFile()["workflow_state"], "idle");
    EXPECT_EQ(stateFile()["current_block"]["planned_start"], at(t0 + 1h));
    EXPECT_EQ(newCalls(), (std::vector<Call>{{Call::Kind::schedule, NotificationEvent::scheduledStart, t0 + 1h}}));
    EXPECT_TRUE(model->dueMessage().startsWith("Block scheduled for "));

    // The tick starts it when it is due, not a second earlier.
    advance(1h - 1s);
    EXPECT_EQ(stateFile()["workflow_state"], "idle");
    EXPECT_EQ(agentFile()["updated_at"], at(clock.now));
    advance(1s);
    EXPECT_EQ(model->dueMessage(), "Your scheduled block is ready. Plan the first session when you are ready.");
    EXPECT_EQ(newCalls(), (std::vector<Call>{{Call::Kind::cancel, NotificationEvent::scheduledStart, std::nullopt}}));
    EXPECT_EQ(stateFile()["workflow_state"], "sessionPlanning");
    EXPECT_EQ(stateFile()["current_block"]["scheduled_start_triggered_at"], at(clock.now));
    EXPECT_EQ(agentFile()["workflow_state"], "sessionPlanning");
    EXPECT_EQ(widgetFile()["route"], "session-planning");

    // Plan and start the first session.
    SessionPlan first = SessionPlan::blank(Uuid::generate());
    first.intendedOutcome = "Draft the lexer";
    first.firstAction = "Open lexer.cpp";
    model->saveSessionPlanDraft(first);
    EXPECT_EQ(agentFile()["tasks"], json::parse(R"([{"first_action": "Open lexer.cpp", "id": ")" +
                                                first.id.toString() +
                                                R"(", "status": "planned", "title": "Draft the lexer"}])"));
    const Instant focusStart = clock.now;
    model->startFocus(std::nullopt);
    EXPECT_TRUE(model->dueMessage().isEmpty());
    EXPECT_EQ(newCalls(), (std::vector<Call>{{Call::Kind::schedule, NotificationEvent::focusEnd, focusStart + 1500s}}));
    EXPECT_EQ(agentFile()["interruptible"], false);
    EXPECT_EQ(agentFile()["tasks"][0]["status"], "current");
    EXPECT_EQ(agentFile()["remaining_seconds"], 1500);
    EXPECT_EQ(widgetFile()["countdown"]["ends_at"], at(focusStart + 1500s));
    EXPECT_FALSE(stateFile().contains("planned_next_session"));

    // A running countdown rewrites the widget file every second but only
    // asks the host to reload when its rendering changes.
    const auto reloadsBefore = reloads.size();
    advance(1s);
    EXPECT_EQ(widgetFile()["countdown"]["frozen_remaining_seconds"], 1499);
    EXPECT_EQ(agentFile()["remaining_seconds"], 1499);
    EXPECT_EQ(reloads.size(), reloadsBefore);

    // Pause for two minutes.
    advance(599s);
    model->pauseOrResumeFocus();
    EXPECT_EQ(newCalls(), (std::vector<Call>{{Call::Kind::cancel, NotificationEvent::focusEnd, std::nullopt}}));
    EXPECT_EQ(agentFile()["interruptible"], true);
    EXPECT_EQ(widgetFile()["countdown"]["is_paused"], true);
    EXPECT_EQ(stateFile()["current_block"]["sessions"][0]["paused_at"], at(clock.now));
    advance(120s);
    EXPECT_EQ(agentFile()["remaining_seconds"], 900) << "the timer stands still while paused";
    model->pauseOrResumeFocus();
    EXPECT_EQ(newCalls(), (std::vector<Call>{{Call::Kind::schedule, NotificationEvent::focusEnd, clock.now + 900s}}));
    EXPECT_EQ(stateFile()["current_block"]["sessions"][0]["accumulated_paused_seconds"], 120);

    // The tick ends the focus at its planned end.
    advance(899s);
    EXPECT_EQ(stateFile()["workflow_state"], "focusing");
    advance(1s);
    EXPECT_EQ(model->dueMessage(), "Focus ended. Review the session before you continue.");
    EXPECT_EQ(newCalls(), (std::vector<Call>{{Call::Kind::cancel, NotificationEvent::focusEnd, std::nullopt}}));
    EXPECT_EQ(stateFile()["workflow_state"], "sessionReview");
    EXPECT_EQ(stateFile()["current_block"]["sessions"][0]["ended_at"], at(focusStart + 1620s));
    EXPECT_TRUE(agentFile()["remaining_seconds"].is_null());
    EXPECT_EQ(widgetFile()["phase"], "reviewing");

    // Review, drafted first, with the plan for the second session.
    const SessionReview review{Uuid::generate(), CompletionResult::half, "Lexer half done", "Chat", "Mute chat"};
    SessionPlan second = SessionPlan::blank(Uuid::generate());
    second.intendedOutcome = "Finish the lexer";
    model->saveReviewDraft(review, second);
    EXPECT_EQ(agentFile()["tasks"][0]["status"], "review_draft");
    EXPECT_EQ(agentFile()["tasks"][1]["status"], "planned");
    const Instant breakStart = clock.now;
    model->saveReview(review, second);
    EXPECT_EQ(newCalls(), (std::vector<Call>{{Call::Kind::schedule, NotificationEvent::breakEnd, breakStart + 300s}}));
    EXPECT_EQ(stateFile()["workflow_state"], "breaking");
    EXPECT_EQ(stateFile()["break_started_at"], at(breakStart));
    EXPECT_EQ(agentFile()["tasks"][0]["status"], "reviewed");
    EXPECT_EQ(widgetFile()["phase"], "breaking");
    EXPECT_EQ(widgetFile()["intended_outcome"], "Finish the lexer");

    // The break runs out, is signalled once, runs into overtime, is extended.
    advance(300s);
    EXPECT_EQ(model->dueMessage(), "Break ended. Focus will start only when you choose Start focus.");
    EXPECT_EQ(newCalls(), (std::vector<Call>{{Call::Kind::cancel, NotificationEvent::breakEnd, std::nullopt}}));
    EXPECT_EQ(stateFile()["break_end_notified_at"], at(clock.now));
    EXPECT_EQ(stateFile()["workflow_state"], "breaking");
    model->setDueMessage({});
    advance(30s);
    EXPECT_TRUE(model->dueMessage().isEmpty());
    EXPECT_EQ(model->timerText(), "+00:30");
    EXPECT_EQ(agentFile()["remaining_seconds"], -30);
    model->extendBreak();
    EXPECT_EQ(newCalls(), (std::vector<Call>{{Call::Kind::schedule, NotificationEvent::breakEnd, breakStart + 600s}}));
    EXPECT_EQ(stateFile()["break_extension_seconds"], 300);
    EXPECT_FALSE(stateFile().contains("break_end_notified_at"));
    EXPECT_EQ(agentFile()["remaining_seconds"], 270);
    EXPECT_EQ(widgetFile()["countdown"]["ends_at"], at(breakStart + 600s));

    // The agent's question is answered during the break.
    model->answerQuestion(model->state().agentQuestions[0].id, "release/2.0");
    EXPECT_EQ(stateFile()["agent_questions"][0]["answer"], "release/2.0");
    EXPECT_EQ(agentFile()["open_questions"], json::array());
    EXPECT_EQ(widgetFile()["open_question_count"], 0);

    model->endBreak();
    EXPECT_EQ(model->dueMessage(), "Your next session plan is saved. Focus starts only when you choose Start focus.");
    EXPECT_EQ(newCalls(), (std::vector<Call>{{Call::Kind::cancel, NotificationEvent::breakEnd, std::nullopt}}));
    EXPECT_EQ(stateFile()["workflow_state"], "sessionPlanning");
    EXPECT_EQ(stateFile()["planned_next_session"]["intended_outcome"], "Finish the lexer");

    // The second and last session, ended by the user.
    advance(10s);
    model->startFocus(std::nullopt);
    EXPECT_EQ(stateFile()["current_block"]["sessions"][1]["number"], 2);
    EXPECT_EQ(stateFile()["current_block"]["sessions"][1]["plan"]["intended_outcome"], "Finish the lexer");
    EXPECT_EQ(newCalls().at(0).event, NotificationEvent::focusEnd);
    advance(1000s);
    model->endFocus();
    EXPECT_EQ(newCalls(), (std::vector<Call>{{Call::Kind::cancel, NotificationEvent::focusEnd, std::nullopt}}));
    model->saveReview(SessionReview{Uuid::generate(), CompletionResult::yes, "Lexer done", "", ""}, std::nullopt);
    EXPECT_TRUE(newCalls().empty()) << "no break after the last session";
    EXPECT_EQ(stateFile()["workflow_state"], "blockReview");

    // The reflection, drafted, then completed into the history.
    const BlockReview reflection{"A lexer", "Faster than usual", "Escapes", "Tests first", "Plan smaller"};
    model->saveBlockReviewDraft(reflection);
    EXPECT_EQ(stateFile()["current_block"]["reflection"]["output_produced"], "A lexer");
    advance(5s);
    model->completeBlock(reflection);
    const json done = stateFile();
    EXPECT_EQ(done["workflow_state"], "idle");
    EXPECT_FALSE(done.contains("current_block"));
    ASSERT_EQ(done["block_history"].size(), 1u);
    EXPECT_EQ(done["block_history"][0]["completed_at"], at(clock.now));
    EXPECT_EQ(done["block_history"][0]["sessions"].size(), 2u);
    EXPECT_TRUE(agentFile()["block"].is_null());
    EXPECT_EQ(widgetFile()["phase"], "idle");
    EXPECT_TRUE(model->lastError().isEmpty()) << model->lastError().toStdString();
}

} // namespace
} // namespace quillmere
