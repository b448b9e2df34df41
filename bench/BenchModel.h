#pragma once

#include "AppModel.h"
#include "ModelFakes.h"

#include "quillmere/StateCoding.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace quillmere::bench {

// The model as the application builds it at start-up, over a state file a
// benchmark prepares in a private temporary folder, with notifications and
// the widget kept out of the way. The folder goes with it.
class BenchModel {
public:
    BenchModel(const QuillmereState& state, Instant now)
        : folder_(std::filesystem::temp_directory_path() / ("quillmere-bench-" + std::to_string(::getpid())))
    {
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        std::ofstream(folder_ / "state.json") << encodeState(state).value();
        model_ = std::make_unique<AppModel>(
            StateStore(folder_),
            AppModel::Collaborators{std::make_unique<fakes::RecordingNotifications>(),
                                    std::make_unique<TestHostWidgetPublisher>(), nullptr, nullptr},
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
