// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakeQuillmere.h"

#include "QuillmereClient.h"

#include <QDBusMessage>

namespace quillmere::ctltest {
namespace {

// The object path of a Quillmere that has its name but no interface yet.
class StartingObject final : public QDBusVirtualObject {
public:
    explicit StartingObject(int& calls) : calls_(calls) {}

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        ++calls_;
        connection.send(message.createErrorReply(QDBusError::UnknownInterface, QStringLiteral("Not yet.")));
        return true;
    }

private:
    int& calls_;
};

} // namespace

FakeQuillmere::FakeQuillmere(QDBusConnection connection) : connection_(std::move(connection)) {}

FakeQuillmere::~FakeQuillmere()
{
    stop();
}

bool FakeQuillmere::startStarting()
{
    startingObject_ = std::make_unique<StartingObject>(callsWhileStarting);
    return connection_.registerVirtualObject(QLatin1String(QuillmereClient::objectPath), startingObject_.get()) &&
           connection_.registerService(QLatin1String(QuillmereClient::serviceName));
}

bool FakeQuillmere::start()
{
    if (started_) {
        return true;
    }
    if (startingObject_) {
        connection_.unregisterObject(QLatin1String(QuillmereClient::objectPath));
        startingObject_.reset();
    }
    started_ = connection_.registerObject(QLatin1String(QuillmereClient::objectPath), this,
                                      QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                          QDBusConnection::ExportAllProperties) &&
               connection_.registerService(QLatin1String(QuillmereClient::serviceName));
    return started_;
}

void FakeQuillmere::stop()
{
    started_ = false;
    startingObject_.reset();
    connection_.unregisterService(QLatin1String(QuillmereClient::serviceName));
    connection_.unregisterObject(QLatin1String(QuillmereClient::objectPath));
}

bool FakeQuillmere::refuse(const QString& method)
{
    calls << method;
    const auto refusal = refusals.constFind(method);
    if (refusal == refusals.constEnd()) {
        return false;
    }
    sendErrorReply(refusal->name, refusal->message);
    return true;
}

QString FakeQuillmere::GetAgentState()
{
    refuse(QStringLiteral("GetAgentState"));
    return document;
}

QString FakeQuillmere::AskQuestion(const QString& text, const QString& asker)
{
    if (refuse(QStringLiteral("AskQuestion"))) {
        return {};
    }
    askedTexts << text;
    askedAskers << asker;
    const QString id = QStringLiteral("00000000-0000-4000-8000-%1").arg(nextQuestion_++, 12, 10, QLatin1Char('0'));
    if (!answerAtOnce.isEmpty()) {
        answer(id, answerAtOnce, false);
    }
    return id;
}

bool FakeQuillmere::GetQuestion(const QString& id, QString& answer)
{
    if (refuse(QStringLiteral("GetQuestion"))) {
        return false;
    }
    const auto found = answers.constFind(id);
    if (found == answers.constEnd()) {
        return false;
    }
    answer = *found;
    return true;
}

void FakeQuillmere::changePhase(const QString& workflowState, bool interruptible)
{
    workflowState_ = workflowState;
    interruptible_ = interruptible;
    emit PhaseChanged(workflowState, interruptible);
    announceProperties({{QStringLiteral("WorkflowState"), workflowState},
                        {QStringLiteral("Interruptible"), interruptible}});
}

void FakeQuillmere::changeInterruptible(bool interruptible)
{
    interruptible_ = interruptible;
    announceProperties({{QStringLiteral("Interruptible"), interruptible}});
}

void FakeQuillmere::changeOpenQuestionCount(uint count)
{
    openQuestionCount_ = count;
    announceProperties({{QStringLiteral("OpenQuestionCount"), count}});
}

void FakeQuillmere::answer(const QString& id, const QString& text, bool announce)
{
    answers.insert(id, text);
    if (announce) {
        emit QuestionAnswered(id, text);
    }
}

void FakeQuillmere::announceProperties(const QVariantMap& changed)
{
    QDBusMessage signal = QDBusMessage::createSignal(QLatin1String(QuillmereClient::objectPath),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QLatin1String(QuillmereClient::interfaceName) << changed << QStringList();
    connection_.send(signal);
}

} // namespace quillmere::ctltest
