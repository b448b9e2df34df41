// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A stand-in for the running application on the test's private bus: it owns
// the name, serves org.quillmere.Quillmere1 at the object path with answers
// the test sets, refuses what the test says to refuse, and sends the
// signals when the test says so.

#include "quillmere/QuillmereBus.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusVirtualObject>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace quillmere::ctltest {

class FakeQuillmere final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quillmere.Quillmere1")
    Q_PROPERTY(QString WorkflowState READ workflowState)
    Q_PROPERTY(bool Interruptible READ interruptible)
    Q_PROPERTY(uint OpenQuestionCount READ openQuestionCount)
    Q_PROPERTY(qlonglong RemainingSeconds READ remainingSeconds)

public:
    static constexpr const char* refusedError = QuillmereBus::refusedError;
    static constexpr const char* invalidQuestionError = QuillmereBus::invalidQuestionError;

    explicit FakeQuillmere(QDBusConnection connection = QDBusConnection::sessionBus());
    ~FakeQuillmere() override;

    // Takes the name and serves the object, unless it does already; false
    // when that failed.
    bool start();
    // Takes the name only, as Quillmere does before it has loaded its state:
    // every call to the object is answered with an error (and counted)
    // until start() serves the interface.
    bool startStarting();
    int callsWhileStarting = 0;
    // Leaves the bus as a quitting application does.
    void stop();

    // What GetAgentState answers.
    QString document;
    // Refusals by method name ("PauseFocus", "AskQuestion", ...): the call
    // gets an error with this name and message.
    struct Refusal {
        QString name;
        QString message;
    };
    QMap<QString, Refusal> refusals;
    // Every method called, in order.
    QStringList calls;
    // The questions asked, and the answers given so far.
    QStringList askedTexts;
    QStringList askedAskers;
    QMap<QString, QString> answers;
    // When set, every question is answered with it as soon as it is asked,
    // without QuestionAnswered: only GetQuestion can tell.
    QString answerAtOnce;

    QString workflowState() const { return workflowState_; }
    // Also counts the reads over the bus: a client that has read it has
    // subscribed to its changes first.
    bool interruptible() const
    {
        ++interruptibleReads;
        return interruptible_;
    }
    mutable int interruptibleReads = 0;
    uint openQuestionCount() const { return openQuestionCount_; }
    qlonglong remainingSeconds() const { return -1; }

    // Changes the phase and sends PhaseChanged and PropertiesChanged.
    void changePhase(const QString& workflowState, bool interruptible);
    // Changes Interruptible alone (pausing), with PropertiesChanged only.
    void changeInterruptible(bool interruptible);
    void changeOpenQuestionCount(uint count);
    // Records the answer; with `announce`, sends QuestionAnswered too.
    void answer(const QString& id, const QString& text, bool announce = true);

public slots:
    QString GetAgentState();
    QString AskQuestion(const QString& text, const QString& asker);
    bool GetQuestion(const QString& id, QString& answer);
    void PauseFocus() { command(QStringLiteral("PauseFocus")); }
    void ResumeFocus() { command(QStringLiteral("ResumeFocus")); }
    void EndFocus() { command(QStringLiteral("EndFocus")); }
    void ExtendBreak() { command(QStringLiteral("ExtendBreak")); }
    void EndBreak() { command(QStringLiteral("EndBreak")); }
    void SkipBreak() { command(QStringLiteral("SkipBreak")); }
    void StartPlannedSession() { command(QStringLiteral("StartPlannedSession")); }
    void StartScheduledBlockNow() { command(QStringLiteral("StartScheduledBlockNow")); }
    void CancelScheduledBlock() { command(QStringLiteral("CancelScheduledBlock")); }
    void ShowMainWindow() { command(QStringLiteral("ShowMainWindow")); }

signals:
    void PhaseChanged(const QString& workflowState, bool interruptible);
    void QuestionAnswered(const QString& id, const QString& answer);

private:
    // Records the call; true when it is refused (the error is sent).
    bool refuse(const QString& method);
    void command(const QString& method) { refuse(method); }
    void announceProperties(const QVariantMap& changed);

    QDBusConnection connection_;
    QString workflowState_ = QStringLiteral("idle");
    bool interruptible_ = true;
    uint openQuestionCount_ = 0;
    int nextQuestion_ = 1;
    bool started_ = false;
    std::unique_ptr<QDBusVirtualObject> startingObject_;
};

} // namespace quillmere::ctltest
