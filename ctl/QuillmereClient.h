// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OfflineQuestion.h"
#include "SavedAgentState.h"

#include "quillmere/ControlCommand.h"
#include "quillmere/QuillmereBus.h"
#include "quillmere/StateStore.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <chrono>
#include <expected>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QDBusServiceWatcher;

namespace quillmere {

// Why a request to Quillmere did not do what was asked.
struct ClientError {
    enum class Kind {
        // Nobody owns Quillmere's name on the session bus, or there is no
        // session bus to ask.
        notRunning,
        // Quillmere, or the rules for questions, said no; `message` says why
        // and nothing changed.
        refused,
        // Anything else: no answer in time, a broken state file, a Quillmere
        // that does not know the call.
        failed,
    };
    Kind kind = Kind::failed;
    // The D-Bus error name, when the bus or Quillmere gave one.
    QString name;
    QString message;
};

struct QuestionState {
    bool answered = false;
    QString answer;
};

// Where a question ended up.
struct QuestionDelivery {
    QString id;
    // Saved in the state folder because Quillmere was not running; it is
    // shown when Quillmere next starts.
    bool savedOffline = false;
};

// The agent document as agent-state.json holds it: from the running
// Quillmere, or, when it is not running, the one it saved last.
struct AgentDocument {
    // The JSON text, exactly as Quillmere gave or saved it.
    std::string text;
    AgentSnapshot snapshot;
    // When Quillmere is not running: the time as of which it saved this.
    // The timer in it has gone on running since.
    std::optional<Instant> savedAt;
};

// What a QuillmereClient needs besides the bus; the defaults are the user's.
struct QuillmereClientOptions {
    using Clock = std::function<Instant()>;

    std::filesystem::path stateFolder = StateStore::defaultDirectory();
    // How long one call may take before it counts as unanswered.
    std::chrono::milliseconds callTimeout{3000};
    // How long askAnywhere() keeps trying when the state folder is locked
    // but nobody owns the name, or the name is owned but the interface not
    // served yet; and how long runningChanged(true) waits for the interface.
    // A Quillmere that is starting, or another quillmerectl adding a
    // question, is done within this.
    std::chrono::milliseconds startingPatience{3000};
    Clock clock = StateStore::systemClock();
};

// Talks to the running Quillmere over its org.quillmere.Quillmere1 interface
// on the session bus, and, for when it is not running, reads what it last
// saved and adds questions to its state folder. Never starts Quillmere: a
// status query must not open a window on the user's screen.
//
// Every call comes in two forms: one that returns the result (blocking for
// at most the call timeout), and one that hands it to a callback from the
// event loop, for programs that must stay responsive while Quillmere
// answers. The signals come once watch() has been called.
class QuillmereClient final : public QObject {
    Q_OBJECT

public:
    static constexpr const char* serviceName = QuillmereBus::serviceName;
    static constexpr const char* objectPath = QuillmereBus::objectPath;
    static constexpr const char* interfaceName = QuillmereBus::interfaceName;

    template <class T>
    using Result = std::expected<T, ClientError>;
    template <class T>
    using Callback = std::function<void(Result<T>)>;
    using Options = QuillmereClientOptions;

    explicit QuillmereClient(QDBusConnection connection, Options options = Options(), QObject* parent = nullptr);
    ~QuillmereClient() override;

    const Options& options() const { return options_; }

    // Whether someone owns Quillmere's name now.
    bool isRunning() const;

    // The agent document (agent-state.json as it would be now).
    [[nodiscard]] Result<QString> agentState() const;
    void agentState(Callback<QString> done);

    // Adds a question for the user; `asker` ("" for none) names the program
    // that asks. Returns the question's id.
    [[nodiscard]] Result<QString> ask(const QString& text, const QString& asker) const;
    void ask(const QString& text, const QString& asker, Callback<QString> done);

    [[nodiscard]] Result<QuestionState> question(const QString& id) const;
    void question(const QString& id, Callback<QuestionState> done);

    // Whether the user may be interrupted now.
    [[nodiscard]] Result<bool> interruptible() const;
    void interruptible(Callback<bool> done);

