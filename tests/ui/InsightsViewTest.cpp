// SPDX-License-Identifier: GPL-3.0-or-later
// The Insights tab as a user meets it: the explanation before the first
// session, the figures and the charts' spoken descriptions of a small
// history, the period chooser driven by the keyboard, Tab reaching every
// chart, and the export writing its file or saying why it could not.

#include "MainWindow.h"
#include "insights/FocusChart.h"
#include "insights/HourHeatMap.h"
#include "insights/InsightsView.h"
#include "insights/RatingsChart.h"

#include "UiTestSupport.h"

#include <QComboBox>
#include <QLocale>

#include <cstdlib>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using namespace uitest;

WorkSession session(Instant start, std::chrono::minutes length, std::optional<CompletionResult> judgement,
                    std::int64_t energy, std::int64_t morale)
{
    WorkSession session;
    session.id = Uuid::generate();
    session.plan = SessionPlan::blank(Uuid::generate());
    session.plan.energy = energy;
    session.plan.morale = morale;
    session.startedAt = start;
    session.plannedDurationSeconds = 1500;
    session.endedAt = start + length;
    if (judgement) {
        session.review = SessionReview{Uuid::generate(), *judgement, "", "", ""};
    }
    return session;
}

Block completed(std::vector<WorkSession> sessions)
{
    Block block = Block::defaultBlock(sessions.front().startedAt - 5min);
    for (std::size_t index = 0; index < sessions.size(); ++index) {
        sessions[index].number = static_cast<std::int64_t>(index) + 1;
    }
    block.completedAt = *sessions.back().endedAt + 5min;
    block.reflection = BlockReview{"Output", "", "", "", ""};
    block.sessions = std::move(sessions);
    return block;
}

class InsightsViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Days and hours in UTC, and British dates, weeks from Monday and a
        // 24-hour clock, whatever the machine uses.
        savedZone_ = qgetenv("TZ");
        qputenv("TZ", "UTC");
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        harness.clock.now = utcInstant(2026, 3, 11, 18, 0, 0); // a Wednesday
    }
    void TearDown() override
    {
        window.reset();
        QLocale::setDefault(QLocale::c());
        if (savedZone_.isNull()) {
            qunsetenv("TZ");
        } else {
            qputenv("TZ", savedZone_);
        }
    }

    // Yesterday two sessions, nine days ago two more, and two months ago one.
    void seedHistory()
    {
        harness.model->editState([](QuillmereState& state) {
            state.blockHistory = {
                completed({session(utcInstant(2026, 3, 10, 9, 0, 0), 54min, CompletionResult::yes, 4, 5),
                           session(utcInstant(2026, 3, 10, 10, 0, 0), 25min, CompletionResult::no, 2, 3)}),
                completed({session(utcInstant(2026, 3, 2, 14, 0, 0), 60min, CompletionResult::half, 5, 1),
                           session(utcInstant(2026, 3, 2, 15, 10, 0), 30min, std::nullopt, 5, 1)}),
                completed({session(utcInstant(2026, 1, 10, 11, 0, 0), 30min, CompletionResult::yes, 3, 3)}),
            };
        });
    }

    InsightsView* open()
    {
        harness.model->setSelectedTab(MainWindowTab::insights);
        window = std::make_unique<MainWindow>(*harness.model);
        showActive(*window);
        QApplication::processEvents();
        return window->insightsView();
    }

    template <class Widget>
    static Widget* shown(QWidget* root)
    {
        Widget* widget = root->findChild<Widget*>();
        return widget != nullptr && widget->isVisibleTo(root) ? widget : nullptr;
    }

    ModelHarness harness;
    std::unique_ptr<MainWindow> window;

private:
    QByteArray savedZone_;
};

