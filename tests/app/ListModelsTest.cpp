// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModelOnDisk.h"

#include "AgentQuestionListModel.h"
#include "HistoryListModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using namespace std::chrono_literals;

// What a view was told of one change: the rows inserted, removed and changed
// as "first-last" ranges, and whether it had to start over.
struct Told {
    std::vector<std::string> inserted;
    std::vector<std::string> removed;
    std::vector<std::string> changed;
    bool reset = false;

    friend bool operator==(const Told&, const Told&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Told& told)
    {
        const auto list = [&](const char* name, const std::vector<std::string>& ranges) {
            out << name << " {";
            for (const std::string& range : ranges) {
                out << ' ' << range;
            }
            out << " } ";
        };
        list("inserted", told.inserted);
        list("removed", told.removed);
        list("changed", told.changed);
        return out << (told.reset ? "reset" : "");
    }
};

// Listens to a list model as a view would, checking every rule of item
// models on the way.
class Listener {
public:
    explicit Listener(QAbstractItemModel& model)
        : tester_(&model, QAbstractItemModelTester::FailureReportingMode::Fatal)
    {
        const auto range = [](int first, int last) { return std::to_string(first) + "-" + std::to_string(last); };
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, &context_,
                         [=, this](const QModelIndex&, int first, int last) { told.inserted.push_back(range(first, last)); });
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, &context_,
                         [=, this](const QModelIndex&, int first, int last) { told.removed.push_back(range(first, last)); });
        QObject::connect(&model, &QAbstractItemModel::dataChanged, &context_,
                         [=, this](const QModelIndex& from, const QModelIndex& to) {
                             told.changed.push_back(range(from.row(), to.row()));
                         });
        QObject::connect(&model, &QAbstractItemModel::modelReset, &context_, [this] { told.reset = true; });
    }

    Told told;

private:
    QAbstractItemModelTester tester_;
    QObject context_;
};

std::vector<std::string> column(const QAbstractItemModel& model, int role)
{
    std::vector<std::string> values;
    for (int row = 0; row < model.rowCount(); ++row) {
        values.push_back(model.index(row, 0).data(role).toString().toStdString());
    }
    return values;
}

std::vector<std::string> blockIds(const QuillmereState& state)
{
    std::vector<std::string> ids;
    for (const Block& block : state.blockHistory) {
        ids.push_back(block.id.toString());
    }
    return ids;
}

class ListModelsTest : public fixtures::ModelOnDisk {};

