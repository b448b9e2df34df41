// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a history whose texts hold what CSV readers trip over (separators,
// quotes, every kind of line break, non-Latin letters, leading spaces) in
// DATA_HOME's state folder, and writes the rows its CSV export must read
// back as, for check-export-csv.py.
//
//   quillmere-export-sample DATA_HOME EXPECTED_JSON
//
// Times are expected in the zone of the TZ variable, as quillmerectl writes
// them.

#include "quillmere/StateStore.h"
#include "quillmere/TimeZone.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <iostream>

using namespace quillmere;
using namespace std::chrono_literals;

namespace {

struct SampleSession {
    SessionPlan plan;
    Instant start;
    Seconds planned;
    Seconds paused;
    Instant end;
    std::optional<SessionReview> review;
    // How the export must write the three durations.
    const char* plannedMinutes;
    const char* focusMinutes;
    const char* pausedMinutes;
};

SessionPlan plan(std::string intended, std::string firstAction, std::string hazards, std::string framing,
                 std::optional<Uuid> outcome = std::nullopt)
{
    return SessionPlan{Uuid::generate(), outcome, std::move(intended), std::move(firstAction), std::move(hazards),
                       std::move(framing), 4, 2};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: quillmere-export-sample DATA_HOME EXPECTED_JSON\n";
        return 2;
    }
    const TimeZone zone = TimeZone::system();
    const Instant t = utcInstant(2026, 3, 2, 8);

    const std::vector<Outcome> firstOutcomes{{Uuid::generate(), "Draft the chapter, then edit"},
                                             {Uuid::generate(), "Read \"the\" paper"}};
    const std::vector<Outcome> secondOutcomes{{Uuid::generate(), "  leading spaces"}, {Uuid::generate(), ""}};
    const struct {
        std::vector<Outcome> outcomes;
        const char* joinedOutcomes;
        Instant created;
        std::vector<SampleSession> sessions;
    } blocks[] = {
        {firstOutcomes,
         "Draft the chapter, then edit\nRead \"the\" paper",
         t,
         {{plan("表を作る", "Écrire «la» note", "Mail, chat\nand \"news\"", "line one\r\nline two", firstOutcomes[1].id),
           t + 5min, 1500, 30, t + 35min + 30s,
           SessionReview{Uuid::generate(), CompletionResult::half, "Done, mostly", "Slack\rpings", ""}, "25", "30",
           "0.5"},
          {SessionPlan::blank(Uuid::generate()), t + 60min, 1500, 0, t + 80min + 20s, std::nullopt, "25", "20.33",
           "0"}}},
        {secondOutcomes,
         "  leading spaces\n",
         t + 39h + 50min,
         {{plan("=SUM(A1:A2)", "tab\there", "", "Ελληνικά, русский, עברית"), t + 39h + 55min, 3000, 0,
           t + 40h + 20min, SessionReview{Uuid::generate(), CompletionResult::yes, "\"quoted\"", ",", "ends\n"}, "50",
           "25", "0"}}},
    };

    QuillmereState state = QuillmereState::initial(t + 41h);
    nlohmann::json rows = nlohmann::json::array();
    for (const auto& sample : blocks) {
        Block block = Block::defaultBlock(sample.created);
        block.outcomes = sample.outcomes;
        std::int64_t number = 0;
        for (const SampleSession& s : sample.sessions) {
            block.sessions.push_back(WorkSession{Uuid::generate(), ++number, s.plan, s.start, s.planned, std::nullopt,
                                                 s.paused, s.end, s.review});
        }
        block.completedAt = sample.sessions.back().end + 5min;
        block.reflection = BlockReview{"A draft", "Better", "", "Kept going", "Start earlier"};
        for (const WorkSession& session : block.sessions) {
            const SampleSession& s = sample.sessions[static_cast<std::size_t>(session.number - 1)];
            const auto outcome = std::ranges::find_if(
                block.outcomes, [&](const Outcome& o) { return session.plan.blockOutcomeID == o.id; });
            const SessionReview none{};
            const SessionReview& review = session.review ? *session.review : none;
            rows.push_back({block.id.toString(),
                            zone.isoText(block.createdAt),
                            zone.isoText(*block.completedAt),
                            sample.joinedOutcomes,
                            session.id.toString(),
                            std::to_string(session.number),
                            zone.isoText(session.startedAt),
                            zone.isoText(*session.endedAt),
                            s.plannedMinutes,
                            s.focusMinutes,
                            s.pausedMinutes,
                            outcome == block.outcomes.end() ? "" : outcome->title,
                            session.plan.intendedOutcome,
                            session.plan.firstAction,
                            session.plan.hazardsMitigation,
                            session.plan.nicuFraming,
                            std::to_string(session.plan.energy),
                            std::to_string(session.plan.morale),
                            session.review ? std::string(rawText(review.completion)) : "",
                            review.noteworthyResult,
                            review.distractions,
                            review.improvement});
        }
        state.blockHistory.insert(state.blockHistory.begin(), std::move(block));
    }

    const StateStore store(std::filesystem::path(argv[1]) / "Quillmere");
    if (auto created = createPrivateDirectory(store.directory()); !created) {
        std::cerr << created.error().description() << "\n";
        return 1;
    }
    if (auto saved = store.save(state); !saved) {
        std::cerr << saved.error().description() << "\n";
        return 1;
    }
    std::ofstream(argv[2], std::ios::binary) << rows.dump(2) << "\n";
    return 0;
}