TEST_F(InsightsViewTest, ExplainsItselfBeforeTheFirstSessionAndFollowsARunningOne)
{
    InsightsView* view = open();
    EXPECT_TRUE(visibleTexts(view).contains("No focus sessions yet"));
    EXPECT_EQ(shown<FocusChart>(view), nullptr);
    EXPECT_EQ(shown<RatingsChart>(view), nullptr);
    EXPECT_EQ(shown<HourHeatMap>(view), nullptr);

    // The first session, started while the tab is shown, brings the charts,
    // and its focus is counted as it runs, without any other change.
    AppModel& model = *harness.model;
    model.beginBlock();
    model.startBlock(Block::defaultBlock(model.now()));
    model.startFocus(SessionPlan::blank(Uuid::generate()));
    QApplication::processEvents();
    EXPECT_FALSE(visibleTexts(view).contains("No focus sessions yet"));
    EXPECT_NE(shown<FocusChart>(view), nullptr);
    EXPECT_TRUE(visibleTexts(view).contains("0.0 h"));
    harness.clock.now += 20min;
    model.tick(harness.clock.now);
    QApplication::processEvents();
    EXPECT_TRUE(visibleTexts(view).contains("0.3 h")) << str(visibleTexts(view).join(" | "));
}

TEST_F(InsightsViewTest, FiguresAndChartDescriptionsSayWhatEachPeriodHolds)
{
    seedHistory();
    InsightsView* view = open();
    auto* period = view->findChild<QComboBox*>();
    ASSERT_NE(period, nullptr);
    EXPECT_EQ(str(period->currentText()), "Last 4 weeks");

    const struct {
        const char* period;
        QStringList figures;
        const char* chartName;
        std::vector<const char*> focus;
        std::vector<const char*> ratings;
        std::vector<const char*> hours;
    } cases[] = {
        {"Last 4 weeks",
         {"2.8 h", "4", "sessions completed", "33%", "of targets met in 3 reviewed sessions", "1 day",
          "current streak, longest 1 day"},
         "Focus per day",
         {"Focus per day, 12 Feb 2026 to 11 Mar 2026: ", "Mon 2 Mar: 90 minutes, 0% of targets met",
          "Tue 10 Mar: 79 minutes, 50% of targets met", "no focus on the other days"},
         {"week of 2 Mar 2026: energy 5.0, morale 1.0", "week of 9 Mar 2026: energy 3.0, morale 4.0"},
         {"Busiest hours: Monday from 14:00: 60 minutes; Tuesday from 09:00: 54 minutes; Monday from 15:00: 30 "
          "minutes.",
          "Per weekday: Monday 1.5 hours, Tuesday 1.3 hours; no focus on the other weekdays."}},
        {"Last 7 days",
         {"1.3 h", "2", "sessions completed", "50%", "of targets met in 2 reviewed sessions"},
         "Focus per day",
         {"Focus per day, 5 Mar 2026 to 11 Mar 2026: Tue 10 Mar: 79 minutes, 50% of targets met; no focus on "
          "the other days."},
         {"week of 9 Mar 2026: energy 3.0, morale 4.0"},
         {"Per weekday: Tuesday 1.3 hours; no focus on the other weekdays."}},
        {"Last 12 months",
         {"3.3 h", "5", "sessions completed", "50%", "of targets met in 4 reviewed sessions"},
         "Focus per week",
         {"week of 5 Jan 2026: 0.5 hours, 100% of targets met", "week of 2 Mar 2026: 1.5 hours, 0% of targets met",
          "week of 9 Mar 2026: 1.3 hours, 50% of targets met", "no focus in the other weeks"},
         {"week of 5 Jan 2026: energy 3.0, morale 3.0"},
         {"Per weekday: Monday 1.5 hours, Tuesday 1.3 hours, Saturday 0.5 hours;"}},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.period);
        // Chosen with the keyboard, as the combo box's list runs.
        period->setFocus();
        while (period->currentText() != expected.period) {
            const int target = period->findText(expected.period);
            ASSERT_GE(target, 0);
            QTest::keyClick(period, target < period->currentIndex() ? Qt::Key_Up : Qt::Key_Down);
        }
        QApplication::processEvents();
        const QStringList texts = visibleTexts(view);
        for (const QString& figure : expected.figures) {
            EXPECT_TRUE(texts.contains(figure)) << str(figure) << " among " << str(texts.join(" | "));
        }
        FocusChart* focus = shown<FocusChart>(view);
        ASSERT_NE(focus, nullptr);
        EXPECT_EQ(str(focus->accessibleName()), expected.chartName);
        EXPECT_TRUE(texts.contains(expected.chartName)) << "the chart's heading";
        for (const char* part : expected.focus) {
            EXPECT_TRUE(focus->accessibleDescription().contains(part)) << str(focus->accessibleDescription());
        }
        for (const char* part : expected.ratings) {
            const QString description = shown<RatingsChart>(view)->accessibleDescription();
            EXPECT_TRUE(description.contains(part)) << str(description);
        }
        for (const char* part : expected.hours) {
            const QString description = shown<HourHeatMap>(view)->accessibleDescription();
            EXPECT_TRUE(description.contains(part)) << str(description);
        }
    }

    // A period without a session, in a history that has some, says so.
    harness.clock.now += std::chrono::days{30};
    period->setCurrentIndex(period->findText("Last 7 days"));
    QApplication::processEvents();
    EXPECT_TRUE(visibleTexts(view).contains(
        "No focus in the last 7 days. A longer period shows your earlier sessions."));
    EXPECT_TRUE(visibleTexts(view).contains("0.0 h"));
}

