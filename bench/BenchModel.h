#pragma once

#include "AppModel.h"
#include "ModelFakes.h"
#include "StateFixtures.h"

#include "quillmere/StateCoding.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace quillmere::bench {

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

// The model as the application builds it at start-up, over a state file a
// benchmark prepares in a private temporary folder, with notifications and
// the widget kept out of the way. The folder goes with it.
class BenchModel {
public:
    // `widgets` absent: none, so that only the model is measured.
    BenchModel(const QuillmereState& state, Instant now, std::unique_ptr<WidgetPublishing> widgets = nullptr)
        : folder_(std::filesystem::temp_directory_path() / ("quillmere-bench-" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        std::ofstream(folder_ / "state.json") << encodeState(state).value();
        model_ = std::make_unique<AppModel>(
            StateStore(folder_),
            AppModel::Collaborators{std::make_unique<fakes::RecordingNotifications>(),
                                    widgets ? std::move(widgets) : std::make_unique<TestHostWidgetPublisher>(),
                                    nullptr, nullptr},
            now, false);
    }
    ~BenchModel()
    {
        model_.reset();
        std::filesystem::remove_all(folder_);
    }
    BenchModel(const BenchModel&) = delete;
    BenchModel& operator=(const BenchModel&) = delete;

    AppModel& model() { return *model_; }
    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
    std::unique_ptr<AppModel> model_;
};

} // namespace quillmere::bench
