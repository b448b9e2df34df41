// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModelOnDisk.h"

#include "QuillmereInterface.h"

#include "quillmere/AgentSnapshot.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using namespace std::chrono_literals;

const QString objectPath = QString::fromLatin1(QuillmereBus::objectPath);
const QString interface = QString::fromLatin1(QuillmereInterface::interfaceName);

// Every message a connection hears on the path.
class SignalRecorder : public QObject {
    Q_OBJECT

public:
    QList<QDBusMessage> messages;

    QStringList members() const
    {
        QStringList names;
        for (const QDBusMessage& message : messages) {
            names << message.member();
        }
        return names;
    }

public slots:
    void record(const QDBusMessage& message) { messages << message; }
};

// The model served on this test's private session bus, called from a second
// connection as another process would.
class QuillmereInterfaceTest : public fixtures::ModelOnDisk {
protected:
    void SetUp() override { clock.now += 250ms; }

    void TearDown() override
    {
        QDBusConnection::sessionBus().unregisterObject(objectPath);
        exported.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    }

    void serve(AppModel& model)
    {
        exported = std::make_unique<QObject>();
        new QuillmereInterface(*exported, model, QDBusConnection::sessionBus());
        ASSERT_TRUE(QDBusConnection::sessionBus().registerObject(objectPath, exported.get(),
                                                                  QDBusConnection::ExportAdaptors));
    }

    static QDBusConnection client()
    {
        return QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"));
    }

    static QDBusMessage call(const QString& method, const QVariantList& arguments = {},
                             const QString& interfaceName = interface)
    {
        QDBusMessage message = QDBusMessage::createMethodCall(QDBusConnection::sessionBus().baseService(), objectPath,
                                                              interfaceName, method);
        message.setArguments(arguments);
        return client().call(message, QDBus::BlockWithGui, 5000);
    }

    static QVariant property(const QString& name)
    {
        const QDBusMessage reply =
            call(QStringLiteral("Get"), {interface, name}, QStringLiteral("org.freedesktop.DBus.Properties"));
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }

    void listen(SignalRecorder& recorder)
    {
        for (const char* member : {"PhaseChanged", "QuestionAnswered"}) {
            ASSERT_TRUE(client().connect(QString(), objectPath, interface, QString::fromLatin1(member), &recorder,
                                         SLOT(record(QDBusMessage))));
        }
        ASSERT_TRUE(client().connect(QString(), objectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                     QStringLiteral("PropertiesChanged"), &recorder, SLOT(record(QDBusMessage))));
    }

    // Every stage in which the panel shows a different set of commands.
    enum class Stage {
        idle,
        scheduled,
        blockPlanning,
        planningWithoutPlan,
        planningWithPlan,
        focusing,
        paused,
        review,
        breaking,
        blockReview,
        complete,
    };

    std::unique_ptr<AppModel> modelAt(Stage stage)
    {
        std::filesystem::remove(stateFile());
        switch (stage) {
        case Stage::idle: return makeModel();
        case Stage::scheduled: {
            auto model = makeModel();
            Block block = Block::defaultBlock(clock.now);
            block.plannedStart = clock.now + 3600s;
            model->beginBlock();
            model->scheduleBlock(block);
            return model;
        }
        case Stage::blockPlanning: {
            auto model = makeModel();
            model->beginBlock();
            return model;
        }
        case Stage::planningWithoutPlan: return modelIn(WorkflowState::sessionPlanning);
        case Stage::planningWithPlan: {
            auto model = modelIn(WorkflowState::breaking);
            model->endBreak();
            return model;
        }
        case Stage::focusing: return modelIn(WorkflowState::focusing);
        case Stage::paused: {
            auto model = modelIn(WorkflowState::focusing);
            model->pauseOrResumeFocus();
            return model;
        }
        case Stage::review: return modelIn(WorkflowState::sessionReview);
        case Stage::breaking: return modelIn(WorkflowState::breaking);
        case Stage::blockReview: {
            auto model = modelAt(Stage::planningWithPlan);
            model->startFocus(std::nullopt);
            model->endFocus();
            model->saveReview(review(), std::nullopt);
            return model;
        }
        case Stage::complete: {
            QuillmereState state = QuillmereState::initial(clock.now);
            state.workflowState = WorkflowState::complete;
            writeState(state);
            return makeModel();
        }
        }
        return nullptr;
    }

