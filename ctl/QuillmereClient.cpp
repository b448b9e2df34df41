// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuillmereClient.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QPointer>
#include <QThread>
#include <QTimer>

namespace quillmere {
namespace {

constexpr const char* propertiesInterface = "org.freedesktop.DBus.Properties";
constexpr const char* interruptibleProperty = "Interruptible";
constexpr const char* openQuestionCountProperty = "OpenQuestionCount";

QString translated(const char* source)
{
    return QCoreApplication::translate("quillmerectl", source);
}

// The name is owned, but nothing answers at Quillmere's path and interface:
// a Quillmere still loading its state, or one too old to have the interface.
bool notServingYet(const QString& errorName)
{
    return errorName == QLatin1String("org.freedesktop.DBus.Error.UnknownInterface") ||
           errorName == QLatin1String("org.freedesktop.DBus.Error.UnknownObject") ||
           errorName == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod");
}

ClientError classify(const QDBusError& error)
{
    const QString name = error.name();
    const QDBusError::ErrorType type = error.type();
    // With auto-start off the bus answers NameHasNoOwner, which Qt does not
    // map to a type; without a bus the call fails as disconnected.
    if (type == QDBusError::ServiceUnknown || type == QDBusError::Disconnected ||
        name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
        return {ClientError::Kind::notRunning, name, translated("Quillmere is not running.")};
    }
    if (type == QDBusError::NoReply || type == QDBusError::Timeout || type == QDBusError::TimedOut) {
        return {ClientError::Kind::failed, name, translated("Quillmere did not answer in time.")};
    }
    // Quillmere's own refusals carry the reason for the user as they are.
    if (name.startsWith(QLatin1String(QuillmereClient::interfaceName) + QLatin1String(".Error."))) {
        return {ClientError::Kind::refused, name, error.message()};
    }
    if (notServingYet(name)) {
        return {ClientError::Kind::failed, name,
                translated("Quillmere does not answer this yet: it may still be starting. Try again in a moment.")};
    }
    return {ClientError::Kind::failed, name, error.message().isEmpty() ? name : error.message()};
}

// One wait of the client's: it ends exactly once, with the first outcome,
// and whatever comes after (a late reply, a second signal) is dropped. The
// timeout counts only once the first look has been answered, so that a
// timeout of 0 means "look once" rather than a race with the reply. Owned by
// the client; it deletes itself when it ends.
template <class T>
class Wait final : public QObject {
public:
    Wait(QObject& client, std::optional<std::chrono::milliseconds> timeout, T timedOut,
         QuillmereClient::Callback<T> done)
        : QObject(&client), timedOut_(std::move(timedOut)), done_(std::move(done))
    {
        if (timeout) {
            QTimer::singleShot(*timeout, this, [this] {
                expired_ = true;
                if (settled_) {
                    end(timedOut_);
                }
            });
        }
    }

    bool over() const { return over_; }

    void end(QuillmereClient::Result<T> result)
    {
        if (over_) {
            return;
        }
        over_ = true;
        deleteLater();
        done_(std::move(result));
    }

