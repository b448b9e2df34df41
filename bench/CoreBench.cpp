// SPDX-License-Identifier: GPL-3.0-or-later
// Costs that grow with the history: the application saves the whole state
// after every change and reads it once at start-up.

#include "LocalZone.h"
#include "StateFixtures.h"
#include "TempFolder.h"
#include "quillmere/HistoryExport.h"
#include "quillmere/HistoryStatistics.h"
#include "quillmere/StateCoding.h"
#include "quillmere/StateStore.h"
#include "quillmere/TimerSnapshot.h"
#include "quillmere/WorkflowEngine.h"

#include <benchmark/benchmark.h>

namespace quillmere {
namespace {

// A realistic state: `blocks` completed eight-session blocks in the history.
QuillmereState stateWithHistory(std::int64_t blocks)
{
    QuillmereState state = fixtures::everyOptionalPresent();
    Block completed = state.blockHistory.front();
    completed.sessions.resize(8, completed.sessions.front());
    state.blockHistory.assign(static_cast<std::size_t>(blocks), completed);
    for (Block& block : state.blockHistory) {
        block.id = Uuid::generate(); // distinct blocks, as a real history has
    }
    return state;
}

void EncodeState(benchmark::State& run)
{
    const QuillmereState state = stateWithHistory(run.range(0));
    std::size_t bytes = 0;
    for (auto _ : run) {
        auto text = encodeState(state);
        bytes = text->size();
        benchmark::DoNotOptimize(text);
    }
    run.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(EncodeState)->Arg(0)->Arg(1250)->Unit(benchmark::kMillisecond);

// What a save costs once the history has been encoded before.
void EncodeStateWithUnchangedHistory(benchmark::State& run)
{
    QuillmereState state = stateWithHistory(run.range(0));
    StateEncoder encoder;
    (void)encoder.encode(state);
    for (auto _ : run) {
        state.currentBlock->whyValue.push_back('x'); // the draft being typed
        auto text = encoder.encode(state);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(EncodeStateWithUnchangedHistory)->Arg(0)->Arg(1250)->Unit(benchmark::kMillisecond);

void DecodeState(benchmark::State& run)
{
    const std::string text = *encodeState(stateWithHistory(run.range(0)));
    for (auto _ : run) {
        auto state = decodeState(text);
        benchmark::DoNotOptimize(state);
    }
}
BENCHMARK(DecodeState)->Arg(0)->Arg(1250)->Unit(benchmark::kMillisecond);

// What start-up reads: the decoding and the search for members that this
// version does not know.
void DecodeStateNotingUnknownMembers(benchmark::State& run)
{
    const std::string text = *encodeState(stateWithHistory(run.range(0)));
    for (auto _ : run) {
        auto state = decodeStateNotingUnknownMembers(text);
        benchmark::DoNotOptimize(state);
    }
}
BENCHMARK(DecodeStateNotingUnknownMembers)->Arg(0)->Arg(1250)->Unit(benchmark::kMillisecond);

// What start-up waits for: reading state.json, decoding it and checking that
// the application can run the state it describes.
void LoadState(benchmark::State& run)
{
    const fixtures::TempFolder folder;
    const StateStore store(folder.path());
    if (!store.save(stateWithHistory(run.range(0)))) {
        run.SkipWithError("the state could not be saved");
        return;
    }
    for (auto _ : run) {
        auto loaded = store.loadNotingUnknownMembers();
        if (!loaded) {
            run.SkipWithError(loaded.error().description().c_str());
            break;
        }
        benchmark::DoNotOptimize(loaded);
    }
    run.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(store.stateURL()));
}
BENCHMARK(LoadState)->Arg(0)->Arg(1250)->Unit(benchmark::kMillisecond);

void DeriveTimer(benchmark::State& run)
{
    const QuillmereState state = stateWithHistory(1250);
    const Instant now = state.updatedAt;
    for (auto _ : run) {
        benchmark::DoNotOptimize(TimerSnapshot::derive(state, now));
    }
}
BENCHMARK(DeriveTimer);

// What the insights tab waits for: the figures of a period of a person's
// 1,250-block history, in a zone with clock changes.
void ComputeHistoryStatistics(benchmark::State& run, InsightPeriod period)
{
    const fixtures::ScopedLocalZone local("Europe/Berlin");
    const TimeZone zone = TimeZone::system();
    const Instant now = utcInstant(2026, 12, 9, 15, 30, 0) + std::chrono::milliseconds{250};
    QuillmereState state = QuillmereState::initial(now);
    state.blockHistory = fixtures::workedHistory(1250, now);
    const DayRange range = insightRange(period, state, zone, now);
    for (auto _ : run) {
        benchmark::DoNotOptimize(HistoryStatistics::compute(state, {range, now, zone}));
    }
    run.counters["days"] = static_cast<double>((range.last - range.first).count() + 1);
}
BENCHMARK_CAPTURE(ComputeHistoryStatistics, all, InsightPeriod::all)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ComputeHistoryStatistics, lastTwelveMonths, InsightPeriod::lastTwelveMonths)
    ->Unit(benchmark::kMillisecond);

// The history's export with years of daily blocks of one to eight sessions
// (the application's Export... and quillmerectl export), in a zone with
// clock changes: every time in the CSV goes through the zone's rules.
void ExportHistory(benchmark::State& run, ExportFormat format)
{
    const fixtures::ScopedLocalZone local("Europe/Berlin");
    const Instant now = utcInstant(2026, 3, 2, 18);
    QuillmereState state = QuillmereState::initial(now);
    state.blockHistory = fixtures::workedHistory(static_cast<std::size_t>(run.range(0)), now);
    const TimeZone zone = TimeZone::system();
    std::size_t bytes = 0;
    for (auto _ : run) {
        auto text = exportHistory(state, format, {}, zone, now);
        bytes = text->size();
        benchmark::DoNotOptimize(text);
    }
    run.counters["export_bytes"] = static_cast<double>(bytes);
}
BENCHMARK_CAPTURE(ExportHistory, csv, ExportFormat::csv)->Arg(0)->Arg(1250)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ExportHistory, json, ExportFormat::json)->Arg(0)->Arg(1250)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quillmere
