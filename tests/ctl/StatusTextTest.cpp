// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusText.h"

#include <gtest/gtest.h>

#include <functional>

namespace quillmere {
namespace {

// 2026-03-02 10:00:00.250 UTC: a clock with a fraction, as a real one has.
const Instant now = utcInstant(2026, 3, 2, 10) + std::chrono::milliseconds(250);

AgentQuestion openQuestion(const char* text, std::optional<std::string> asker = std::nullopt,
                           Instant askedAt = utcInstant(2026, 3, 2, 9, 57))
{
    return AgentQuestion{.id = *Uuid::parse("00000000-0000-4000-8000-000000000021"),
                         .question = text,
                         .createdAt = askedAt,
                         .answer = std::nullopt,
                         .answeredAt = std::nullopt,
                         .askedBy = std::move(asker)};
}

// The third of eight sessions of a block, in `state`.
AgentSnapshot inBlock(WorkflowState state, std::optional<std::int64_t> remaining = std::nullopt)
{
    AgentSnapshot snapshot;
    snapshot.workflowState = state;
    snapshot.block = Block::defaultBlock(utcInstant(2026, 3, 2, 9));
    WorkSession session;
    session.number = 3;
    session.startedAt = utcInstant(2026, 3, 2, 9, 50);
    snapshot.sessions = {session, session, session};
    snapshot.sessions[0].number = 1;
    snapshot.sessions[1].number = 2;
    snapshot.currentSession = session;
    snapshot.remainingSeconds = remaining;
    snapshot.updatedAt = now;
    return snapshot;
}

AgentSnapshot idle(std::optional<Instant> plannedStart)
{
    AgentSnapshot snapshot;
    if (plannedStart) {
        snapshot.block = Block::defaultBlock(utcInstant(2026, 3, 1));
        snapshot.block->plannedStart = plannedStart;
    }
    return snapshot;
}

template <class Change>
AgentSnapshot with(AgentSnapshot snapshot, Change change)
{
    change(snapshot);
    return snapshot;
}

TEST(StatusLine, EveryPhaseReadsAtAGlance)
{
    const auto paused = [](AgentSnapshot& s) { s.currentSession->pausedAt = utcInstant(2026, 3, 2, 9, 55); };
    const auto oneQuestion = [](AgentSnapshot& s) { s.openQuestions = {openQuestion("Tag now?")}; };
    const auto twoQuestions = [](AgentSnapshot& s) {
        s.openQuestions = {openQuestion("Tag now?"), openQuestion("Which branch?")};
    };
    const auto planning = [](AgentSnapshot& s) {
        s.currentSession.reset();
        s.sessions.pop_back();
    };
    const struct {
        const char* name;
        AgentSnapshot snapshot;
        const char* line;
    } cases[] = {
        {"idle", idle(std::nullopt), "Idle"},
        {"scheduled today", idle(utcInstant(2026, 3, 2, 14)), "Block scheduled for 14:00"},
        {"scheduled tomorrow", idle(utcInstant(2026, 3, 3, 9, 30)), "Block scheduled for tomorrow at 09:30"},
        {"scheduled later", idle(utcInstant(2026, 3, 5, 14)), "Block scheduled for 2026-03-05 14:00"},
        {"planning a block", with(AgentSnapshot{}, [](AgentSnapshot& s) { s.workflowState = WorkflowState::blockPlanning; }),
         "Planning a block"},
        {"planning the next session", with(inBlock(WorkflowState::sessionPlanning), planning),
         "Planning session 3 of 8"},
        {"planning without a block", with(AgentSnapshot{}, [](AgentSnapshot& s) { s.workflowState = WorkflowState::sessionPlanning; }),
         "Planning the next session"},
        {"focus, two questions", with(inBlock(WorkflowState::focusing, 1068), twoQuestions),
         "Focus 17:48 left · session 3 of 8 · 2 open questions"},
        {"focus, one question", with(inBlock(WorkflowState::focusing, 1068), oneQuestion),
         "Focus 17:48 left · session 3 of 8 · 1 open question"},
        {"focus over an hour", inBlock(WorkflowState::focusing, 3900), "Focus 1:05:00 left · session 3 of 8"},
        {"focus overtime", inBlock(WorkflowState::focusing, -133), "Focus +02:13 over · session 3 of 8"},
        {"focus at zero", inBlock(WorkflowState::focusing, 0), "Focus 00:00 left · session 3 of 8"},
        {"focus without a timer", inBlock(WorkflowState::focusing), "Focus · session 3 of 8"},
        {"paused", with(inBlock(WorkflowState::focusing, 1068), paused), "Paused, 17:48 left · session 3 of 8"},
        {"paused in overtime", with(inBlock(WorkflowState::focusing, -5), paused), "Paused, +00:05 over · session 3 of 8"},
        {"session review", inBlock(WorkflowState::sessionReview), "Reviewing session 3 of 8"},
        {"break", inBlock(WorkflowState::breaking, 250), "Break 04:10 left · 3 of 8 sessions done"},
        {"break overtime", with(inBlock(WorkflowState::breaking, -60), oneQuestion),
         "Break +01:00 over · 3 of 8 sessions done · 1 open question"},
        {"block review", inBlock(WorkflowState::blockReview), "Reviewing the block"},
        {"complete", inBlock(WorkflowState::complete), "Block complete"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StatusText::line(c.snapshot, now, QTimeZone::utc()).toStdString(), c.line);
    }
}

TEST(StatusLine, ScheduledTimeIsTheLocalTimeOfDay)
{
    // 23:30 UTC on the 2nd is 00:30 on the 3rd in Berlin, where it is then
    // already the 2nd at 11:00: tomorrow there, today in UTC.
    const AgentSnapshot scheduled = idle(utcInstant(2026, 3, 2, 23, 30));
    EXPECT_EQ(StatusText::line(scheduled, now, QTimeZone::utc()).toStdString(), "Block scheduled for 23:30");
    EXPECT_EQ(StatusText::line(scheduled, now, QTimeZone("Europe/Berlin")).toStdString(),
              "Block scheduled for tomorrow at 00:30");
}

TEST(StatusText, AgesCountWholeUnitsDown)
{
    using std::chrono::milliseconds;
    using std::chrono::seconds;
    const struct {
        Instant then;
        const char* age;
    } cases[] = {
        {now, "just now"},
        {now - milliseconds(59'999), "just now"},
        {now - seconds(60), "1 minute ago"},
        {now - seconds(119), "1 minute ago"},
        {now - seconds(3599), "59 minutes ago"},
        {now - seconds(3600), "1 hour ago"},
        {now - seconds(86'399), "23 hours ago"},
        {now - seconds(86'400), "1 day ago"},
        {now - seconds(3 * 86'400 + 5), "3 days ago"},
        // Another machine's clock ahead of this one.
        {now + seconds(90), "just now"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.age);
        EXPECT_EQ(StatusText::age(c.then, now).toStdString(), c.age);
    }
}

TEST(StatusText, QuestionsShowIdAgeAskerAndTextThatCannotSteerTheTerminal)
{
    EXPECT_EQ(StatusText::questions({}, now).toStdString(), "No open questions.");
    const std::vector<AgentQuestion> questions{
        openQuestion("Tag now?\n\tor later?", "release-bot"),
        // A hand-edited file may hold what the rules keep out of new ones.
        openQuestion("Clear \x1b[2J screen?", "bot\x07", utcInstant(2026, 3, 2, 7)),
        openQuestion("Anyone?"),
    };
    EXPECT_EQ(StatusText::questions(questions, now).toStdString(),
              "00000000-0000-4000-8000-000000000021 · asked 3 minutes ago by release-bot\n"
              "    Tag now?\n"
              "    \tor later?\n"
              "00000000-0000-4000-8000-000000000021 · asked 3 hours ago by bot\uFFFD\n"
              "    Clear \uFFFD[2J screen?\n"
              "00000000-0000-4000-8000-000000000021 · asked 3 minutes ago\n"
              "    Anyone?");
}

} // namespace
} // namespace quillmere
