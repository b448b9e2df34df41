// SPDX-License-Identifier: GPL-3.0-or-later
// A whole two-cycle block run through the model while the disk fails under
// it: at every step one save of state.json fails (a write, a flush or the
// rename, with ENOSPC or EIO, once or several times in a row), injected by
// the preloaded fault shim. After every failure the old file must still load,
// the change must be kept in memory, the user must have seen one clear
// message, and the save must be retried until it lands.

#include "FaultShim.h"
#include "ModelFakes.h"
#include "StateFixtures.h"
#include "TempFolder.h"
#include "WidgetPublisher.h"

#include "quillmere/StateCoding.h"
#include "quillmere/WidgetSnapshotStore.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <functional>

namespace quillmere {
namespace {

using namespace std::chrono_literals;

struct Fault {
    const char* operation;
    int error;
    int times;
};

// Every kind of failure of the one durable write, in turn.
constexpr Fault faults[] = {
    {"write", ENOSPC, 1}, {"fsync", EIO, 1},    {"rename", EIO, 1},   {"write", EIO, 3},
    {"fsync", ENOSPC, 2}, {"rename", ENOSPC, 4}, {"write", ENOSPC, 6},
};

class FaultInjection : public ::testing::Test {
protected:
    FaultInjection()
    {
        clock.now += 430ms;
        auto notifications = std::make_unique<fakes::RecordingNotifications>();
        auto publisher = std::make_unique<WidgetPublisher>(WidgetSnapshotStore(folder.path() / "group"),
                                                           [](std::string_view) {}, [](std::string_view) {});
        model = std::make_unique<AppModel>(
            StateStore(stateFolder(), clock.function()),
            AppModel::Collaborators{std::move(notifications), std::move(publisher), clock.function(), nullptr,
                                    std::chrono::milliseconds::zero()},
            clock.now, false);
    }

    std::filesystem::path stateFolder() const { return folder.path() / "state"; }
    std::filesystem::path stateFile() const { return stateFolder() / "state.json"; }

    void advance(std::chrono::nanoseconds by)
    {
        clock.now += by;
        model->tick(clock.now);
    }

    // Runs `step` while the next save of state.json fails as `fault` says,
    // and checks what the user and the files see until the save lands.
    void failingStep(const char* name, const Fault& fault, const std::function<void()>& step)
    {
        SCOPED_TRACE(std::string(name) + ": " + fault.operation + " fails with " + std::strerror(fault.error) +
                     " " + std::to_string(fault.times) + " time(s)");
        const auto before = readWholeFile(stateFile());
        const QuillmereState stateBefore = model->state();
        QSignalSpy errors(model.get(), &AppModel::lastErrorChanged);
        const int injectedBefore = injected();
        arm(fault.operation, ".state.json.", fault.error, fault.times);

        step();
        ASSERT_EQ(injected(), injectedBefore + 1) << "the step saved nothing";
        EXPECT_NE(model->state(), stateBefore) << "the change is kept in memory";
        EXPECT_TRUE(model->hasPendingSave());
        EXPECT_EQ(readWholeFile(stateFile()), before) << "the old file stays whole";
        if (before) {
            EXPECT_TRUE(StateStore(stateFolder()).load()) << "and loads";
        }
        const QString message = model->lastError();
        EXPECT_TRUE(message.contains(QString::fromStdString(stateFile().string()))) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(std::strerror(fault.error)))) << message.toStdString();

        // Retried on the tick until it lands, with one alert all along.
        for (int second = 0; second < 200 && model->hasPendingSave(); ++second) {
            advance(1s);
        }
        EXPECT_FALSE(model->hasPendingSave());
        EXPECT_EQ(injected(), injectedBefore + fault.times);
        EXPECT_EQ(*StateStore(stateFolder()).load(), fixtures::truncatedToWholeSeconds(model->state()));
        EXPECT_TRUE(model->lastError().isEmpty()) << "the alert goes once the save lands";
        EXPECT_EQ(errors.count(), 2) << "one message, shown and then taken back";
    }

    void arm(const char* operation, const char* pathPart, int error, int count)
    {
        reinterpret_cast<QuillmereFaultArm>(::dlsym(RTLD_DEFAULT, "quillmere_fault_arm"))(operation, pathPart, error,
                                                                                         count);
    }
    static int injected()
    {
        return reinterpret_cast<QuillmereFaultsInjected>(::dlsym(RTLD_DEFAULT, "quillmere_faults_injected"))();
    }

    fixtures::TempFolder folder;
    fakes::FakeClock clock;
    std::unique_ptr<AppModel> model;
};

TEST_F(FaultInjection, EverySaveOfAWholeBlockSurvivesAFailingDisk)
{
    if (::dlsym(RTLD_DEFAULT, "quillmere_fault_arm") == nullptr) {
        GTEST_SKIP() << "run with the fault shim preloaded (ctest does)";
    }
    Block block = Block::defaultBlock(clock.now);
    block.cycleCount = 2;
    block.outcomes[0].title = "Parser works";
    SessionPlan plan = SessionPlan::blank(Uuid::generate());
    plan.intendedOutcome = "Draft the lexer";
    const SessionReview review{Uuid::generate(), CompletionResult::half, "Lexer half done", "", ""};
    const BlockReview reflection{"A lexer", "Faster", "Escapes", "Tests first", "Plan smaller"};

    const std::pair<const char*, std::function<void()>> steps[] = {
        {"ask a question", [&] { model->addQuestion("Which branch?"); }},
        {"plan a block", [&] { model->beginBlock(); }},
        {"type into the block", [&] { model->saveBlockDraft(block); }},
        {"start the block", [&] { model->startBlock(block); }},
        {"type the plan", [&] { model->saveSessionPlanDraft(plan); }},
        {"start focus", [&] { model->startFocus(std::nullopt); }},
        {"pause", [&] { model->pauseOrResumeFocus(); }},
        {"resume", [&] { advance(60s); model->pauseOrResumeFocus(); }},
        {"the focus ends on the tick", [&] {
             while (model->state().workflowState == WorkflowState::focusing) {
                 advance(1s);
             }
         }},
        {"review and break", [&] { model->saveReview(review, plan); }},
        {"the break ends on the tick", [&] {
             while (!model->state().breakEndNotifiedAt) {
                 advance(1s);
             }
         }},
        {"extend the break", [&] { model->extendBreak(); }},
        {"answer the question", [&] { model->answerQuestion(model->state().agentQuestions[0].id, "main"); }},
        {"end the break", [&] { model->endBreak(); }},
        {"start the second focus", [&] { model->startFocus(std::nullopt); }},
        {"end it early", [&] { advance(100s); model->endFocus(); }},
        {"the last review", [&] { model->saveReview(review, std::nullopt); }},
        {"type the reflection", [&] { model->saveBlockReviewDraft(reflection); }},
        {"complete the block", [&] { model->completeBlock(reflection); }},
    };
    std::size_t next = 0;
    for (const auto& [name, step] : steps) {
        failingStep(name, faults[next++ % std::size(faults)], step);
        if (HasFatalFailure()) {
            return;
        }
    }
    const QuillmereState done = *StateStore(stateFolder()).load();
    EXPECT_EQ(done.workflowState, WorkflowState::idle);
    ASSERT_EQ(done.blockHistory.size(), 1u);
    EXPECT_EQ(done.blockHistory[0].sessions.size(), 2u);
    EXPECT_EQ(done.agentQuestions[0].answer, "main");
}

} // namespace
} // namespace quillmere
