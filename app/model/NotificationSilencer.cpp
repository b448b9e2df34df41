// SPDX-License-Identifier: GPL-3.0-or-later
// The silencers of the notification services Quillmere knows, and the
// choice among them. A service's own tool (gsettings, makoctl) is run
// asynchronously; every bus call has a short timeout of its own.
#include "NotificationSilencer.h"

#include "NotificationService_p.h"
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <chrono>
#include <utility>

namespace quillmere {
namespace {

using namespace std::chrono_literals;

const QString dunstInterface = QStringLiteral("org.dunstproject.cmd0");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString gnomeSchema = QStringLiteral("org.gnome.desktop.notifications");
const QString gnomeKey = QStringLiteral("show-banners");
const QString makoMode = QStringLiteral("do-not-disturb");

// A service that answers at all answers within this; the bus's own default
// of 25 s would be a frozen moment of the window's thread's work.
constexpr int busTimeout = 2000;
constexpr std::chrono::milliseconds programTimeout = 5s;

template <class T>
using Reply = std::function<void(std::expected<T, QString>)>;
using Finished = Reply<void>;

using Outcome = NotificationSilencer::Outcome;

// Calls `answer` from the event loop: a completion never runs inside the
// call that took it, even when the answer is known at once.
void answerLater(QObject* context, std::function<void()> answer)
{
    QMetaObject::invokeMethod(context, std::move(answer), Qt::QueuedConnection);
}

// A reply for a step whose output does not matter, only whether it worked.
template <class T>
Reply<T> onlyWhetherItWorked(Finished done)
{
    return [done = std::move(done)](std::expected<T, QString> result) {
        done(result ? std::expected<void, QString>() : std::unexpected(result.error()));
    };
}

QString notNoted()
{
    return NotificationSilencer::tr("Quillmere could not note the setting to put back, so it left it alone.");
}

// Sends `call` without waiting; `done` gets the reply, or what went wrong,
// always from the event loop.
void callBus(const QDBusConnection& connection, const QDBusMessage& call, QObject* context, Reply<QDBusMessage> done)
{
    if (!connection.isConnected()) {
        // A call on no bus at all is never answered, not even by an error.
        answerLater(context, [done = std::move(done)] {
            done(std::unexpected(NotificationSilencer::tr("There is no session bus to reach it on.")));
        });
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(connection.asyncCall(call, busTimeout), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [done = std::move(done)](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         const QDBusMessage reply = finished->reply();
                         if (reply.type() == QDBusMessage::ErrorMessage) {
                             done(std::unexpected(
                                 NotificationSilencer::tr("The notification service answered: %1")
                                     .arg(reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage())));
                             return;
                         }
                         done(reply);
                     });
}

// Runs `program` without a shell; `done` gets its standard output, or what
// went wrong. A program that hangs is killed after a few seconds.
void runProgram(const QString& program, const QStringList& arguments, QObject* context, Reply<QString> done)
{
    auto* process = new QProcess(context);
    process->setProgram(program);
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    const QString shown = QFileInfo(program).fileName() + u' ' + arguments.join(u' ');
    auto shared = std::make_shared<Reply<QString>>(std::move(done));
    QObject::connect(
        process, &QProcess::errorOccurred, context, [context, process, shown, shared](QProcess::ProcessError error) {
            // The one error that is not followed by `finished`; it may come
            // from inside start(), so it is answered later.
            if (error == QProcess::FailedToStart) {
                process->deleteLater();
                answerLater(context, [shown, shared] {
                    (*shared)(std::unexpected(NotificationSilencer::tr("“%1” could not be started.").arg(shown)));
                });
            }
        });
    QObject::connect(
        process, &QProcess::finished, context, [process, shown, shared](int exitCode, QProcess::ExitStatus status) {
            process->deleteLater();
            if (status == QProcess::CrashExit) {
                (*shared)(std::unexpected(NotificationSilencer::tr("“%1” did not finish.").arg(shown)));
                return;
            }
            if (exitCode != 0) {
                const QString errors = QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
                (*shared)(std::unexpected(NotificationSilencer::tr("“%1” failed: %2")
                                              .arg(shown, errors.isEmpty() ? QString::number(exitCode) : errors)));
                return;
            }
            (*shared)(QString::fromLocal8Bit(process->readAllStandardOutput()));
        });
    QTimer::singleShot(programTimeout, process, [process] { process->kill(); });
    process->start();
}

// A silencer that changes a setting of the service's, which stays when
// Quillmere ends: read, remember, change; and back the same way.
class SettingSilencer : public NotificationSilencer {
public:
    using NotificationSilencer::NotificationSilencer;

    bool outlivesUs() const override { return true; }

    void silence(Remember remember, Done done) override
    {
        read([this, remember = std::move(remember), done = std::move(done)](std::expected<Setting, QString> current) {
            if (!current) {
                done(std::unexpected(current.error()));
            } else if (silences(*current)) {
                done(Outcome::leftAlone);
            } else if (!remember(*current)) {
                done(std::unexpected(notNoted()));
            } else {
                hold(changedBy(done));
            }
        });
    }

    void restore(const Setting& previous, Done done) override
    {
        read([this, previous, done = std::move(done)](std::expected<Setting, QString> current) {
            if (!current) {
                done(std::unexpected(current.error()));
            } else if (!silences(*current)) {
                done(Outcome::leftAlone);
            } else {
                release(previous, changedBy(done));
            }
        });
    }

protected:
    virtual void read(Reply<Setting> done) = 0;
    virtual bool silences(const Setting& setting) const = 0;
    virtual void hold(Finished done) = 0;
    virtual void release(const Setting& previous, Finished done) = 0;

private:
    static Finished changedBy(Done done)
    {
        return [done = std::move(done)](std::expected<void, QString> result) {
            done(result ? std::expected<Outcome, QString>(Outcome::changed) : std::unexpected(result.error()));
        };
    }
};

// dunst holds notifications back while paused and shows them all once
// unpaused: its `paused` property, over the bus.
class DunstSilencer final : public SettingSilencer {
public:
    explicit DunstSilencer(QDBusConnection connection) : connection_(std::move(connection)) {}

    QString name() const override { return QStringLiteral("dunst"); }
    QString key() const override { return QStringLiteral("dunst"); }

protected:
    void read(Reply<Setting> done) override
    {
        QDBusMessage call = QDBusMessage::createMethodCall(notificationService::name, notificationService::path,
                                                           propertiesInterface, QStringLiteral("Get"));
        call << dunstInterface << QStringLiteral("paused");
        callBus(connection_, call, this, [done = std::move(done)](std::expected<QDBusMessage, QString> reply) {
            if (!reply) {
                done(std::unexpected(reply.error()));
                return;
            }
            const QVariant paused = qdbus_cast<QDBusVariant>(reply->arguments().value(0)).variant();
            if (paused.typeId() != QMetaType::Bool) {
                done(std::unexpected(NotificationSilencer::tr("dunst did not say whether it is paused.")));
                return;
            }
            done(paused.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
        });
    }

    bool silences(const Setting& setting) const override { return setting == QLatin1String("true"); }

    void hold(Finished done) override { setPaused(true, std::move(done)); }

    void release(const Setting& previous, Finished done) override
    {
        setPaused(previous == QLatin1String("true"), std::move(done));
    }

private:
    void setPaused(bool paused, Finished done)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(notificationService::name, notificationService::path,
                                                           propertiesInterface, QStringLiteral("Set"));
        call << dunstInterface << QStringLiteral("paused") << QVariant::fromValue(QDBusVariant(paused));
        callBus(connection_, call, this, onlyWhetherItWorked<QDBusMessage>(std::move(done)));
    }

    QDBusConnection connection_;
};

// GNOME Shell shows no banners while `show-banners` is off (its "Do Not
// Disturb"); gsettings changes it as the desktop's own settings do.
class GnomeSilencer final : public SettingSilencer {
public:
    explicit GnomeSilencer(QString gsettings) : gsettings_(std::move(gsettings)) {}

    QString name() const override { return QStringLiteral("GNOME Shell"); }
    QString key() const override { return QStringLiteral("gnome"); }

protected:
    void read(Reply<Setting> done) override
    {
        runProgram(
            gsettings_, {QStringLiteral("get"), gnomeSchema, gnomeKey}, this,
            [done = std::move(done)](std::expected<QString, QString> output) {
                if (!output) {
                    done(std::unexpected(output.error()));
                    return;
                }
                const QString value = output->trimmed();
                if (value != QLatin1String("true") && value != QLatin1String("false")) {
                    done(std::unexpected(NotificationSilencer::tr("gsettings gave “%1” for show-banners.").arg(value)));
                    return;
                }
                done(value);
            });
    }

    bool silences(const Setting& setting) const override { return setting == QLatin1String("false"); }

    void hold(Finished done) override { write(QStringLiteral("false"), std::move(done)); }

    void release(const Setting& previous, Finished done) override { write(previous, std::move(done)); }

private:
    void write(const QString& value, Finished done)
    {
        runProgram(gsettings_, {QStringLiteral("set"), gnomeSchema, gnomeKey, value}, this,
                   onlyWhetherItWorked<QString>(std::move(done)));
    }

    QString gsettings_;
};

// mako hides notifications in whatever way the user's configuration gives
// its "do-not-disturb" mode. Only that mode is added and taken away again,
// so the modes are put back exactly, and modes the user switched meanwhile
// stay as they are.
class MakoSilencer final : public SettingSilencer {
public:
    explicit MakoSilencer(QString makoctl) : makoctl_(std::move(makoctl)) {}

    QString name() const override { return QStringLiteral("mako"); }
    QString key() const override { return QStringLiteral("mako"); }

protected:
    // The modes, one a line.
    void read(Reply<Setting> done) override
    {
        runProgram(makoctl_, {QStringLiteral("mode")}, this,
                   [done = std::move(done)](std::expected<QString, QString> output) {
                       if (!output) {
                           done(std::unexpected(output.error()));
                           return;
                       }
                       QStringList modes = output->split(u'\n', Qt::SkipEmptyParts);
                       for (QString& mode : modes) {
                           mode = mode.trimmed();
                       }
                       modes.removeAll(QString());
                       done(modes.join(u'\n'));
                   });
    }

    bool silences(const Setting& setting) const override { return setting.split(u'\n').contains(makoMode); }

    void hold(Finished done) override { run(QStringLiteral("-a"), std::move(done)); }

    void release(const Setting&, Finished done) override { run(QStringLiteral("-r"), std::move(done)); }

private:
    void run(const QString& option, Finished done)
    {
        runProgram(makoctl_, {QStringLiteral("mode"), option, makoMode}, this,
                   onlyWhetherItWorked<QString>(std::move(done)));
    }

    QString makoctl_;
};

// KDE Plasma (and any service that lists "inhibitions" among its
// capabilities) holds notifications back while an inhibition is in force.
// The service drops it when our connection closes, so a crash leaves
// nothing behind and nothing needs to be written down.
class InhibitingSilencer final : public NotificationSilencer {
public:
    InhibitingSilencer(QDBusConnection connection, QString serverName)
        : connection_(std::move(connection)),
          serverName_(std::move(serverName))
    {
    }

    QString name() const override
    {
        return serverName_ == QLatin1String("Plasma") ? QStringLiteral("KDE Plasma") : serverName_;
    }
    QString key() const override { return QStringLiteral("inhibition"); }
    bool outlivesUs() const override { return false; }

    void silence(Remember remember, Done done) override
    {
        if (!remember(QString())) {
            answerLater(this, [done = std::move(done)] { done(std::unexpected(notNoted())); });
            return;
        }
        QDBusMessage call = notificationService::call(QStringLiteral("Inhibit"));
        call << QStringLiteral("org.quillmere.Quillmere") << NotificationSilencer::tr("Focus session") << QVariantMap();
        callBus(connection_, call, this, [this, done = std::move(done)](std::expected<QDBusMessage, QString> reply) {
            if (!reply) {
                done(std::unexpected(reply.error()));
                return;
            }
            cookie_ = reply->arguments().value(0).toUInt();
            done(Outcome::changed);
        });
    }

    void restore(const Setting&, Done done) override
    {
        if (cookie_ == 0) {
            answerLater(this, [done = std::move(done)] { done(Outcome::leftAlone); });
            return;
        }
        QDBusMessage call = notificationService::call(QStringLiteral("UnInhibit"));
        call << cookie_;
        callBus(connection_, call, this, [this, done = std::move(done)](std::expected<QDBusMessage, QString> reply) {
            if (!reply) {
                done(std::unexpected(reply.error()));
                return;
            }
            cookie_ = 0;
            done(Outcome::changed);
        });
    }

private:
    QDBusConnection connection_;
    QString serverName_;
    // The service's number for our inhibition; 0 while there is none.
    uint cookie_ = 0;
};

QString missingTool(const QString& server, const QString& tool)
{
    return NotificationSilencer::tr("%1 shows the notifications, but %2 is not installed.").arg(server, tool);
}

FoundSilencer choose(const QDBusConnection& connection, const QString& name, const QStringList& capabilities)
{
    if (name == QLatin1String("dunst")) {
        return std::make_unique<DunstSilencer>(connection);
    }
    if (name.compare(QLatin1String("gnome-shell"), Qt::CaseInsensitive) == 0 || name == QLatin1String("GNOME Shell")) {
        const QString gsettings = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
        if (gsettings.isEmpty()) {
            return std::unexpected(missingTool(QStringLiteral("GNOME Shell"), QStringLiteral("gsettings")));
        }
        return std::make_unique<GnomeSilencer>(gsettings);
    }
    if (name == QLatin1String("mako")) {
        const QString makoctl = QStandardPaths::findExecutable(QStringLiteral("makoctl"));
        if (makoctl.isEmpty()) {
            return std::unexpected(missingTool(QStringLiteral("mako"), QStringLiteral("makoctl")));
        }
        return std::make_unique<MakoSilencer>(makoctl);
    }
    if (capabilities.contains(QLatin1String("inhibitions"))) {
        return std::make_unique<InhibitingSilencer>(connection, name);
    }
    return std::unexpected(
        NotificationSilencer::tr("%1 shows the notifications and has no do-not-disturb setting that Quillmere can use.")
            .arg(name));
}

} // namespace

void findNotificationSilencer(const QDBusConnection& connection, QObject* context,
                              std::function<void(FoundSilencer)> done)
{
    callBus(connection, notificationService::call(QStringLiteral("GetServerInformation")), context,
            [connection, context, done = std::move(done)](std::expected<QDBusMessage, QString> information) mutable {
                if (!information) {
                    done(std::unexpected(NotificationSilencer::tr("No notification service is running.")));
                    return;
                }
                const QString name = information->arguments().value(0).toString();
                callBus(connection, notificationService::call(QStringLiteral("GetCapabilities")), context,
                        [connection, name, done = std::move(done)](std::expected<QDBusMessage, QString> reply) {
                            const QStringList capabilities =
                                reply ? reply->arguments().value(0).toStringList() : QStringList();
                            done(choose(connection, name, capabilities));
                        });
            });
}

} // namespace quillmere
