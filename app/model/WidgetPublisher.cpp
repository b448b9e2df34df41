// SPDX-License-Identifier: GPL-3.0-or-later
#include "WidgetPublisher.h"

#include "SystemLog.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

#include <string>

namespace quillmere {

WidgetPublisher::WidgetPublisher(std::optional<WidgetSnapshotStore> store, Reload reload, Log log,
                                 std::shared_ptr<BackgroundWriter> writer)
    : store_(std::move(store)),
      reload_(reload ? std::move(reload) : Reload(reloadThroughWidgetHost)),
      log_(log ? std::move(log) : Log(writeSystemLog)),
      writer_(writer ? std::move(writer)
                     : std::make_shared<BackgroundWriter>(BackgroundWriter::Mode::immediate,
                                                          [](BackgroundWriter::Then then) { then(); }))
{
}

WidgetPublisher::~WidgetPublisher()
{
    writer_->waitUntilIdle();
}

void WidgetPublisher::publish(const WidgetSnapshot& snapshot)
{
    if (!store_) {
        if (!reportedFailure_) {
            reportedFailure_ = true;
            log_("Quillmere: App Group " + std::string(QuillmereAppGroup::identifier) +
                 " is not reachable; the widget cannot update.");
        }
        return;
    }
    if (lastPublished_) {
        WidgetSnapshot restamped = snapshot;
        restamped.updatedAt = lastPublished_->updatedAt;
        if (restamped == *lastPublished_) {
            return;
        }
    }
    std::optional<WidgetSnapshot> previous = std::exchange(lastPublished_, snapshot);
    writer_->post(std::string(WidgetSnapshotStore::fileName),
                  [this, snapshot, previous = std::move(previous)]() -> BackgroundWriter::Then {
                      if (const FileResult saved = store_->save(snapshot); !saved) {
                          return [this, snapshot, previous, error = saved.error()] {
                              // The old file stays, so the same offer must
                              // be written again.
                              log_("Quillmere: could not write the widget snapshot: " + error.description());
                              lastPublished_ = lastPublished_ == snapshot ? previous : std::nullopt;
                          };
                      }
                      if (!rendersDifferently(snapshot, std::exchange(lastWritten_, snapshot))) {
                          return nullptr;
                      }
                      return [this] { reload_(QuillmereAppGroup::widgetKind); };
                  });
}

bool WidgetPublisher::rendersDifferently(const WidgetSnapshot& snapshot, const std::optional<WidgetSnapshot>& old)
{
    if (!old) {
        return true;
    }
    WidgetSnapshot comparable = snapshot;
    comparable.updatedAt = old->updatedAt;
    if (comparable.countdown && old->countdown) {
        WidgetCountdown& fresh = *comparable.countdown;
        const WidgetCountdown& previous = *old->countdown;
        if (!fresh.isPaused && !previous.isPaused && fresh.endsAt == previous.endsAt &&
            fresh.startedAt == previous.startedAt) {
            fresh.frozenRemainingSeconds = previous.frozenRemainingSeconds;
        }
    }
    return comparable != *old;
}

void WidgetPublisher::reloadThroughWidgetHost(std::string_view kind)
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.quillmere.WidgetHost"), QStringLiteral("/org/quillmere/WidgetHost"),
        QStringLiteral("org.quillmere.WidgetHost"), QStringLiteral("ReloadTimelines"));
    call << QString::fromUtf8(kind.data(), static_cast<qsizetype>(kind.size()));
    // The host is something the user runs; a reload must not start one.
    call.setAutoStartService(false);
    bus.call(call, QDBus::NoBlock);
}

} // namespace quillmere