    // The first look found nothing yet.
    void settle()
    {
        settled_ = true;
        if (expired_) {
            end(timedOut_);
        }
    }

private:
    T timedOut_;
    QuillmereClient::Callback<T> done_;
    bool over_ = false;
    bool settled_ = false;
    bool expired_ = false;
};

QString dbusMethod(ControlCommand command)
{
    const std::string_view name = methodName(command);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

QuillmereClient::QuillmereClient(QDBusConnection connection, Options options, QObject* parent)
    : QObject(parent), connection_(std::move(connection)), options_(std::move(options))
{
    connect(this, &QuillmereClient::phaseChanged, this, &QuillmereClient::agentStateChanged);
    connect(this, &QuillmereClient::interruptibleChanged, this, &QuillmereClient::agentStateChanged);
    connect(this, &QuillmereClient::openQuestionCountChanged, this, &QuillmereClient::agentStateChanged);
    connect(this, &QuillmereClient::runningChanged, this, &QuillmereClient::agentStateChanged);
}

QuillmereClient::~QuillmereClient() = default;

bool QuillmereClient::isRunning() const
{
    if (!connection_.isConnected()) {
        return false;
    }
    const QDBusReply<bool> owned = connection_.interface()->isServiceRegistered(QLatin1String(serviceName));
    return owned.isValid() && owned.value();
}

QDBusPendingCall QuillmereClient::send(const QString& method, const QVariantList& arguments) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(QLatin1String(serviceName), QLatin1String(objectPath),
                                                          QLatin1String(interfaceName), method);
    message.setArguments(arguments);
    // The bus would otherwise start Quillmere to answer, putting a window in
    // front of the user for a mere status query.
    message.setAutoStartService(false);
    return connection_.asyncCall(message, static_cast<int>(options_.callTimeout.count()));
}

QDBusPendingCall QuillmereClient::property(const QString& name) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(QLatin1String(serviceName), QLatin1String(objectPath),
                                                          QLatin1String(propertiesInterface), QStringLiteral("Get"));
    message.setArguments({QLatin1String(interfaceName), name});
    message.setAutoStartService(false);
    return connection_.asyncCall(message, static_cast<int>(options_.callTimeout.count()));
}

template <>
QuillmereClient::Result<QString> QuillmereClient::take<QString>(const QDBusPendingCall& call)
{
    const QDBusPendingReply<QString> reply(call);
    if (reply.isError()) {
        return std::unexpected(classify(reply.error()));
    }
    return reply.value();
}

template <>
QuillmereClient::Result<QuestionState> QuillmereClient::take<QuestionState>(const QDBusPendingCall& call)
{
    const QDBusPendingReply<bool, QString> reply(call);
    if (reply.isError()) {
        return std::unexpected(classify(reply.error()));
    }
    return QuestionState{reply.argumentAt<0>(), reply.argumentAt<1>()};
}

template <>
QuillmereClient::Result<bool> QuillmereClient::take<bool>(const QDBusPendingCall& call)
{
    const QDBusPendingReply<QDBusVariant> reply(call);
    if (reply.isError()) {
        return std::unexpected(classify(reply.error()));
    }
    return reply.value().variant().toBool();
}

template <>
QuillmereClient::Result<void> QuillmereClient::take<void>(const QDBusPendingCall& call)
{
    const QDBusPendingReply<> reply(call);
    if (reply.isError()) {
        return std::unexpected(classify(reply.error()));
    }
    return {};
}

template <class T>
void QuillmereClient::deliver(const QDBusPendingCall& call, Callback<T> done)
{
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [done = std::move(done)](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        done(take<T>(*w));
    });
}

template <class T>
QuillmereClient::Result<T> QuillmereClient::await(QDBusPendingCall call)
{
    call.waitForFinished();
    return take<T>(call);
}

QuillmereClient::Result<QString> QuillmereClient::agentState() const
{
    return await<QString>(send(QStringLiteral("GetAgentState")));
}

void QuillmereClient::agentState(Callback<QString> done)
{
    deliver<QString>(send(QStringLiteral("GetAgentState")), std::move(done));
}

QuillmereClient::Result<QString> QuillmereClient::ask(const QString& text, const QString& asker) const
{
    return await<QString>(send(QStringLiteral("AskQuestion"), {text, asker}));
}

void QuillmereClient::ask(const QString& text, const QString& asker, Callback<QString> done)
{
    deliver<QString>(send(QStringLiteral("AskQuestion"), {text, asker}), std::move(done));
}

QuillmereClient::Result<QuestionState> QuillmereClient::question(const QString& id) const
{
    return await<QuestionState>(send(QStringLiteral("GetQuestion"), {id}));
}

void QuillmereClient::question(const QString& id, Callback<QuestionState> done)
{
    deliver<QuestionState>(send(QStringLiteral("GetQuestion"), {id}), std::move(done));
}

QuillmereClient::Result<bool> QuillmereClient::interruptible() const
{
    return await<bool>(property(QLatin1String(interruptibleProperty)));
}

void QuillmereClient::interruptible(Callback<bool> done)
{
    deliver<bool>(property(QLatin1String(interruptibleProperty)), std::move(done));
}

QuillmereClient::Result<void> QuillmereClient::run(ControlCommand command) const
{
    return await<void>(send(dbusMethod(command)));
}

void QuillmereClient::run(ControlCommand command, Callback<void> done)
{
    deliver<void>(send(dbusMethod(command)), std::move(done));
}

QuillmereClient::Result<AgentDocument> QuillmereClient::documentFrom(const Result<QString>& live) const
{
    if (live) {
        std::string text = live->toStdString();
        auto snapshot = decodeAgentSnapshot(text);
        if (!snapshot) {
            return std::unexpected(ClientError{ClientError::Kind::failed, {},
                                               translated("Quillmere sent an agent document that cannot be read: %1")
                                                   .arg(QString::fromStdString(snapshot.error().description()))});
        }
        return AgentDocument{.text = std::move(text), .snapshot = std::move(*snapshot), .savedAt = std::nullopt};
    }
    if (live.error().kind != ClientError::Kind::notRunning) {
        return std::unexpected(live.error());
    }
    auto saved = savedAgentState();
    if (!saved) {
        if (saved.error().missing) {
            return std::unexpected(
                ClientError{ClientError::Kind::notRunning, {},
                            translated("Quillmere is not running, and has saved no state in %1 yet.")
                                .arg(QString::fromStdString(options_.stateFolder.string()))});
        }
        return std::unexpected(
            ClientError{ClientError::Kind::failed, {}, QString::fromStdString(saved.error().description)});
    }
    const Instant savedAt = saved->asOf();
    return AgentDocument{.text = std::move(saved->document), .snapshot = std::move(saved->snapshot), .savedAt = savedAt};
}

