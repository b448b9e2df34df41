// SPDX-License-Identifier: GPL-3.0-or-later
#include "DoNotDisturb.h"

#include "NotificationService_p.h"
#include "SystemLog.h"

#include "quillmere/AtomicFile.h"
#include "quillmere/TimerSnapshot.h"

#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <algorithm>

namespace quillmere {
namespace {


// QTimer counts in int milliseconds; a longer wait is split and re-armed.
constexpr std::chrono::milliseconds longestWait = std::chrono::hours(1);

void log(const QString& line)
{
    writeSystemLog("Quillmere: " + line.toStdString());
}

} // namespace

std::optional<Instant> silenceWantedUntil(const QuillmereState& state, Instant now)
{
    const auto timer = TimerSnapshot::derive(state, now);
    const auto lead = silenceLiftsBeforeEnd.count();
    if (!timer || timer->kind != TimerKind::focus || timer->isPaused || timer->remainingSeconds <= lead) {
        return std::nullopt;
    }
    // The focus-end notification is due at the same whole-second instant.
    return addSeconds(wholeSeconds(now), static_cast<double>(timer->remainingSeconds - lead));
}

DoNotDisturb::DoNotDisturb(QDBusConnection connection, std::filesystem::path stateFolder, Clock now, QObject* parent)
    : QObject(parent),
      connection_(std::move(connection)),
      recordFile_(std::move(stateFolder) / recordFileName),
      now_(now ? std::move(now) : Clock([] { return std::chrono::system_clock::now(); })),
      availability_(tr("Looking for the desktop's notification service…"))
{
    liftTimer_ = new QTimer(this);
    liftTimer_->setSingleShot(true);
    liftTimer_->setTimerType(Qt::PreciseTimer);
    connect(liftTimer_, &QTimer::timeout, this, [this] {
        armLift();
        reconcile();
    });
    readRecordFile();
    if (connection_.isConnected()) {
        watcher_ = new QDBusServiceWatcher(notificationService::name, connection_,
                                           QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString& oldOwner, const QString& newOwner) {
                    serviceOwnerChanged(oldOwner, newOwner);
                });
    }
    findSilencer();
}

DoNotDisturb::~DoNotDisturb() = default;

void DoNotDisturb::setEnabled(bool enabled)
{
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    emit enabledChanged(enabled_);
    reconcile();
}

void DoNotDisturb::follow(const QuillmereState& state)
{
    wantedUntil_ = silenceWantedUntil(state, now_());
    armLift();
    reconcile();
}

void DoNotDisturb::finish(std::chrono::milliseconds patience)
{
    finishing_ = true;
    liftTimer_->stop();
    reconcile();
    if (!busy_) {
        return;
    }
    QEventLoop loop;
    finishLoop_ = &loop;
    QTimer::singleShot(patience, &loop, &QEventLoop::quit);
    loop.exec();
    finishLoop_ = nullptr;
}

bool DoNotDisturb::wanted() const
{
    return enabled_ && !finishing_ && wantedUntil_ && now_() < *wantedUntil_;
}

void DoNotDisturb::armLift()
{
    if (!wantedUntil_ || finishing_) {
        liftTimer_->stop();
        return;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*wantedUntil_ - now_());
    if (wait <= std::chrono::milliseconds::zero()) {
        liftTimer_->stop();
        return;
    }
    liftTimer_->start(std::min(wait, longestWait));
}

void DoNotDisturb::findSilencer()
{
    const unsigned search = ++searches_;
    findNotificationSilencer(connection_, this, [this, search](FoundSilencer found) {
        if (search == searches_) {
            adopt(std::move(found));
        }
    });
}

void DoNotDisturb::adopt(FoundSilencer found)
{
    busy_ = false;
    tried_ = false;
    restoreFailed_ = false;
    if (!found) {
        silencer_.reset();
        setAvailability(found.error());
        return;
    }
    silencer_ = std::move(*found);
    setAvailability(tr("Uses %1 to hold back other applications' notifications.").arg(silencer_->name()));
    reconcile();
}

void DoNotDisturb::serviceOwnerChanged(const QString& oldOwner, const QString& newOwner)
{
    if (!oldOwner.isEmpty()) {
        // Whatever was under way went with the service; a search still
        // under way asked the one that left.
        ++searches_;
        const bool during = wanted() || !held_.empty();
        silencer_.reset();
        busy_ = false;
        tried_ = false;
        // An inhibition ends with the service that granted it.
        std::erase_if(held_, [](const auto& entry) { return !entry.second.durable; });
        setAvailability(NotificationSilencer::tr("No notification service is running."));
        if (during) {
            report(tr("The notification service stopped during your focus. Quillmere sets do-not-disturb right "
                      "again once the service is back."));
        }
    }
    if (!newOwner.isEmpty()) {
        findSilencer();
    }
}

void DoNotDisturb::setAvailability(const QString& text)
{
    // The text names the service whenever there is one, so it changes
    // whenever availability does.
    if (availability_ == text) {
        return;
    }
    availability_ = text;
    emit availabilityChanged();
}

