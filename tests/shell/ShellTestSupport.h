// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A model on a temporary folder whose main window only counts how often it
// is shown, and a way to put it into a running focus.

#include "ModelFakes.h"
#include "TempFolder.h"

#include <QApplication>

#include <memory>

namespace quillmere::shelltest {

struct ModelWithCountingWindow {
    ModelWithCountingWindow()
    {
        AppModel::Collaborators collaborators{
            std::make_unique<fakes::RecordingNotifications>(), std::make_unique<fakes::RecordingPublisher>(),
            clock.function(), [this](AppModel&) { return std::make_unique<fakes::CountingWindow>(presented); },
            std::chrono::milliseconds::zero()};
        model = std::make_unique<AppModel>(StateStore(folder.path(), clock.function()), std::move(collaborators),
                                           clock.now, false);
    }

    // A block with its first focus running from now on (25 minutes).
    void startFocus()
    {
        model->beginBlock();
        model->startBlock(Block::defaultBlock(clock.now));
        SessionPlan plan = SessionPlan::blank(Uuid::generate());
        plan.intendedOutcome = "Draft the parser";
        model->startFocus(plan);
    }

    void advance(std::chrono::seconds by)
    {
        clock.now += by;
        model->tick(clock.now);
    }

    fixtures::TempFolder folder;
    fakes::FakeClock clock;
    int presented = 0;
    std::unique_ptr<AppModel> model;
};

} // namespace quillmere::shelltest