QuillmereClient::Result<AgentDocument> QuillmereClient::document() const
{
    return documentFrom(agentState());
}

void QuillmereClient::document(Callback<AgentDocument> done)
{
    agentState([this, done = std::move(done)](const Result<QString>& live) { done(documentFrom(live)); });
}

void QuillmereClient::waitForAnswer(const QString& id, std::optional<std::chrono::milliseconds> timeout,
                                    Callback<std::optional<QString>> done)
{
    watch();
    auto* wait = new Wait<std::optional<QString>>(*this, timeout, std::nullopt, std::move(done));
    connect(this, &QuillmereClient::questionAnswered, wait, [wait, id](const QString& answeredId, const QString& answer) {
        // Ids are identifiers, whose letter case does not matter.
        if (answeredId.compare(id, Qt::CaseInsensitive) == 0) {
            wait->end(std::optional(answer));
        }
    });
    // At the start, and whenever Quillmere is back: it may have been
    // answered while nobody listened.
    const auto look = [this, wait, id] {
        question(id, [wait = QPointer(wait)](const Result<QuestionState>& state) {
            if (!wait || wait->over()) {
                return;
            }
            if (state && state->answered) {
                wait->end(std::optional(state->answer));
            } else if (!state && state.error().kind == ClientError::Kind::refused) {
                wait->end(std::unexpected(state.error()));
            } else {
                // Not answered, not running, or not answering: the answer's
                // signal, or Quillmere's return, is still to come.
                wait->settle();
            }
        });
    };
    connect(this, &QuillmereClient::runningChanged, wait, [look](bool running) {
        if (running) {
            look();
        }
    });
    look();
}

void QuillmereClient::waitUntilInterruptible(std::optional<std::chrono::milliseconds> timeout, Callback<bool> done)
{
    watch();
    auto* wait = new Wait<bool>(*this, timeout, false, std::move(done));
    const auto changed = [wait](bool interruptible) {
        if (interruptible) {
            wait->end(true);
        }
    };
    connect(this, &QuillmereClient::phaseChanged, wait,
            [changed](const QString&, bool interruptible) { changed(interruptible); });
    connect(this, &QuillmereClient::interruptibleChanged, wait, changed);
    connect(this, &QuillmereClient::runningChanged, wait, [wait](bool running) {
        if (!running) {
            wait->end(std::unexpected(
                ClientError{ClientError::Kind::notRunning, {}, translated("Quillmere quit while waiting.")}));
        }
    });
    interruptible([wait = QPointer(wait)](const Result<bool>& interruptible) {
        if (!wait || wait->over()) {
            return;
        }
        if (!interruptible) {
            wait->end(std::unexpected(interruptible.error()));
        } else if (*interruptible) {
            wait->end(true);
        } else {
            wait->settle();
        }
    });
}

void QuillmereClient::watch()
{
    if (serviceWatcher_ != nullptr) {
        return;
    }
    const QString service = QLatin1String(serviceName);
    serviceWatcher_ = new QDBusServiceWatcher(service, connection_, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(serviceWatcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) { onOwnerChanged(newOwner); });
    const QString path = QLatin1String(objectPath);
    const QString interface = QLatin1String(interfaceName);
    connection_.connect(service, path, interface, QStringLiteral("PhaseChanged"), this,
                        SLOT(onPhaseChanged(QString, bool)));
    connection_.connect(service, path, interface, QStringLiteral("QuestionAnswered"), this,
                        SLOT(onQuestionAnswered(QString, QString)));
    connection_.connect(service, path, QLatin1String(propertiesInterface), QStringLiteral("PropertiesChanged"), this,
                        SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
}

void QuillmereClient::onOwnerChanged(const QString& newOwner)
{
    const int start = ++starts_;
    if (newOwner.isEmpty()) {
        emit runningChanged(false);
        return;
    }
    awaitInterface(start, std::chrono::steady_clock::now() + options_.startingPatience);
}

void QuillmereClient::awaitInterface(int start, std::chrono::steady_clock::time_point deadline)
{
    static constexpr std::chrono::milliseconds pause{100};
    auto* watcher = new QDBusPendingCallWatcher(property(QStringLiteral("WorkflowState")), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, start, deadline](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        if (start != starts_) {
            return;
        }
        const QDBusPendingReply<QDBusVariant> reply(*w);
        if (reply.isError() && classify(reply.error()).kind == ClientError::Kind::notRunning) {
            // Gone again before it answered; its leaving is reported apart.
            return;
        }
        if (reply.isError() && std::chrono::steady_clock::now() + pause < deadline) {
            QTimer::singleShot(pause, this, [this, start, deadline] {
                if (start == starts_) {
                    awaitInterface(start, deadline);
                }
            });
            return;
        }
        // Answering, or past all patience: what it cannot do, its answers
        // to the calls that follow will say.
        emit runningChanged(true);
    });
}

