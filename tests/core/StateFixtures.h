// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Builders of varied states for the coding and engine tests.

#include "quillmere/QuillmereState.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <random>
#include <utility>
#include <vector>

namespace quillmere::fixtures {

class StateGenerator {
public:
    explicit StateGenerator(std::uint64_t seed) : random_(seed) {}

    bool coin() { return pick(0, 1) == 1; }
    std::int64_t pick(std::int64_t low, std::int64_t high)
    {
        return std::uniform_int_distribution<std::int64_t>(low, high)(random_);
    }

    // Instants between 1971 and 2200, with nanosecond fractions.
    Instant instant()
    {
        const auto seconds = pick(365LL * 86400, 7'200'000'000LL);
        return Instant(std::chrono::seconds(seconds)) + std::chrono::nanoseconds(pick(0, 999'999'999));
    }

    std::optional<Instant> maybeInstant() { return coin() ? std::optional(instant()) : std::nullopt; }

    double seconds()
    {
        switch (pick(0, 3)) {
        case 0: return static_cast<double>(pick(-5, 100000));
        case 1: return std::uniform_real_distribution<double>(-1e6, 1e6)(random_);
        case 2: return 0.1 * static_cast<double>(pick(0, 99));
        default: return std::ldexp(static_cast<double>(pick(1, 1LL << 52)), static_cast<int>(pick(-60, 60)));
        }
    }

    std::int64_t integer()
    {
        switch (pick(0, 2)) {
        case 0: return pick(-2, 9);
        case 1: return std::numeric_limits<std::int64_t>::max() - pick(0, 3);
        default: return std::numeric_limits<std::int64_t>::min() + pick(0, 3);
        }
    }

    std::string text()
    {
        static const char* const pieces[] = {"", "plain", "a/b/c", "quote \" and \\ backslash", "tab\tnew\nline",
                                             "naïve café", "日本語", "emoji 🙂", "\x01\x1f control", "</script>"};
        std::string out;
        for (auto n = pick(0, 3); n > 0; --n) {
            out += pieces[pick(0, std::size(pieces) - 1)];
        }
        return out;
    }

    SessionPlan plan()
    {
        return SessionPlan{Uuid::generate(), coin() ? std::optional(Uuid::generate()) : std::nullopt,
                           text(), text(), text(), text(), integer(), integer()};
    }

    WorkSession session(std::int64_t number)
    {
        std::optional<SessionReview> review;
        if (coin()) {
            review = SessionReview{Uuid::generate(), static_cast<CompletionResult>(pick(0, 2)), text(), text(),
                                   text()};
        }
        return WorkSession{Uuid::generate(), number, plan(),     instant(), seconds(),
                           maybeInstant(),   seconds(), maybeInstant(), review};
    }

    Block block()
    {
        Block block{Uuid::generate(), instant(), maybeInstant(), seconds(), seconds(), integer(), {}, text(),
                    text(), text(), text(), text(), {}, std::nullopt, maybeInstant(), maybeInstant()};
        for (auto n = pick(0, 3); n > 0; --n) {
            block.outcomes.push_back(Outcome{Uuid::generate(), text()});
        }
        for (std::int64_t n = 1, count = pick(0, 4); n <= count; ++n) {
            block.sessions.push_back(session(n));
        }
        if (coin()) {
            block.reflection = BlockReview{text(), text(), text(), text(), text()};
        }
        return block;
    }

    QuillmereState state()
    {
        QuillmereState state = QuillmereState::initial(instant());
        state.workflowState = static_cast<WorkflowState>(pick(0, 7));
        if (coin()) {
            state.currentBlock = block();
        }
        for (auto n = pick(0, 3); n > 0; --n) {
            state.blockHistory.push_back(block());
        }
        if (coin()) {
            state.plannedNextSession = plan();
        }
        state.breakStartedAt = maybeInstant();
        state.breakExtensionSeconds = seconds();
        state.breakEndNotifiedAt = maybeInstant();
        for (auto n = pick(0, 3); n > 0; --n) {
            state.agentQuestions.push_back(AgentQuestion{Uuid::generate(), text(), instant(),
                                                         coin() ? std::optional(text()) : std::nullopt,
                                                         maybeInstant(), std::nullopt});
        }
        return state;
    }

private:
    std::mt19937_64 random_;
};

inline Uuid fixedId(int n)
{
    char text[40];
    std::snprintf(text, sizeof text, "00000000-0000-4000-8000-%012d", n);
    return *Uuid::parse(text);
}

// A state in which every optional field, at every level, is present.
inline QuillmereState everyOptionalPresent()
{
    using namespace std::chrono_literals;
    const Instant t = utcInstant(2026, 3, 2, 9, 30, 0);
    const SessionPlan plan{fixedId(10), fixedId(2), "Draft the parser", "Open parser.cpp", "Mail: closed",
                           "Novel: a/b path", 4, 2};
    const SessionReview review{fixedId(11), CompletionResult::half, "Parser half done", "Chat", "Mute chat"};
    const WorkSession first{fixedId(12), 1, plan, t + 60s, 1500, std::nullopt, 59.5, t + 1620s, review};
    const WorkSession second{fixedId(13), 2, SessionPlan{fixedId(14), std::nullopt, "Tests", "Write one", "", "",
                                                         3, 3},
                             t + 2000s, 1500, t + 2100s, 30, t + 2200s, std::nullopt};
    Block block{fixedId(1), t, t + 30s, 1500, 300, 2, {Outcome{fixedId(2), "Parser works"}}, "Unblocks the team",
                "All tests pass", "Scope creep", "3 files parsed", "Notes \"quoted\"", {first, second},
                BlockReview{"A parser", "Better", "Lexer", "Tests", "Start smaller"}, t + 3000s, t + 31s};
    Block done = block;
    done.id = fixedId(3);
    QuillmereState state{fixedId(0), WorkflowState::breaking, block, {done}, plan, t + 2300s, 60.25, t + 2600s,
                         {AgentQuestion{fixedId(20), "Which branch?", t + 5s, "main", t + 7s, "release-bot"},
                          AgentQuestion{fixedId(21), "Tag now?", t + 8s, std::nullopt, std::nullopt, "release-bot"}},
                         t + 3600s};
    return state;
}

// A state in which every optional field, at every level, is absent. The one
// block sits in the history (a file-format fixture: the engine would have
// given it a completion time and a reflection).
inline QuillmereState everyOptionalAbsent()
{
    using namespace std::chrono_literals;
    const Instant t = utcInstant(2026, 3, 2, 9, 30, 0);
    const WorkSession running{fixedId(12), 1, SessionPlan{fixedId(10), std::nullopt, "Sketch", "Open pad", "", "", 3, 3},
                              t + 60s, 1500, std::nullopt, 0, std::nullopt, std::nullopt};
    Block block{fixedId(1), t, std::nullopt, 1500, 300, 8, {Outcome{fixedId(2), ""}}, "", "", "", "", "",
                {running}, std::nullopt, std::nullopt, std::nullopt};
    return QuillmereState{fixedId(0), WorkflowState::idle, std::nullopt, {block}, std::nullopt, std::nullopt, 0,
                          std::nullopt, {AgentQuestion{fixedId(20), "Open?", t, std::nullopt, std::nullopt, std::nullopt}},
                          t + 60s};
}

// The two states whose files are pinned byte for byte under tests/core/golden,
// with the name part of their golden files.
inline std::vector<std::pair<const char*, QuillmereState>> goldenStates()
{
    return {{"every-optional-present", everyOptionalPresent()}, {"every-optional-absent", everyOptionalAbsent()}};
}

// What a save and a load keep of an instant: whole seconds.
inline Instant wholeSeconds(Instant instant)
{
    return std::chrono::floor<std::chrono::seconds>(instant);
}

inline void truncate(std::optional<Instant>& instant)
{
    if (instant) {
        *instant = wholeSeconds(*instant);
    }
}

inline Block truncatedToWholeSeconds(Block block)
{
    block.createdAt = wholeSeconds(block.createdAt);
    truncate(block.plannedStart);
    truncate(block.completedAt);
    truncate(block.scheduledStartTriggeredAt);
    for (WorkSession& session : block.sessions) {
        session.startedAt = wholeSeconds(session.startedAt);
        truncate(session.pausedAt);
        truncate(session.endedAt);
    }
    return block;
}

inline QuillmereState truncatedToWholeSeconds(QuillmereState state)
{
    state.updatedAt = wholeSeconds(state.updatedAt);
    truncate(state.breakStartedAt);
    truncate(state.breakEndNotifiedAt);
    if (state.currentBlock) {
        state.currentBlock = truncatedToWholeSeconds(*state.currentBlock);
    }
    for (Block& block : state.blockHistory) {
        block = truncatedToWholeSeconds(block);
    }
    for (AgentQuestion& question : state.agentQuestions) {
        question.createdAt = wholeSeconds(question.createdAt);
        truncate(question.answeredAt);
    }
    return state;
}

// A block being planned after `blocks` completed ones of eight sessions each
// (1,250 is about three and a half years of daily blocks, 10 MB of state).
inline QuillmereState planningWithHistory(std::size_t blocks, Instant now)
{
    QuillmereState state = fixtures::everyOptionalPresent();
    Block completed = state.blockHistory.front();
    completed.sessions.resize(8, completed.sessions.front());
    state.blockHistory.assign(blocks, completed);
    for (Block& block : state.blockHistory) {
        block.id = Uuid::generate(); // distinct blocks, as a real history has
    }
    state.workflowState = WorkflowState::sessionPlanning;
    state.currentBlock->sessions.clear();
    state.plannedNextSession.reset();
    state.breakStartedAt.reset();
    state.breakEndNotifiedAt.reset();
    state.breakExtensionSeconds = 0;
    state.updatedAt = now;
    return state;
}

// A history as a person builds it: `blocks` completed blocks, one a day on
// most days before `now`, most recent first, each of one to eight sessions
// that start between 07:00 and 20:00 UTC, with varied lengths, pauses,
// ratings and judgements (some sessions unreviewed), for the statistics,
// exports and pictures that need dates spread like real ones.
inline std::vector<Block> workedHistory(std::size_t blocks, Instant now, std::uint64_t seed = 7)
{
    using namespace std::chrono;
    StateGenerator random(seed);
    std::vector<Block> history;
    history.reserve(blocks);
    auto day = floor<days>(now) - days{1};
    const std::array texts{"Draft the chapter", "Fix the import, then test it", "Écrire «la» note", "表を作る",
                           "Read \"the\" paper,\nthen summarise"};
    for (std::size_t index = 0; index < blocks; ++index) {
        day -= days{random.pick(0, 9) == 0 ? 2 : 1};
        Block block = Block::defaultBlock(day + hours{random.pick(7, 12)});
        block.id = Uuid::generate();
        block.outcomes.front().title = texts[static_cast<std::size_t>(random.pick(0, texts.size() - 1))];
        block.focusDurationSeconds = random.coin() ? 1500 : 3000;
        Instant start = block.createdAt + minutes{random.pick(1, 30)};
        const auto sessions = random.pick(1, 8);
        for (std::int64_t number = 1; number <= sessions && start < day + hours{21}; ++number) {
            WorkSession session;
            session.id = Uuid::generate();
            session.number = number;
            session.plan = SessionPlan::blank(Uuid::generate());
            session.plan.intendedOutcome = texts[static_cast<std::size_t>(random.pick(0, texts.size() - 1))];
            session.plan.energy = random.pick(1, 5);
            session.plan.morale = random.pick(1, 5);
            session.startedAt = start + seconds{random.pick(0, 59)};
            session.plannedDurationSeconds = block.focusDurationSeconds;
            session.accumulatedPausedSeconds = random.pick(0, 3) == 0 ? static_cast<double>(random.pick(30, 600)) : 0;
            session.endedAt = session.startedAt +
                              seconds{static_cast<std::int64_t>(block.focusDurationSeconds + session.accumulatedPausedSeconds) -
                                      random.pick(0, 300)};
            if (random.pick(0, 4) != 0) {
                session.review = SessionReview{.id = Uuid::generate(),
                                               .completion = allCases<CompletionResult>[static_cast<std::size_t>(
                                                   random.pick(0, 2))],
                                               .noteworthyResult = "Done, mostly",
                                               .distractions = random.coin() ? "Mail, twice" : "",
                                               .improvement = ""};
            }
            start = *session.endedAt + seconds{static_cast<std::int64_t>(block.breakDurationSeconds)} +
                    minutes{random.pick(0, 20)};
            block.sessions.push_back(std::move(session));
        }
        block.reflection = BlockReview{.outputProduced = "A draft", .normalComparison = "Better",
                                       .boggedDown = "", .wentWell = "Kept going", .lessons = "Start earlier"};
        block.completedAt = *block.sessions.back().endedAt + minutes{5};
        history.push_back(std::move(block));
    }
    return history;
}

} // namespace quillmere::fixtures
