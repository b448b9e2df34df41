// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuillmereInterface.h"

#include "LocalText.h"

#include "quillmere/AgentSnapshot.h"
#include "quillmere/StateStore.h"
#include "quillmere/TimerSnapshot.h"

#include <QDBusArgument>
#include <QVariantMap>

#include <algorithm>

namespace quillmere {
QuillmereInterface::QuillmereInterface(QObject& exported, AppModel& model, QDBusConnection connection,
                                       QString objectPath)
    : QDBusAbstractAdaptor(&exported),
      model_(model),
      connection_(std::move(connection)),
      objectPath_(std::move(objectPath)),
      announced_(observe())
{
    connect(&model_, &AppModel::stateChanged, this, &QuillmereInterface::announceChanges);
    connect(&model_, &AppModel::questionAnswered, this, [this](const Uuid& id, const QString& answer) {
        emit QuestionAnswered(qtText(id.toString()), answer);
    });
}

QString QuillmereInterface::workflowState() const
{
    return qtText(rawText(model_.state().workflowState));
}

bool QuillmereInterface::interruptible() const
{
    return model_.state().interruptible();
}

uint QuillmereInterface::openQuestionCount() const
{
    return static_cast<uint>(std::ranges::count_if(model_.state().agentQuestions,
                                                   [](const AgentQuestion& q) { return !q.answeredAt; }));
}

qint64 QuillmereInterface::remainingSeconds() const
{
    // The timer alone: the agent document would copy the block for one number.
    const auto timer = TimerSnapshot::derive(model_.state(), model_.now());
    return timer ? timer->remainingSeconds : -1;
}

QString QuillmereInterface::GetAgentState(const QDBusMessage& message)
{
    const auto document = encodeAgentSnapshot(StateStore::agentSnapshot(model_.state(), model_.now()));
    if (!document) {
        refuse(message, "org.freedesktop.DBus.Error.Failed", qtText(document.error().description()));
        return {};
    }
    return qtText(*document);
}

QString QuillmereInterface::AskQuestion(const QString& text, const QString& asker, const QDBusMessage& message)
{
    const auto id = model_.askQuestion(text, asker);
    if (!id) {
        const bool flood = id.error() == AgentQuestions::Refusal::tooManyOpenQuestions;
        refuse(message, flood ? tooManyQuestionsError : invalidQuestionError,
               qtText(AgentQuestions::message(id.error())));
        return {};
    }
    return qtText(id->toString());
}

void QuillmereInterface::GetQuestion(const QString& id, const QDBusMessage& message)
{
    const auto& questions = model_.state().agentQuestions;
    const std::optional<Uuid> wanted = Uuid::parse(id.toStdString());
    const auto question =
        std::ranges::find_if(questions, [&](const AgentQuestion& q) { return wanted && q.id == *wanted; });
    if (question == questions.end()) {
        refuse(message, unknownQuestionError, QStringLiteral("No question has the id \"%1\".").arg(id));
        return;
    }
    // Two values out: answered from the reply itself.
    message.setDelayedReply(true);
    const bool answered = question->answeredAt.has_value();
    connection_.send(message.createReply(
        {answered, answered ? qtText(question->answer.value_or(std::string())) : QString()}));
}

void QuillmereInterface::PauseFocus(const QDBusMessage& message)
{
    control(ControlCommand::pauseFocus, message);
}

void QuillmereInterface::ResumeFocus(const QDBusMessage& message)
{
    control(ControlCommand::resumeFocus, message);
}

void QuillmereInterface::EndFocus(const QDBusMessage& message)
{
    control(ControlCommand::endFocus, message);
}

void QuillmereInterface::ExtendBreak(const QDBusMessage& message)
{
    control(ControlCommand::extendBreak, message);
}

void QuillmereInterface::EndBreak(const QDBusMessage& message)
{
    control(ControlCommand::endBreak, message);
}

void QuillmereInterface::SkipBreak(const QDBusMessage& message)
{
    control(ControlCommand::skipBreak, message);
}

void QuillmereInterface::StartPlannedSession(const QDBusMessage& message)
{
    control(ControlCommand::startPlannedSession, message);
}

void QuillmereInterface::StartScheduledBlockNow(const QDBusMessage& message)
{
    control(ControlCommand::startScheduledBlockNow, message);
}

void QuillmereInterface::CancelScheduledBlock(const QDBusMessage& message)
{
    control(ControlCommand::cancelScheduledBlock, message);
}

void QuillmereInterface::ShowMainWindow(const QDBusMessage& message)
{
    control(ControlCommand::showMainWindow, message);
}

QuillmereInterface::Observed QuillmereInterface::observe() const
{
    return Observed{workflowState(), interruptible(), openQuestionCount()};
}

void QuillmereInterface::announceChanges()
{
    const Observed now = observe();
    if (now == announced_) {
        return;
    }
    QVariantMap changed;
    if (now.workflowState != announced_.workflowState) {
        changed.insert(QStringLiteral("WorkflowState"), now.workflowState);
    }
    if (now.interruptible != announced_.interruptible) {
        changed.insert(QStringLiteral("Interruptible"), now.interruptible);
    }
    if (now.openQuestionCount != announced_.openQuestionCount) {
        changed.insert(QStringLiteral("OpenQuestionCount"), now.openQuestionCount);
    }
    const bool phaseChanged =
        now.workflowState != announced_.workflowState || now.interruptible != announced_.interruptible;
    announced_ = now;

    QDBusMessage signal = QDBusMessage::createSignal(objectPath_, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(interfaceName) << changed << QStringList();
    connection_.send(signal);
    if (phaseChanged) {
        emit PhaseChanged(now.workflowState, now.interruptible);
    }
}

void QuillmereInterface::control(ControlCommand command, const QDBusMessage& message)
{
    if (const auto result = model_.control(command); !result) {
        refuse(message, refusedError, qtText(quillmere::message(result.error())));
    }
}

void QuillmereInterface::refuse(const QDBusMessage& message, const char* errorName, const QString& text)
{
    message.setDelayedReply(true);
    connection_.send(message.createErrorReply(QString::fromLatin1(errorName), text));
}

} // namespace quillmere