void QuillmereClient::onPhaseChanged(const QString& workflowState, bool interruptible)
{
    emit phaseChanged(workflowState, interruptible);
}

void QuillmereClient::onQuestionAnswered(const QString& id, const QString& answer)
{
    emit questionAnswered(id, answer);
}

void QuillmereClient::onPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                          const QStringList& invalidated)
{
    if (interface != QLatin1String(interfaceName)) {
        return;
    }
    for (auto it = changed.cbegin(); it != changed.cend(); ++it) {
        emitProperty(it.key(), it.value());
    }
    // A property may be announced without its value; it is fetched then.
    for (const QString& name : invalidated) {
        if (name != QLatin1String(interruptibleProperty) && name != QLatin1String(openQuestionCountProperty)) {
            continue;
        }
        auto* watcher = new QDBusPendingCallWatcher(property(name), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, name](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            const QDBusPendingReply<QDBusVariant> reply(*w);
            if (!reply.isError()) {
                emitProperty(name, reply.value().variant());
            }
        });
    }
}

void QuillmereClient::emitProperty(const QString& name, const QVariant& value)
{
    if (name == QLatin1String(interruptibleProperty)) {
        emit interruptibleChanged(value.toBool());
    } else if (name == QLatin1String(openQuestionCountProperty)) {
        emit openQuestionCountChanged(value.toUInt());
    }
}

std::expected<SavedAgentState, SavedAgentState::Failure> QuillmereClient::savedAgentState() const
{
    return SavedAgentState::read(options_.stateFolder);
}

std::expected<Uuid, OfflineQuestion::Failure> QuillmereClient::askOffline(const QString& text,
                                                                          const QString& asker) const
{
    return OfflineQuestion::ask(options_.stateFolder, text.toStdString(), asker.toStdString(), options_.clock());
}

QuillmereClient::Result<QuestionDelivery> QuillmereClient::askAnywhere(const QString& question,
                                                                    const QString& asker) const
{
    // A taken lock without an owner of the name is a Quillmere between its
    // name and its lock (starting or quitting), another quillmerectl adding
    // a question, or a Quillmere on another bus; an owner that does not
    // serve the interface yet is one that is loading its state. All but the
    // last pass within moments, so both sides are asked again until one
    // takes the question or the patience runs out.
    const auto deadline = std::chrono::steady_clock::now() + options_.startingPatience;
    const auto patient = [&] {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        QThread::msleep(100);
        return true;
    };
    for (;;) {
        auto online = ask(question, asker);
        if (online) {
            return QuestionDelivery{.id = *online, .savedOffline = false};
        }
        if (online.error().kind != ClientError::Kind::notRunning) {
            if (notServingYet(online.error().name) && patient()) {
                continue;
            }
            return std::unexpected(online.error());
        }
        auto offline = askOffline(question, asker);
        if (offline) {
            return QuestionDelivery{.id = QString::fromStdString(offline->toString()), .savedOffline = true};
        }
        const QString reason = QString::fromStdString(offline.error().description);
        switch (offline.error().kind) {
        case OfflineQuestion::Failure::Kind::refused:
            return std::unexpected(ClientError{ClientError::Kind::refused, {}, reason});
        case OfflineQuestion::Failure::Kind::failed:
            return std::unexpected(ClientError{ClientError::Kind::failed, {}, reason});
        case OfflineQuestion::Failure::Kind::folderBusy: break;
        }
        if (!patient()) {
            return std::unexpected(ClientError{
                ClientError::Kind::notRunning, {},
                translated("Another program holds Quillmere's state folder %1, but Quillmere does not answer on this "
                     "session bus. Ask from the desktop session Quillmere runs in, or try again once it is up.")
                    .arg(QString::fromStdString(options_.stateFolder.string()))});
        }
    }
}

} // namespace quillmere