// One history edit after another, as the history editor and completed
// blocks make them; the list must end up showing the history, having told
// its view only what changed.
TEST_F(ListModelsTest, TheHistoryListRedoesOnlyTheRowsThatChanged)
{
    writeState(fixtures::planningWithHistory(5, clock.now));
    auto model = makeModel();
    HistoryListModel list(*model);
    Listener listener(list);
    ASSERT_EQ(column(list, HistoryListModel::IdRole), blockIds(model->state()));

    using Edit = std::function<void(std::vector<Block>&)>;
    const auto block = [&](const char* title) {
        Block block = Block::defaultBlock(clock.now);
        block.outcomes.front().title = title;
        block.completedAt = clock.now;
        return block;
    };
    struct Case {
        const char* name;
        Edit edit;
        Told told;
    };
    const Case cases[] = {
        {"a block completed", [&](auto& history) { history.insert(history.begin(), block("new")); }, {{"0-0"}}},
        {"an outcome retitled", [](auto& history) { history[2].outcomes.front().title = "renamed"; },
         {{}, {}, {"2-2"}}},
        {"a session removed", [](auto& history) { history[3].sessions.pop_back(); }, {{}, {}, {"3-3"}}},
        {"a text the list does not show", [](auto& history) { history[1].whyValue = "not shown"; }, {}},
        {"two blocks removed", [](auto& history) { history.erase(history.begin() + 1, history.begin() + 3); },
         {{}, {"1-2"}}},
        {"one removed, two added, one changed",
         [&](auto& history) {
             history.erase(history.begin());
             history.insert(history.begin() + 1, {block("a"), block("b")});
             history.back().completedAt = clock.now + 1h;
         },
         {{"1-2"}, {"0-0"}, {"4-4"}}},
        {"two blocks swapped", [](auto& history) { std::swap(history[0], history[1]); }, {{}, {}, {}, true}},
        {"everything gone", [](auto& history) { history.clear(); }, {{}, {"0-4"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        listener.told = {};
        model->editState(StatePart::history, [&](QuillmereState& state) { c.edit(state.blockHistory); });
        EXPECT_EQ(listener.told, c.told);
        EXPECT_EQ(column(list, HistoryListModel::IdRole), blockIds(model->state()));
    }
}

TEST_F(ListModelsTest, TheHistoryListShowsWhatABlockWasAndIgnoresTheWorkInHand)
{
    auto model = modelIn(WorkflowState::breaking);
    HistoryListModel list(*model);
    Listener listener(list);
    EXPECT_EQ(list.rowCount(), 0);
    model->endBreak();
    model->saveSessionPlanDraft(plan("typing"));
    EXPECT_EQ(listener.told, Told{}) << "the work in hand is not the history's business";

    model->startFocus(std::nullopt);
    model->endFocus();
    model->saveReview(review(), std::nullopt);
    model->completeBlock(BlockReview{});
    ASSERT_EQ(list.rowCount(), 1);
    const QModelIndex row = list.index(0);
    EXPECT_EQ(listener.told, (Told{{"0-0"}}));
    EXPECT_EQ(row.data(HistoryListModel::TitleRole), row.data(Qt::DisplayRole));
    EXPECT_EQ(row.data(HistoryListModel::OutcomesRole).toStringList(), QStringList{QString()});
    EXPECT_EQ(row.data(HistoryListModel::CompletedAtRole).toDateTime(),
              QDateTime::fromSecsSinceEpoch(
                  std::chrono::floor<std::chrono::seconds>(clock.now).time_since_epoch().count(), Qt::UTC));
    EXPECT_EQ(row.data(HistoryListModel::SessionsRole).toInt(), 2);
    EXPECT_EQ(row.data(HistoryListModel::CycleCountRole).toInt(), 2);
    EXPECT_EQ(row.data(HistoryListModel::IdRole).toString().toStdString(),
              model->state().blockHistory.front().id.toString());
}

TEST_F(ListModelsTest, TheQuestionListFollowsAskingAndAnswering)
{
    auto model = modelIn(WorkflowState::focusing);
    AgentQuestionListModel list(*model);
    Listener listener(list);
    using Step = std::function<void()>;
    struct Case {
        const char* name;
        Step step;
        Told told;
    };
    const Case cases[] = {
        {"the user adds one", [&] { model->addQuestion("Which branch?"); }, {{"0-0"}}},
        {"a program asks one", [&] { ASSERT_TRUE(model->askQuestion("Merge now?", "ci")); }, {{"1-1"}}},
        {"the first answered", [&] { model->answerQuestion(model->state().agentQuestions[0].id, "main"); },
         {{}, {}, {"0-0"}}},
        {"a tick", [&] { model->tick(clock.now + 1s); }, {}},
        {"one asked with a word changed", [&] {
             model->editState(StatePart::questions, [](QuillmereState& s) { s.agentQuestions[1].question = "Merge?"; });
         }, {{}, {}, {"1-1"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        listener.told = {};
        c.step();
        EXPECT_EQ(listener.told, c.told);
    }
    const auto at = [&](int row, int role) { return list.index(row).data(role); };
    EXPECT_EQ(column(list, AgentQuestionListModel::TextRole), (std::vector<std::string>{"Which branch?", "Merge?"}));
    EXPECT_EQ(column(list, AgentQuestionListModel::AskerRole), (std::vector<std::string>{"", "ci"}));
    EXPECT_EQ(column(list, AgentQuestionListModel::AnswerRole), (std::vector<std::string>{"main", ""}));
    EXPECT_FALSE(at(0, AgentQuestionListModel::OpenRole).toBool());
    EXPECT_TRUE(at(1, AgentQuestionListModel::OpenRole).toBool());
    EXPECT_TRUE(at(0, AgentQuestionListModel::AnsweredAtRole).toDateTime().isValid());
    EXPECT_FALSE(at(1, AgentQuestionListModel::AnsweredAtRole).toDateTime().isValid());
    EXPECT_EQ(at(1, AgentQuestionListModel::AskedAtRole).toDateTime().toSecsSinceEpoch(),
              std::chrono::floor<std::chrono::seconds>(clock.now).time_since_epoch().count());
    EXPECT_EQ(at(1, AgentQuestionListModel::IdRole).toString().toStdString(),
              model->state().agentQuestions[1].id.toString());
}

} // namespace
} // namespace quillmere