    std::unique_ptr<QObject> exported;
};

TEST_F(QuillmereInterfaceTest, EveryCommandInEveryPhaseMovesAsThePanelDoesOrIsRefusedChangingNothing)
{
    const QStringList methods{"PauseFocus",          "ResumeFocus",           "EndFocus",
                              "ExtendBreak",         "EndBreak",              "SkipBreak",
                              "StartPlannedSession", "StartScheduledBlockNow", "CancelScheduledBlock"};
    struct Row {
        Stage stage;
        const char* name;
        WorkflowState phase;
        // What each allowed command leads to; every other one is refused.
        std::map<QString, WorkflowState> allowed;
    };
    using enum WorkflowState;
    const Row rows[] = {
        {Stage::idle, "idle", idle, {}},
        {Stage::scheduled,
         "scheduled",
         idle,
         {{"StartScheduledBlockNow", sessionPlanning}, {"CancelScheduledBlock", idle}}},
        {Stage::blockPlanning, "block planning", blockPlanning, {}},
        {Stage::planningWithoutPlan, "planning, no plan saved", sessionPlanning, {}},
        {Stage::planningWithPlan, "planning, plan saved", sessionPlanning, {{"StartPlannedSession", focusing}}},
        {Stage::focusing, "focusing", focusing, {{"PauseFocus", focusing}, {"EndFocus", sessionReview}}},
        {Stage::paused, "paused", focusing, {{"ResumeFocus", focusing}, {"EndFocus", sessionReview}}},
        {Stage::review, "review", sessionReview, {}},
        {Stage::breaking,
         "breaking",
         breaking,
         {{"ExtendBreak", breaking}, {"EndBreak", sessionPlanning}, {"SkipBreak", sessionPlanning}}},
        {Stage::blockReview, "block review", blockReview, {}},
        {Stage::complete, "complete", complete, {}},
    };
    for (const Row& row : rows) {
        for (const QString& method : methods) {
            SCOPED_TRACE(row.name + std::string(" × ") + method.toStdString());
            auto model = modelAt(row.stage);
            ASSERT_EQ(model->state().workflowState, row.phase);
            serve(*model);
            const std::string before = fixtures::fileContents(stateFile());
            const bool interruptibleBefore = model->state().interruptible();
            clock.now += 10s;

            const QDBusMessage reply = call(method);

            if (const auto allowed = row.allowed.find(method); allowed != row.allowed.end()) {
                EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
                EXPECT_EQ(model->state().workflowState, allowed->second);
                EXPECT_EQ(savedState().workflowState, allowed->second);
                if (method == "PauseFocus" || method == "ResumeFocus") {
                    EXPECT_NE(model->state().interruptible(), interruptibleBefore);
                }
            } else {
                EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage);
                EXPECT_EQ(reply.errorName(), QuillmereInterface::refusedError);
                EXPECT_FALSE(reply.errorMessage().isEmpty());
                EXPECT_EQ(fixtures::fileContents(stateFile()), before);
                EXPECT_EQ(model->state().workflowState, row.phase);
            }
            // An agent's refused command is its own business, not an alert.
            EXPECT_TRUE(model->lastError().isEmpty()) << model->lastError().toStdString();
            TearDown();
        }
    }
}

