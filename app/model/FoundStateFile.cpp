// SPDX-License-Identifier: GPL-3.0-or-later
#include "FoundStateFile.h"

#include "LocalText.h"
#include "SystemLog.h"

#include <QStringList>

#include <ranges>

namespace quillmere {
namespace {

QString path(const std::filesystem::path& file)
{
    return QString::fromStdString(file.string());
}

} // namespace

QuillmereState FoundStateFile::load(const StateStore& store, Instant now)
{
    auto loaded = store.loadNotingUnknownMembers();
    if (!loaded) {
        loadError_ = tr("Quillmere could not read its saved state: %1").arg(qtText(loaded.error().description()));
        unreadable_ = store.stateFileExists();
        return QuillmereState::initial(now);
    }
    unknownMembers_ = std::move(loaded->unknownMembers);
    return std::move(loaded->state);
}

std::expected<FoundStateFile::Kept, SaveTroubles::Trouble> FoundStateFile::keepBeforeSave(const StateStore& store,
                                                                                         Instant at)
{
    using Trouble = SaveTroubles::Trouble;
    Kept kept;
    if (unreadable_) {
        const auto moved = store.keepUnreadableStateFile(at);
        if (!moved) {
            // Saving now would destroy the only copy: refuse until it can be kept.
            const char* source =
                QT_TR_NOOP("Quillmere could not keep its unreadable state file (%1), so nothing was saved.");
            return std::unexpected(Trouble::worded(source, tr(source), qtText(moved.error().description())));
        }
        unreadable_ = false;
        if (*moved) {
            kept.alert = tr("%1 The unreadable file was kept as %2.").arg(sentence(loadError_), path(**moved));
        }
    }
    if (unknownMembers_.empty()) {
        return kept;
    }
    const auto copied = store.keepNewerStateFile(at);
    if (!copied) {
        const char* source = QT_TR_NOOP("Quillmere could not keep a copy of its state file, which holds data from a "
                                        "newer version (%1), so nothing was saved.");
        return std::unexpected(Trouble::worded(source, tr(source), qtText(copied.error().description())));
    }
    constexpr std::size_t namesShown = 3;
    QStringList names;
    for (const std::string& member : unknownMembers_ | std::views::take(namesShown)) {
        names << qtText(member);
    }
    const QString shown = names.join(QStringLiteral(", "));
    const auto more = static_cast<int>(unknownMembers_.size() - static_cast<std::size_t>(names.size()));
    const QString logged = more > 0 ? QStringLiteral("%1 and %2 more").arg(shown).arg(more) : shown;
    writeSystemLog("Quillmere: state.json holds members this version does not know (" + logged.toStdString() +
                   "); kept a copy as " + copied->string());
    unknownMembers_.clear();
    kept.notice = tr("Your state file held data from a newer version of Quillmere (%1), which this version cannot "
                     "keep. A copy of the file was kept as %2.")
                      .arg(more > 0 ? tr("%1 and %n more", "members of the state file", more).arg(shown) : shown,
                           path(*copied));
    return kept;
}

} // namespace quillmere
