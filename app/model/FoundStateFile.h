// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SaveTroubles.h"

#include "quillmere/StateStore.h"

#include <QCoreApplication>
#include <QString>

#include <expected>
#include <optional>
#include <string>
#include <vector>

namespace quillmere {

// What start-up found at the state file's path that the first save must not
// destroy: a file that could not be read is moved aside (it may hold the
// user's whole history), one holding members this version does not know is
// copied, and the user is told where each went.
class FoundStateFile {
    Q_DECLARE_TR_FUNCTIONS(FoundStateFile)

public:
    // What a save has to tell the user about the files it kept.
    struct Kept {
        // For the alert: why the file could not be read, and where it went.
        std::optional<QString> alert;
        // For the notice: what the newer version's file held, and where its
        // copy is.
        std::optional<QString> notice;
    };

    // The stored state, or the initial one as of `now` when it cannot be
    // read; loadError() then says why.
    QuillmereState load(const StateStore& store, Instant now);
    // Empty when the state was read.
    const QString& loadError() const { return loadError_; }

    // Before every save: keeps what is owed, once. A refusal means the save
    // must not happen.
    [[nodiscard]] std::expected<Kept, SaveTroubles::Trouble> keepBeforeSave(const StateStore& store, Instant at);

private:
    bool unreadable_ = false;
    QString loadError_;
    std::vector<std::string> unknownMembers_;
};

} // namespace quillmere
