// SPDX-License-Identifier: GPL-3.0-or-later
// How long one keystroke in the session plan takes, draft save included,
// with an empty history and with 1,250 completed blocks (about three and a
// half years of daily blocks), in the whole main window with the status
// panel open beside it, so that whatever the other tabs and the panel do on
// a keystroke is counted. Prints the median and the 90th percentile, how
// long the held-back draft takes to write once typing pauses, how long the
// window takes to build, and how long the first switch to the History tab
// takes until it is laid out and painted. Then, over a history of as many
// blocks spread over the days as a person's are, how long the first switch
// to the Insights tab takes until it is laid out and painted, and a change
// of its period to "All".
//
//   build-bench/bench/quillmere-keystroke-bench [keystrokes]

#include "BenchModel.h"
#include "MainWindow.h"
#include "insights/InsightsView.h"
#include "panel/MenuBarPopover.h"

#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace quillmere {
namespace {

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void measure(std::size_t blocks, int keystrokes)
{
    const Instant now = std::chrono::system_clock::now();
    bench::BenchModel prepared(fixtures::planningWithHistory(blocks, now), now);
    AppModel& model = prepared.model();
    const auto built = std::chrono::steady_clock::now();
    MainWindow view(model);
    const double buildMilliseconds = millisecondsSince(built);
    view.resize(920, 720);
    view.show();
    MenuBarPopover panel(model);
    panel.show();
    QPlainTextEdit* field = nullptr;
    for (auto* candidate : view.findChildren<QPlainTextEdit*>()) {
        if (candidate->accessibleName() == "Intended outcome") {
            field = candidate;
        }
    }
    if (field == nullptr) {
        std::fprintf(stderr, "no Intended outcome field\n");
        std::exit(1);
    }
    QApplication::processEvents();
    // The first switch to the History tab, with nothing else going on.
    const auto opened = std::chrono::steady_clock::now();
    model.setSelectedTab(MainWindowTab::history);
    QApplication::sendPostedEvents();
    QApplication::processEvents();
    view.repaint();
    const double historyMilliseconds = millisecondsSince(opened);
    model.setSelectedTab(MainWindowTab::workCycle);
    QApplication::processEvents();

    field->setFocus();
    QApplication::processEvents();

    std::vector<double> milliseconds;
    for (int i = 0; i < keystrokes; ++i) {
        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(field, static_cast<char>('a' + i % 26));
        QApplication::processEvents();
        milliseconds.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    // The keystrokes' draft is written once typing pauses; time that write,
    // and a later one (the history's text is then reused).
    const auto timedSave = [&] {
        QTest::keyClick(field, 'x');
        const auto saveStart = std::chrono::steady_clock::now();
        model.flushPendingSave();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - saveStart).count();
    };
    const double firstSave = timedSave();
    const double save = timedSave();
    std::sort(milliseconds.begin(), milliseconds.end());
    const auto at = [&](double q) { return milliseconds[static_cast<std::size_t>(q * (milliseconds.size() - 1))]; };
    std::printf("history %5zu blocks  state.json %5.1f MB  keystroke median %6.2f ms  p90 %6.2f ms  (%d keys)\n"
                "      write after a pause: first %6.1f ms, then %6.1f ms\n"
                "      main window built in %6.1f ms, History tab opened in %6.1f ms\n",
                blocks, static_cast<double>(std::filesystem::file_size(prepared.folder() / "state.json")) / 1e6,
                at(0.5), at(0.9), keystrokes, firstSave, save, buildMilliseconds, historyMilliseconds);
}

// The first switch to Insights, with the window shown on the work cycle, and
// a change of its period, each until the window is laid out and painted.
void measureInsights(std::size_t blocks)
{
    const Instant now = std::chrono::system_clock::now();
    QuillmereState state = fixtures::planningWithHistory(0, now);
    state.blockHistory = fixtures::workedHistory(blocks, now);
    bench::BenchModel prepared(state, now);
    AppModel& model = prepared.model();
    MainWindow view(model);
    view.resize(920, 720);
    view.show();
    QApplication::processEvents();
    const auto settled = [&](std::chrono::steady_clock::time_point start) {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
        view.repaint();
        return millisecondsSince(start);
    };
    auto start = std::chrono::steady_clock::now();
    model.setSelectedTab(MainWindowTab::insights);
    const double opened = settled(start);
    auto* period = view.insightsView()->findChild<QComboBox*>();
    start = std::chrono::steady_clock::now();
    period->setCurrentIndex(period->count() - 1);
    const double all = settled(start);
    const auto days = state.blockHistory.empty()
                          ? 0
                          : std::chrono::floor<std::chrono::days>(now - state.blockHistory.back().createdAt).count();
    std::printf("history %5zu blocks over %4d days: Insights tab opened in %6.1f ms, period \"All\" in %6.1f ms\n",
                blocks, static_cast<int>(days), opened, all);
}

} // namespace
} // namespace quillmere

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int keystrokes = argc > 1 ? std::atoi(argv[1]) : 40;
    quillmere::measure(0, keystrokes);
    quillmere::measure(1250, keystrokes);
    quillmere::measureInsights(0);
    quillmere::measureInsights(1250);
    return 0;
}
