// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AppModel.h"

#include "quillmere/QuillmereBus.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

// The introspection data, made from data/dbus/org.quillmere.Quillmere1.xml
// when the build is configured, so that the file agents read and what the
// application serves cannot drift apart.
#include "Quillmere1Introspection.h"

namespace quillmere {

// org.quillmere.Quillmere1: the running application for coding agents and
// scripts. The phase and the open questions as properties and signals, the
// agent document, questions that agents ask and whose answers they wait for,
// and the status panel's commands under the panel's rules. An adaptor of the
// object that serves the application's bus name; a refusal is a D-Bus error
// and changes nothing.
//
//     new QuillmereInterface(exportedObject, model, QDBusConnection::sessionBus());
//     // then, from a shell:
//     //   gdbus call --session --dest org.quillmere.Quillmere
//     //     --object-path /org/quillmere/Quillmere --method org.quillmere.Quillmere1.EndFocus
class QuillmereInterface final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.quillmere.Quillmere1")
    Q_CLASSINFO("D-Bus Introspection", QUILLMERE1_INTROSPECTION)
    Q_PROPERTY(QString WorkflowState READ workflowState)
    Q_PROPERTY(bool Interruptible READ interruptible)
    Q_PROPERTY(uint OpenQuestionCount READ openQuestionCount)
    Q_PROPERTY(qint64 RemainingSeconds READ remainingSeconds)

public:
    static constexpr const char* interfaceName = QuillmereBus::interfaceName;
    static constexpr const char* refusedError = QuillmereBus::refusedError;
    static constexpr const char* invalidQuestionError = QuillmereBus::invalidQuestionError;
    static constexpr const char* tooManyQuestionsError = QuillmereBus::tooManyQuestionsError;
    static constexpr const char* unknownQuestionError = QuillmereBus::unknownQuestionError;

    // Serves the interface on `exported`, which is (or will be) registered
    // at `objectPath` on `connection` with its adaptors. `model` must outlive
    // this adaptor.
    QuillmereInterface(QObject& exported, AppModel& model, QDBusConnection connection,
                       QString objectPath = QString::fromLatin1(QuillmereBus::objectPath));

    QString workflowState() const;
    bool interruptible() const;
    uint openQuestionCount() const;
    // -1 when no timer runs.
    qint64 remainingSeconds() const;

public slots:
    // Each call takes its message last so that it can answer with an error.
    QString GetAgentState(const QDBusMessage& message);
    QString AskQuestion(const QString& text, const QString& asker, const QDBusMessage& message);
    void GetQuestion(const QString& id, const QDBusMessage& message);
    void PauseFocus(const QDBusMessage& message);
    void ResumeFocus(const QDBusMessage& message);
    void EndFocus(const QDBusMessage& message);
    void ExtendBreak(const QDBusMessage& message);
    void EndBreak(const QDBusMessage& message);
    void SkipBreak(const QDBusMessage& message);
    void StartPlannedSession(const QDBusMessage& message);
    void StartScheduledBlockNow(const QDBusMessage& message);
    void CancelScheduledBlock(const QDBusMessage& message);
    void ShowMainWindow(const QDBusMessage& message);

signals:
    void QuestionAnswered(const QString& id, const QString& answer);
    void PhaseChanged(const QString& workflowState, bool interruptible);

private:
    struct Observed {
        QString workflowState;
        bool interruptible = true;
        uint openQuestionCount = 0;

        friend bool operator==(const Observed&, const Observed&) = default;
    };

    Observed observe() const;
    // Sends PropertiesChanged and PhaseChanged for what differs from the
    // last values announced.
    void announceChanges();
    void control(ControlCommand command, const QDBusMessage& message);
    void refuse(const QDBusMessage& message, const char* errorName, const QString& text);

    AppModel& model_;
    QDBusConnection connection_;
    QString objectPath_;
    Observed announced_;
};

} // namespace quillmere
