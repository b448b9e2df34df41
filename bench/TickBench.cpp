// How long one tick of the clock takes while a focus runs (evaluating the
// timers, writing agent-state.json, offering the widget its snapshot and
// writing it), with an empty history and with 1,250 completed blocks.
// Prints the median and the 90th percentile.
//
//   build-bench/bench/quillmere-tick-bench [ticks]

#include "BenchModel.h"
#include "WidgetPublisher.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace quillmere {
namespace {

void measure(std::size_t blocks, int ticks)
{
    using namespace std::chrono_literals;
    const Instant now = std::chrono::system_clock::now();
    const auto widgetFolder = std::filesystem::temp_directory_path() / "quillmere-tick-bench-widget";
    auto widgets = std::make_unique<WidgetPublisher>(WidgetSnapshotStore(widgetFolder), [](std::string_view) {},
                                                     [](std::string_view) {});
    bench::BenchModel prepared(bench::planningWithHistory(blocks, now), now, std::move(widgets));
    AppModel& model = prepared.model();
    SessionPlan plan = SessionPlan::blank(Uuid::generate());
    plan.intendedOutcome = "Draft the parser";
    model.startFocus(plan);

    std::vector<double> microseconds;
    for (int i = 1; i <= ticks; ++i) {
        const Instant at = now + std::chrono::seconds(i) + 137ms;
        const auto start = std::chrono::steady_clock::now();
        model.tick(at);
        microseconds.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(microseconds.begin(), microseconds.end());
    const auto at = [&](double q) { return microseconds[static_cast<std::size_t>(q * (microseconds.size() - 1))]; };
    std::printf("history %5zu blocks  tick median %7.1f µs  p90 %7.1f µs  (%d ticks)\n", blocks, at(0.5), at(0.9),
                ticks);
    std::filesystem::remove_all(widgetFolder);
}

} // namespace
} // namespace quillmere

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 300;
    quillmere::measure(0, ticks);
    quillmere::measure(1250, ticks);
    return 0;
}