TEST_F(QuillmereInterfaceTest, TheAgentDocumentAndFileKeepTheirSchemaInEveryPhase)
{
    fixtures::TempFolder documents;
    for (int stage = 0; stage <= static_cast<int>(Stage::complete); ++stage) {
        SCOPED_TRACE(stage);
        auto model = modelAt(static_cast<Stage>(stage));
        model->askQuestion("Which branch?", "test-agent").value();
        serve(*model);
        clock.now += 1s;
        model->tick(clock.now);
        const QString document = call("GetAgentState").arguments().value(0).toString();
        std::ofstream(documents.path() / ("agent-state-call-" + std::to_string(stage) + ".json")) << document.toStdString();
        std::filesystem::copy_file(folder.path() / "agent-state.json",
                                   documents.path() / ("agent-state-file-" + std::to_string(stage) + ".json"));
        TearDown();
    }
    QProcess validator;
    validator.setProcessChannelMode(QProcess::MergedChannels);
    validator.start(QStringLiteral(QUILLMERE_PYTHON),
                    {QStringLiteral(QUILLMERE_SCHEMA_VALIDATOR), QStringLiteral(QUILLMERE_AGENT_SCHEMA),
                     QString::fromStdString(documents.path().string())});
    ASSERT_TRUE(validator.waitForFinished(60'000));
    EXPECT_EQ(validator.exitCode(), 0) << validator.readAll().toStdString();
}

TEST_F(QuillmereInterfaceTest, ARefusalCarriesTheEnginesReason)
{
    auto model = modelAt(Stage::planningWithoutPlan);
    serve(*model);
    EXPECT_EQ(call("StartPlannedSession").errorMessage().toStdString(),
              message(WorkflowError::missingSessionPlan));
    EXPECT_EQ(call("EndBreak").errorMessage().toStdString(), message(WorkflowError::invalidTransition));
}

TEST_F(QuillmereInterfaceTest, BadQuestionsAreRefusedWithAClearErrorAndNothingStored)
{
    auto model = makeModel();
    serve(*model);
    for (int i = 0; i < static_cast<int>(AgentQuestions::maximumOpenQuestionsPerAsker); ++i) {
        ASSERT_EQ(call("AskQuestion", {QStringLiteral("Q%1").arg(i), "busy-bot"}).type(), QDBusMessage::ReplyMessage);
    }
    const std::string before = fixtures::fileContents(stateFile());
    struct Case {
        const char* name;
        QString text;
        QString asker;
        const char* error;
    };
    const Case cases[] = {
        {"empty", "", "", QuillmereInterface::invalidQuestionError},
        {"white space", "  \n\t", "bot", QuillmereInterface::invalidQuestionError},
        {"too long", QString(2001, QChar(u'q')), "bot", QuillmereInterface::invalidQuestionError},
        {"escape", "Which\x1b[2J branch?", "bot", QuillmereInterface::invalidQuestionError},
        {"long asker", "Which branch?", QString(65, QChar(u'a')), QuillmereInterface::invalidQuestionError},
        {"flood", "One more?", "busy-bot", QuillmereInterface::tooManyQuestionsError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QDBusMessage reply = call("AskQuestion", {c.text, c.asker});
        EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage);
        EXPECT_EQ(reply.errorName(), c.error);
        EXPECT_FALSE(reply.errorMessage().isEmpty());
    }
    EXPECT_EQ(fixtures::fileContents(stateFile()), before);
    EXPECT_EQ(model->state().agentQuestions.size(), AgentQuestions::maximumOpenQuestionsPerAsker);
    EXPECT_EQ(call("GetQuestion", {"not-an-id"}).errorName(), QuillmereInterface::unknownQuestionError);
    EXPECT_EQ(call("GetQuestion", {QString::fromStdString(Uuid::generate().toString())}).errorName(),
              QuillmereInterface::unknownQuestionError);
}

TEST_F(QuillmereInterfaceTest, AQuestionAskedIsStoredWithItsAskerAndItsAnswerIsAnnounced)
{
    auto model = makeModel();
    serve(*model);
    SignalRecorder recorder;
    listen(recorder);

    const QDBusMessage asked = call("AskQuestion", {"Which branch?", "test-agent"});
    ASSERT_EQ(asked.type(), QDBusMessage::ReplyMessage) << asked.errorMessage().toStdString();
    const QString id = asked.arguments().value(0).toString();

    const QuillmereState saved = savedState();
    ASSERT_EQ(saved.agentQuestions.size(), 1u);
    EXPECT_EQ(saved.agentQuestions[0].id.toString(), id.toStdString());
    EXPECT_EQ(saved.agentQuestions[0].askedBy, "test-agent");
    const auto agentFile = decodeAgentSnapshot(fixtures::fileContents(folder.path() / "agent-state.json"));
    ASSERT_TRUE(agentFile);
    ASSERT_EQ(agentFile->openQuestions.size(), 1u);
    EXPECT_EQ(agentFile->openQuestions[0].askedBy, "test-agent");
    EXPECT_EQ(call("GetQuestion", {id}).arguments(), (QVariantList{false, QString()}));
    EXPECT_EQ(property("OpenQuestionCount").toUInt(), 1u);

    model->answerQuestion(*Uuid::parse(id.toStdString()), "main");

    EXPECT_EQ(call("GetQuestion", {id.toLower()}).arguments(), (QVariantList{true, QStringLiteral("main")}));
    QTRY_VERIFY(recorder.members().contains("QuestionAnswered"));
    for (const QDBusMessage& message : recorder.messages) {
        if (message.member() == "QuestionAnswered") {
            EXPECT_EQ(message.arguments(), (QVariantList{id, QStringLiteral("main")}));
        }
    }
}

TEST_F(QuillmereInterfaceTest, PropertiesReadTheStateAndOnlyChangesAreSignalled)
{
    auto model = modelIn(WorkflowState::focusing);
    serve(*model);
    SignalRecorder recorder;
    listen(recorder);

    EXPECT_EQ(property("WorkflowState").toString(), "focusing");
    EXPECT_EQ(property("Interruptible").toBool(), false);
    EXPECT_EQ(property("OpenQuestionCount").toUInt(), 0u);
    clock.now += 60s;
    EXPECT_EQ(property("RemainingSeconds").toLongLong(), 1500 - 60);

    model->tick(clock.now + 1s); // time passing alone is no change
    model->setDueMessage("a notice is not the phase");
    ASSERT_EQ(call("EndFocus").type(), QDBusMessage::ReplyMessage);
    ASSERT_EQ(call("GetAgentState").type(), QDBusMessage::ReplyMessage); // the signals are out by now
    QTRY_COMPARE(recorder.members(), (QStringList{"PropertiesChanged", "PhaseChanged"}));
    const QVariantMap changed = qdbus_cast<QVariantMap>(recorder.messages[0].arguments().value(1));
    EXPECT_EQ(changed.keys(), (QStringList{"Interruptible", "WorkflowState"}));
    EXPECT_EQ(recorder.messages[1].arguments(), (QVariantList{"sessionReview", true}));
    EXPECT_EQ(property("RemainingSeconds").toLongLong(), -1);
}

TEST_F(QuillmereInterfaceTest, TheAgentDocumentIsTheFileOfThisInstantAndTheIntrospectionTheInstalledXml)
{
    auto model = modelIn(WorkflowState::focusing);
    serve(*model);
    clock.now += 90s;
    ASSERT_TRUE(StateStore(folder.path()).saveAgentSnapshot(model->state(), clock.now));
    EXPECT_EQ(call("GetAgentState").arguments().value(0).toString().toStdString(),
              fixtures::fileContents(folder.path() / "agent-state.json"));

    const QString introspection =
        call("Introspect", {}, QStringLiteral("org.freedesktop.DBus.Introspectable")).arguments().value(0).toString();
    QFile xml(QStringLiteral(QUILLMERE_INTERFACE_XML));
    ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
    const QString installed = QString::fromUtf8(xml.readAll());
    const qsizetype start = installed.indexOf("  <interface");
    const qsizetype end = installed.indexOf("</interface>") + qsizetype(sizeof "</interface>") - 1;
    EXPECT_TRUE(introspection.contains(installed.mid(start, end - start)));
    EXPECT_TRUE(introspection.contains("org.freedesktop.DBus.Property.EmitsChangedSignal"));
}

} // namespace
} // namespace quillmere

#include "QuillmereInterfaceTest.moc"
