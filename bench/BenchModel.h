// SPDX-License-Identifier: GPL-3.0-or-later
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

// The model as the application builds it at start-up (writing in the
// background), over a state file a
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
        AppModel::Collaborators collaborators{
            std::make_unique<fakes::RecordingNotifications>(),
            widgets ? std::move(widgets) : std::make_unique<TestHostWidgetPublisher>(), nullptr, nullptr};
        collaborators.writeInBackground = true;
        model_ = std::make_unique<AppModel>(StateStore(folder_), std::move(collaborators), now, false);
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
