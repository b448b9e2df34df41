// SPDX-License-Identifier: GPL-3.0-or-later
// What the model costs on the main thread while a focus runs, with an empty
// history and with 1,250 completed blocks (10 MB of state):
// - Tick: one tick of the clock (evaluating the timers, agent-state.json and
//   the widget's snapshot offered and written).
// - Save: one save after a small edit, as the main thread sees it.
// - SaveWritten: the same save until both files are on disk.
//
//   build-bench/bench/quillmere-model-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only

#include "BenchModel.h"
#include "WidgetPublisher.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace quillmere {
namespace {

// The model of a running focus, with the real widget publisher on a private
// folder (no widget host is told to reload).
class RunningFocus {
public:
    explicit RunningFocus(std::size_t blocks)
        : widgetFolder_(std::filesystem::temp_directory_path() / "quillmere-model-bench-widget"),
          writer_(std::make_shared<BackgroundWriter>(BackgroundWriter::Mode::ownThread,
                                                     [](BackgroundWriter::Then then) {
                                                         QMetaObject::invokeMethod(qApp, std::move(then));
                                                     })),
          prepared_(fixtures::planningWithHistory(blocks, start_), start_,
                    std::make_unique<WidgetPublisher>(WidgetSnapshotStore(widgetFolder_), [](std::string_view) {},
                                                      [](std::string_view) {}, writer_))
    {
        SessionPlan plan = SessionPlan::blank(Uuid::generate());
        plan.intendedOutcome = "Draft the parser";
        model().startFocus(plan);
        // The first save after loading encodes every history block; later
        // ones reuse that text, which is what a running application does.
        model().persist();
        model().finishWriting();
    }
    ~RunningFocus()
    {
        model().finishWriting();
        writer_->waitUntilIdle();
        std::filesystem::remove_all(widgetFolder_);
    }

    AppModel& model() { return prepared_.model(); }
    Instant start() const { return start_; }

private:
    Instant start_ = std::chrono::system_clock::now();
    std::filesystem::path widgetFolder_;
    std::shared_ptr<BackgroundWriter> writer_;
    bench::BenchModel prepared_;
};

void Tick(benchmark::State& run)
{
    RunningFocus focus(static_cast<std::size_t>(run.range(0)));
    // Ticks arrive a little after the second turns, as the real timer's do.
    Instant at = focus.start() + std::chrono::milliseconds(137);
    for (auto _ : run) {
        at += std::chrono::seconds(1);
        focus.model().tick(at);
    }
}
BENCHMARK(Tick)->Arg(0)->Arg(1250)->Unit(benchmark::kMicrosecond);

void saveAfterAnEdit(RunningFocus& focus, int& edit)
{
    focus.model().editState([&edit](QuillmereState& state) {
        state.currentBlock->whyValue = "Reason " + std::to_string(++edit);
    });
    focus.model().persist();
}

void Save(benchmark::State& run)
{
    RunningFocus focus(static_cast<std::size_t>(run.range(0)));
    int edit = 0;
    for (auto _ : run) {
        saveAfterAnEdit(focus, edit);
    }
}
BENCHMARK(Save)->Arg(0)->Arg(1250)->Unit(benchmark::kMillisecond);

void SaveWritten(benchmark::State& run)
{
    RunningFocus focus(static_cast<std::size_t>(run.range(0)));
    int edit = 0;
    for (auto _ : run) {
        saveAfterAnEdit(focus, edit);
        focus.model().finishWriting();
    }
}
BENCHMARK(SaveWritten)->Arg(0)->Arg(1250)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace quillmere

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