TEST_F(InsightsViewTest, TabReachesEveryChartInTheOrderShown)
{
    seedHistory();
    InsightsView* view = open();
    auto* period = view->findChild<QComboBox*>();
    period->setFocus();
    QList<QWidget*> reached;
    for (int step = 0; step < 8 && reached.size() < 3; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        if (qobject_cast<FocusChart*>(focused) || qobject_cast<RatingsChart*>(focused) ||
            qobject_cast<HourHeatMap*>(focused)) {
            reached << focused;
        }
    }
    ASSERT_EQ(reached.size(), 3);
    EXPECT_NE(qobject_cast<FocusChart*>(reached[0]), nullptr);
    EXPECT_NE(qobject_cast<RatingsChart*>(reached[1]), nullptr);
    EXPECT_NE(qobject_cast<HourHeatMap*>(reached[2]), nullptr);
}

TEST_F(InsightsViewTest, ExportWritesTheFileOrSaysWhyNotAndLeavesNothingBehind)
{
    seedHistory();
    InsightsView* view = open();
    fixtures::TempFolder folder;
    std::filesystem::create_directory(folder.path() / "a folder");
    fixtures::writeFile(folder.path() / "kept.csv", "already here");
    const struct {
        const char* name;
        std::filesystem::path path;
        ExportFormat format;
        bool replaceExisting;
        const char* status;
        // What the path holds afterwards: the file's first bytes, or none
        // when no file may be there.
        std::optional<std::string> startOfFile;
    } cases[] = {
        {"CSV", folder.path() / "export.csv", ExportFormat::csv, true, "Exported to ", ""},
        {"JSON", folder.path() / "export.json", ExportFormat::json, true, "Exported to ", "["},
        {"into a folder that does not exist", folder.path() / "missing" / "export.csv", ExportFormat::csv, true,
         "The export failed: ", std::nullopt},
        {"over a folder", folder.path() / "a folder", ExportFormat::csv, true, "The export failed: ", std::nullopt},
        {"over a file it must not replace", folder.path() / "kept.csv", ExportFormat::csv, false,
         "Nothing was exported: ", "already here"},
    };
    for (const auto& attempt : cases) {
        SCOPED_TRACE(attempt.name);
        const QString path = QString::fromStdString(attempt.path.string());
        view->exportTo(path, attempt.format, attempt.replaceExisting);
        QString status;
        ASSERT_TRUE(QTest::qWaitFor([&] {
            for (const QString& text : visibleTexts(view)) {
                if (text.startsWith(attempt.status)) {
                    status = text;
                    return true;
                }
            }
            return false;
        }));
        EXPECT_TRUE(status.contains(path)) << str(status);
        if (attempt.startOfFile) {
            ASSERT_TRUE(std::filesystem::is_regular_file(attempt.path));
            EXPECT_GT(std::filesystem::file_size(attempt.path), 0u);
            EXPECT_TRUE(fixtures::contents(attempt.path).starts_with(*attempt.startOfFile));
        } else {
            EXPECT_FALSE(std::filesystem::is_regular_file(attempt.path));
        }
    }
    // Only what was written is there: no temporary file outlived a failure.
    EXPECT_EQ(fixtures::TempFolder::entries(folder.path()),
              (std::vector<std::string>{"a folder", "export.csv", "export.json", "kept.csv"}));
    EXPECT_TRUE(fixtures::TempFolder::entries(folder.path() / "a folder").empty());
}

} // namespace
} // namespace quillmere
