// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ModelFakes.h"
#include "StateFixtures.h"
#include "TempFolder.h"

#include "AppModel.h"

#include "quillmere/AtomicFile.h"
#include "quillmere/StateCoding.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>

namespace quillmere::fixtures {

inline std::string fileContents(const std::filesystem::path& path)
{
    return readWholeFile(path).value_or("<missing>");
}

// A model on a temporary state folder, with recording collaborators.
class ModelOnDisk : public ::testing::Test {
protected:
    std::unique_ptr<AppModel> makeModel(std::chrono::milliseconds draftSaveDelay = std::chrono::milliseconds::zero())
    {
        auto notifications = std::make_unique<fakes::RecordingNotifications>();
        auto widgets = std::make_unique<fakes::RecordingPublisher>();
        this->notifications = notifications.get();
        this->widgets = widgets.get();
        AppModel::Collaborators collaborators{
            std::move(notifications), std::move(widgets), clock.function(),
            [this](AppModel&) {
                ++windowsBuilt;
                return std::make_unique<fakes::CountingWindow>(windowsPresented);
            },
            draftSaveDelay, elapsed, writeInBackground};
        return std::make_unique<AppModel>(StateStore(folder.path(), clock.function(), replaceItem),
                                          std::move(collaborators), clock.now, false);
    }

    // Replacements of the state file fail while `failingSaves` holds an
    // error; those of the agents' file too when `agentFileFails` is set.
    // While holdStateSaves() is in force, a replacement of the state file
    // waits (on the writer's thread) until releaseStateSaves().
    FileResult replace(const std::filesystem::path& temporary, const std::filesystem::path& destination)
    {
        const bool stateFile = destination.filename() == "state.json";
        if (stateFile) {
            std::unique_lock lock(gate);
            gateOpened.wait(lock, [this] { return !stateSavesHeld; });
        }
        if (failingSaves && (stateFile || agentFileFails)) {
            stateFile ? ++failedStateSaves : 0;
            return std::unexpected(FileError{"write", destination, std::make_error_code(*failingSaves)});
        }
        return renameReplacing(temporary, destination);
    }

    void holdStateSaves()
    {
        const std::lock_guard lock(gate);
        stateSavesHeld = true;
    }

    void releaseStateSaves()
    {
        {
            const std::lock_guard lock(gate);
            stateSavesHeld = false;
        }
        gateOpened.notify_all();
    }

    void writeState(const QuillmereState& state)
    {
        std::ofstream(folder.path() / "state.json") << encodeState(state).value();
    }

    std::filesystem::path stateFile() const { return folder.path() / "state.json"; }
    // The copy of the state file kept aside as "state.<label>-<time>.json",
    // when there is exactly one.
    std::optional<std::filesystem::path> keptFile(const std::string& label) const
    {
        std::optional<std::filesystem::path> kept;
        for (const std::string& name : TempFolder::entries(folder.path())) {
            if (name.starts_with("state." + label + "-")) {
                if (kept) {
                    return std::nullopt;
                }
                kept = folder.path() / name;
            }
        }
        return kept;
    }
    QuillmereState savedState() const { return decodeState(fileContents(stateFile())).value(); }

    // Drives a fresh model into the given phase of a two-cycle block.
    std::unique_ptr<AppModel> modelIn(WorkflowState phase)
    {
        std::filesystem::remove(stateFile()); // start from nothing, whatever ran before
        auto model = makeModel();
        Block block = Block::defaultBlock(clock.now);
        block.cycleCount = 2;
        model->beginBlock();
        model->startBlock(block);
        if (phase == WorkflowState::sessionPlanning) {
            return model;
        }
        model->startFocus(plan("first"));
        if (phase == WorkflowState::focusing) {
            return model;
        }
        model->endFocus();
        if (phase == WorkflowState::sessionReview) {
            return model;
        }
        model->saveReview(review(), plan("second"));
        EXPECT_EQ(model->state().workflowState, phase);
        return model;
    }

    static SessionPlan plan(const std::string& outcome)
    {
        SessionPlan plan = SessionPlan::blank(Uuid::generate());
        plan.intendedOutcome = outcome;
        return plan;
    }

    static SessionReview review()
    {
        return SessionReview{Uuid::generate(), CompletionResult::yes, "done", "", ""};
    }

    fixtures::TempFolder folder;
    fakes::FakeClock clock;
    ReplaceItem replaceItem = [this](const auto& temporary, const auto& destination) {
        return replace(temporary, destination);
    };
    std::optional<std::errc> failingSaves;
    bool agentFileFails = false;
    int failedStateSaves = 0;
    AppModel::ElapsedClock elapsed;
    bool writeInBackground = false;
    std::mutex gate;
    std::condition_variable gateOpened;
    bool stateSavesHeld = false;
    fakes::RecordingNotifications* notifications = nullptr;
    fakes::RecordingPublisher* widgets = nullptr;
    int windowsBuilt = 0;
    int windowsPresented = 0;
};

} // namespace quillmere::fixtures