void DoNotDisturb::reconcile()
{
    if (busy_ || !silencer_) {
        if (finishLoop_ && !busy_) {
            finishLoop_->quit();
        }
        return;
    }
    if (!wanted()) {
        tried_ = false;
        if (held_.contains(silencer_->key()) && !restoreFailed_) {
            restore();
        } else if (finishLoop_) {
            finishLoop_->quit();
        }
        return;
    }
    // A silence noted before (by a run that crashed) is checked the same
    // way: a setting that still silences is left as it is, and stays noted.
    if (!tried_) {
        tried_ = true;
        silence();
    }
}

void DoNotDisturb::silence()
{
    busy_ = true;
    // A restore that failed in an earlier session is owed again at the end
    // of this one.
    restoreFailed_ = false;
    const QString name = silencer_->name();
    silencer_->silence(
        [this](const NotificationSilencer::Setting& previous) { return remember(previous); },
        [this, name](std::expected<NotificationSilencer::Outcome, QString> outcome) {
            busy_ = false;
            if (!outcome) {
                report(
                    tr("Quillmere could not hold back other notifications through %1: %2").arg(name, outcome.error()));
            } else if (*outcome == NotificationSilencer::Outcome::changed) {
                log(QStringLiteral("holding back other notifications through %1").arg(name));
            } else {
                log(QStringLiteral("%1 already held notifications back; left as it is").arg(name));
            }
            reconcile();
        });
}

void DoNotDisturb::restore()
{
    busy_ = true;
    const QString name = silencer_->name();
    const QString key = silencer_->key();
    silencer_->restore(held_.at(key).previous,
                       [this, name, key](std::expected<NotificationSilencer::Outcome, QString> outcome) {
                           busy_ = false;
                           if (!outcome) {
                               restoreFailed_ = true;
                               report(tr("Quillmere could not put back the do-not-disturb setting of %1: %2 It "
                                         "tries again when the service or Quillmere starts again.")
                                          .arg(name, outcome.error()));
                           } else {
                               // Someone who lifted the silence before us meant it: the setting stays theirs.
                               log(*outcome == NotificationSilencer::Outcome::changed
                                       ? QStringLiteral("put back the notification setting of %1").arg(name)
                                       : QStringLiteral("the notification setting of %1 was changed meanwhile; "
                                                        "left as it is")
                                             .arg(name));
                               forget(key);
                           }
                           reconcile();
                       });
}

bool DoNotDisturb::remember(const NotificationSilencer::Setting& previous)
{
    const QString key = silencer_->key();
    held_[key] = {previous, silencer_->outlivesUs()};
    if (!held_[key].durable || writeRecordFile()) {
        return true;
    }
    held_.erase(key);
    return false;
}

void DoNotDisturb::forget(const QString& key)
{
    const auto entry = held_.find(key);
    if (entry == held_.end()) {
        return;
    }
    const bool durable = entry->second.durable;
    held_.erase(entry);
    if (durable) {
        (void)writeRecordFile();
    }
}

bool DoNotDisturb::writeRecordFile()
{
    QJsonObject record;
    for (const auto& [key, entry] : held_) {
        if (entry.durable) {
            record.insert(key, entry.previous);
        }
    }
    if (record.isEmpty()) {
        std::error_code error;
        std::filesystem::remove(recordFile_, error);
        if (error) {
            log(QStringLiteral("could not remove %1: %2")
                    .arg(QString::fromStdString(recordFile_.string()), QString::fromStdString(error.message())));
        }
        return !error;
    }
    const QByteArray bytes = QJsonDocument(record).toJson(QJsonDocument::Compact);
    const auto written = writeAtomically(recordFile_, std::string_view(bytes.constData(), bytes.size()),
                                         renameReplacing, {.createFolder = true});
    if (!written) {
        log(QString::fromStdString(written.error().description()));
    }
    return written.has_value();
}

void DoNotDisturb::readRecordFile()
{
    auto bytes = readWholeFile(recordFile_, {.maxBytes = 64 * 1024});
    if (!bytes) {
        if (bytes.error().code != std::errc::no_such_file_or_directory) {
            log(QString::fromStdString(bytes.error().description()));
        }
        return;
    }
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(*bytes));
    const QJsonObject record = document.object();
    for (auto entry = record.begin(); entry != record.end(); ++entry) {
        if (entry.value().isString()) {
            held_[entry.key()] = {entry.value().toString(), true};
        }
    }
    if (held_.empty()) {
        log(QStringLiteral("%1 holds no setting to put back; ignored")
                .arg(QString::fromStdString(recordFile_.string())));
        return;
    }
    log(QStringLiteral("a notification setting changed before Quillmere last ended is put back once its service "
                       "answers"));
}

void DoNotDisturb::report(const QString& message)
{
    log(message);
    emit trouble(message);
}

} // namespace quillmere