    [[nodiscard]] Result<void> run(ControlCommand command) const;
    void run(ControlCommand command, Callback<void> done);

    // agentState(), or the document Quillmere saved when it is not running
    // (notRunning only when it has saved none). A document that cannot be
    // read is `failed`.
    [[nodiscard]] Result<AgentDocument> document() const;
    void document(Callback<AgentDocument> done);

    // Waits for the answer to question `id`: hands it over, or none once
    // `timeout` has passed (none: no limit). Keeps waiting while Quillmere is
    // not running, and looks again when it is back. Ends early only when
    // Quillmere refuses the question's id. With a timeout of 0 it looks once.
    void waitForAnswer(const QString& id, std::optional<std::chrono::milliseconds> timeout,
                       Callback<std::optional<QString>> done);

    // True as soon as the user may be interrupted (at once when they may be
    // now), false once `timeout` has passed. `notRunning` when Quillmere is
    // not running or quits meanwhile.
    void waitUntilInterruptible(std::optional<std::chrono::milliseconds> timeout, Callback<bool> done);

    // Starts the signals below; until then nothing is subscribed. Calling it
    // again changes nothing. Every subscription is in place on return, so a
    // call made after it cannot miss a signal that its answer precedes. The
    // waits above call it themselves.
    void watch();

    // What Quillmere last saved, for when it is not running.
    [[nodiscard]] std::expected<SavedAgentState, SavedAgentState::Failure> savedAgentState() const;

    // Adds the question to the state folder directly (see OfflineQuestion).
    [[nodiscard]] std::expected<Uuid, OfflineQuestion::Failure> askOffline(const QString& text,
                                                                          const QString& asker) const;

    // ask(), or, when Quillmere is not running, askOffline(). When the folder
    // is locked but nobody answers on the bus, or Quillmere does not serve
    // its interface yet, both are tried again for up to `startingPatience`,
    // blocking meanwhile; a locked folder is then `notRunning`, with a
    // message saying Quillmere cannot be reached.
    [[nodiscard]] Result<QuestionDelivery> askAnywhere(const QString& text, const QString& asker) const;

signals:
    void phaseChanged(const QString& workflowState, bool interruptible);
    // Also when only pausing or resuming changes it, which is no new phase.
    void interruptibleChanged(bool interruptible);
    void openQuestionCountChanged(uint count);
    void questionAnswered(const QString& id, const QString& answer);
    // Quillmere quit (false), or started and serves its interface (true).
    // Quillmere takes its name before it has loaded its state and can
    // answer, so `true` waits until it does answer, for at most
    // `startingPatience`.
    void runningChanged(bool running);
    // Any of the four above: what an agent's view of Quillmere depends on
    // has changed (not the seconds left, which change all the time).
    void agentStateChanged();

private slots:
    void onPhaseChanged(const QString& workflowState, bool interruptible);
    void onQuestionAnswered(const QString& id, const QString& answer);
    void onPropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);

private:
    // One method call of the interface, never starting Quillmere.
    QDBusPendingCall send(const QString& method, const QVariantList& arguments = {}) const;
    QDBusPendingCall property(const QString& name) const;
    void emitProperty(const QString& name, const QVariant& value);
    [[nodiscard]] Result<AgentDocument> documentFrom(const Result<QString>& live) const;
    void onOwnerChanged(const QString& newOwner);
    // Asks until the interface answers, then tells that Quillmere runs.
    void awaitInterface(int start, std::chrono::steady_clock::time_point deadline);

    template <class T>
    [[nodiscard]] static Result<T> take(const QDBusPendingCall& call);
    template <class T>
    [[nodiscard]] static Result<T> await(QDBusPendingCall call);
    template <class T>
    void deliver(const QDBusPendingCall& call, Callback<T> done);

    QDBusConnection connection_;
    Options options_;
    QDBusServiceWatcher* serviceWatcher_ = nullptr;
    // Counts the owner changes, so that a wait for the interface of an owner
    // that has gone since ends quietly.
    int starts_ = 0;
};

} // namespace quillmere
