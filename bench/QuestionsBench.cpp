// SPDX-License-Identifier: GPL-3.0-or-later
// What a long list of open agent questions costs the screens: building and
// showing the status panel, building the main window (all four tabs are
// built at start-up), showing it on the work cycle, the first switch to the
// Agent questions tab and answering the first question there. Each figure is the wall
// time until the window has been laid out and painted again; the median of
// a few rounds is printed. Prints figures and checks nothing.
//
//   build-bench/bench/quillmere-questions-bench [open questions] [rounds]

#include "BenchModel.h"
#include "MainWindow.h"
#include "questions/AgentQuestionsView.h"
#include "panel/MenuBarPopover.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace quillmere {
namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs what the event loop has pending (layouts, then the paint).
void settle(QWidget& window)
{
    QApplication::sendPostedEvents();
    QApplication::processEvents();
    window.repaint();
}

QuillmereState withOpenQuestions(std::size_t count, Instant now)
{
    QuillmereState state = QuillmereState::initial(now);
    for (std::size_t number = 1; number <= count; ++number) {
        state.agentQuestions.push_back(AgentQuestion{
            Uuid::generate(), "Question " + std::to_string(number) + ": which parser should the release use?", now,
            std::nullopt, std::nullopt, std::nullopt});
    }
    return state;
}

using Figures = std::vector<std::pair<const char*, double>>;

Figures measureOnce(std::size_t questions)
{
    const Instant now = std::chrono::system_clock::now();
    bench::BenchModel prepared(withOpenQuestions(questions, now), now);
    AppModel& model = prepared.model();
    Figures figures;

    auto start = Clock::now();
    {
        MenuBarPopover panel(model);
        panel.show();
        settle(panel);
    }
    figures.emplace_back("build and show the status panel", millisecondsSince(start));

    start = Clock::now();
    MainWindow window(model);
    figures.emplace_back("build the main window", millisecondsSince(start));

    start = Clock::now();
    window.resize(920, 720);
    window.show();
    settle(window);
    figures.emplace_back("show it on the work cycle", millisecondsSince(start));

    start = Clock::now();
    model.setSelectedTab(MainWindowTab::agentQuestions);
    settle(window);
    figures.emplace_back("first switch to Agent questions", millisecondsSince(start));

    if (questions > 0) {
        const Uuid first = model.state().agentQuestions.front().id;
        AgentQuestionsView* view = window.agentQuestionsView();
        QTest::keyClicks(view->answerField(first), "main");
        start = Clock::now();
        view->saveButton(first)->click();
        settle(window);
        figures.emplace_back("answer the first question", millisecondsSince(start));
    }

    return figures;
}

} // namespace
} // namespace quillmere

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::size_t questions = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10'000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    std::vector<std::pair<const char*, std::vector<double>>> samples;
    for (int round = 0; round < rounds; ++round) {
        const quillmere::Figures figures = quillmere::measureOnce(questions);
        samples.resize(figures.size());
        for (std::size_t index = 0; index < figures.size(); ++index) {
            samples[index].first = figures[index].first;
            samples[index].second.push_back(figures[index].second);
        }
    }
    std::printf("%zu open agent questions, median of %d rounds:\n", questions, rounds);
    for (auto& [name, values] : samples) {
        std::sort(values.begin(), values.end());
        std::printf("  %-36s %9.1f ms  (min %.1f, max %.1f)\n", name, values[values.size() / 2], values.front(),
                    values.back());
    }
    return 0;
}
