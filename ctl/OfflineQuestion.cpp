// SPDX-License-Identifier: GPL-3.0-or-later
#include "OfflineQuestion.h"

#include "quillmere/AgentQuestions.h"
#include "quillmere/StateFolderLock.h"
#include "quillmere/StateStore.h"

#include <QCoreApplication>

namespace quillmere {

std::expected<Uuid, OfflineQuestion::Failure> OfflineQuestion::ask(const std::filesystem::path& folder,
                                                                   const std::string& text, const std::string& asker,
                                                                   Instant now)
{
    using Kind = Failure::Kind;
    // Held only for this one read and write, so that a Quillmere starting
    // meanwhile finds the folder free again at once.
    auto lock = StateFolderLock::acquire(folder);
    if (!lock) {
        return std::unexpected(
            Failure{lock.error().heldElsewhere ? Kind::folderBusy : Kind::failed, lock.error().description});
    }
    // The clock only stamps a fresh state when there is no file yet.
    const StateStore store(folder, [now] { return now; });
    auto loaded = store.loadNotingUnknownMembers();
    if (!loaded) {
        return std::unexpected(Failure{Kind::failed, loaded.error().description()});
    }
    // A newer Quillmere wrote what this one does not know; saving would drop it.
    if (!loaded->unknownMembers.empty()) {
        std::string names;
        for (const std::string& name : loaded->unknownMembers) {
            names += (names.empty() ? "" : ", ") + name;
        }
        return std::unexpected(Failure{
            Kind::failed, QCoreApplication::translate("quillmerectl", "%1 holds members that this version does not "
                                                                      "know (%2), so it is left as it is.")
                              .arg(QString::fromStdString(store.stateURL().string()), QString::fromStdString(names))
                              .toStdString()});
    }
    auto id = AgentQuestions::ask(loaded->state, text, asker, now);
    if (!id) {
        return std::unexpected(Failure{Kind::refused, AgentQuestions::message(id.error())});
    }
    // The state file is written first and holds the question; the agents'
    // export beside it is rebuilt by Quillmere at its next start anyway, so
    // failing only that one does not lose the question. Reporting it as lost
    // would make the asker ask twice.
    if (auto saved = store.save(loaded->state); !saved && saved.error().file != store.agentStateURL()) {
        return std::unexpected(Failure{Kind::failed, saved.error().description()});
    }
    return *id;
}

} // namespace quillmere
