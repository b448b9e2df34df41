// SPDX-License-Identifier: GPL-3.0-or-later
// The real quillmerectl against a fake Quillmere on the test's private bus:
// what it prints, what it calls, and the exit status a script sees.

#include "CtlTestSupport.h"
#include "FakeQuillmere.h"

#include "quillmere/AgentSnapshot.h"

#include <gtest/gtest.h>

namespace quillmere::ctltest {
namespace {

using fixtures::TempFolder;

std::string focusDocument(std::size_t openQuestions)
{
    AgentSnapshot snapshot;
    snapshot.workflowState = WorkflowState::focusing;
    snapshot.interruptible = false;
    snapshot.block = Block::defaultBlock(utcInstant(2026, 3, 2, 9));
    snapshot.currentSession = WorkSession{};
    snapshot.currentSession->number = 3;
    snapshot.remainingSeconds = 1068;
    snapshot.updatedAt = utcInstant(2026, 3, 2, 10);
    for (std::size_t i = 0; i < openQuestions; ++i) {
        snapshot.openQuestions.push_back(AgentQuestion{.id = Uuid::generate(),
                                                       .question = "Tag now?",
                                                       .createdAt = snapshot.updatedAt,
                                                       .answer = std::nullopt,
                                                       .answeredAt = std::nullopt,
                                                       .askedBy = std::nullopt});
    }
    return encodeAgentSnapshot(snapshot).value();
}

class QuillmereCtlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
    }

    void startFake()
    {
        ASSERT_TRUE(fake.start()) << QDBusConnection::sessionBus().lastError().message().toStdString();
    }

    CtlResult run(const QStringList& arguments) { return runCtl(arguments, dataHome.path()); }

    TempFolder dataHome;
    FakeQuillmere fake;
};

TEST_F(QuillmereCtlTest, EachPanelCommandCallsItsMethodOnce)
{
    startFake();
    const struct {
        const char* command;
        const char* method;
    } cases[] = {
        {"pause", "PauseFocus"},
        {"resume", "ResumeFocus"},
        {"end-focus", "EndFocus"},
        {"extend-break", "ExtendBreak"},
        {"end-break", "EndBreak"},
        {"skip-break", "SkipBreak"},
        {"start", "StartPlannedSession"},
        {"start-now", "StartScheduledBlockNow"},
        {"cancel-scheduled", "CancelScheduledBlock"},
        {"show", "ShowMainWindow"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        fake.calls.clear();
        const CtlResult result = run({QString::fromLatin1(c.command)});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_EQ(fake.calls, QStringList{QString::fromLatin1(c.method)});
        EXPECT_TRUE(result.out.isEmpty());
    }
}

TEST_F(QuillmereCtlTest, ExitStatusTellsRefusedUsageNotRunningAndTimedOut)
{
    const struct {
        const char* name;
        bool running;
        QStringList arguments;
        int exitCode;
        const char* error;
    } cases[] = {
        {"refused", true, {QStringLiteral("resume")}, 1, "quillmerectl: No focus session is paused.\n"},
        {"refused question", true, {QStringLiteral("ask"), QStringLiteral("Tag?")}, 1,
         "quillmerectl: The question is empty.\n"},
        {"usage", true, {QStringLiteral("pause"), QStringLiteral("--now")}, 2,
         "quillmerectl: unknown option --now\nTry 'quillmerectl --help'.\n"},
        {"not running", false, {QStringLiteral("pause")}, 3, "quillmerectl: Quillmere is not running.\n"},
        {"not running, waiting", false, {QStringLiteral("wait-interruptible")}, 3,
         "quillmerectl: Quillmere is not running.\n"},
        {"not running, questions without a saved state", false, {QStringLiteral("questions")}, 3, nullptr},
        {"timed out", true, {QStringLiteral("wait-interruptible"), QStringLiteral("--timeout"), QStringLiteral("0.2")},
         4, "quillmerectl: The user could still not be interrupted at the timeout.\n"},
        {"timed out asking",
         true,
         {QStringLiteral("ask"), QStringLiteral("Merge?"), QStringLiteral("--wait"), QStringLiteral("--timeout=0")},
         4,
         "quillmerectl: No answer came within the timeout.\n"},
    };
    fake.refusals.insert(QStringLiteral("ResumeFocus"),
                         {QLatin1String(FakeQuillmere::refusedError), QStringLiteral("No focus session is paused.")});
    fake.changePhase(QStringLiteral("focusing"), false);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake.refusals.remove(QStringLiteral("AskQuestion"));
        if (QString::fromLatin1(c.name) == QLatin1String("refused question")) {
            fake.refusals.insert(QStringLiteral("AskQuestion"), {QLatin1String(FakeQuillmere::invalidQuestionError),
                                                                 QStringLiteral("The question is empty.")});
        }
        if (c.running) {
            startFake();
        } else {
            fake.stop();
        }
        const CtlResult result = run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err.toStdString();
        if (c.error != nullptr) {
            EXPECT_EQ(result.err.toStdString(), c.error);
        }
    }
}

TEST_F(QuillmereCtlTest, StatusIsOneLineFromTheRunningDocumentOrTheDocumentItself)
{
    startFake();
    fake.document = QString::fromStdString(focusDocument(2));
    CtlResult result = run({QStringLiteral("status")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.toStdString(), "Focus 17:48 left · session 3 of 8 · 2 open questions\n");

    result = run({QStringLiteral("status"), QStringLiteral("--json")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, fake.document + QLatin1Char('\n'));
    EXPECT_TRUE(result.err.isEmpty());
}

TEST_F(QuillmereCtlTest, AskWaitsForTheAnswerSignalOfItsOwnQuestion)
{
    startFake();
    Ctl ctl({QStringLiteral("ask"), QStringLiteral("Which branch?"), QStringLiteral("--as"), QStringLiteral("bot"),
             QStringLiteral("--wait")},
            dataHome.path());
    const QString id = ctl.readLine();
    ASSERT_FALSE(id.isEmpty());
    EXPECT_EQ(fake.askedTexts, QStringList{QStringLiteral("Which branch?")});
    EXPECT_EQ(fake.askedAskers, QStringList{QStringLiteral("bot")});
    // Once it has looked, another question's answer must not end the wait.
    spinUntil([&] { return fake.calls.contains(QStringLiteral("GetQuestion")); });
    fake.answer(QStringLiteral("00000000-0000-4000-8000-000000000999"), QStringLiteral("not yours"));
    fake.answer(id, QStringLiteral("main, then\ttag"));
    const CtlResult result = ctl.finish();
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out.toStdString(), "main, then\ttag\n");
}

TEST_F(QuillmereCtlTest, AskFindsAnAnswerGivenBeforeItListened)
{
    startFake();
    fake.answerAtOnce = QStringLiteral("yes");
    const CtlResult result = run({QStringLiteral("ask"), QStringLiteral("Merge?"), QStringLiteral("--wait")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out.toStdString(), "00000000-0000-4000-8000-000000000001\nyes\n");
}

TEST_F(QuillmereCtlTest, AskKeepsWaitingWhileQuillmereRestarts)
{
    startFake();
    Ctl ctl({QStringLiteral("ask"), QStringLiteral("Merge?"), QStringLiteral("--wait")}, dataHome.path());
    const QString id = ctl.readLine();
    spinUntil([&] { return fake.calls.contains(QStringLiteral("GetQuestion")); });
    fake.stop();
    // Answered while it was gone: only a fresh look after the restart tells.
    fake.answer(id, QStringLiteral("after the restart"), false);
    // Back with its name first, and its interface only a moment later: a
    // look in between must not end the wait.
    ASSERT_TRUE(fake.startStarting());
    spinUntil([&] { return fake.callsWhileStarting > 0; });
    startFake();
    const CtlResult result = ctl.finish();
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out.toStdString(), "after the restart\n");
}

TEST_F(QuillmereCtlTest, AskGivesAStartingQuillmereTheMomentItNeeds)
{
    // The name is taken but the state not loaded yet: the question goes to
    // Quillmere once it serves, not to the folder it is about to load.
    ASSERT_TRUE(fake.startStarting());
    Ctl ctl({QStringLiteral("ask"), QStringLiteral("Merge?")}, dataHome.path());
    spinUntil([&] { return fake.callsWhileStarting > 0; });
    startFake();
    const CtlResult result = ctl.finish();
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out.toStdString(), "00000000-0000-4000-8000-000000000001\n");
    EXPECT_EQ(fake.askedTexts, QStringList{QStringLiteral("Merge?")});
    EXPECT_FALSE(std::filesystem::exists(dataHome.path() / "Quillmere"));
}

TEST_F(QuillmereCtlTest, WatchPrintsALinePerChangeUntilTerminated)
{
    startFake();
    fake.document = QString::fromStdString(focusDocument(0));
    Ctl ctl({QStringLiteral("status"), QStringLiteral("--watch")}, dataHome.path());
    // The first line comes after the subscriptions: no change is missed.
    EXPECT_EQ(ctl.readLine().toStdString(), "Focus 17:48 left · session 3 of 8");

    fake.document = QString::fromStdString(focusDocument(1));
    fake.changeOpenQuestionCount(1);
    EXPECT_EQ(ctl.readLine().toStdString(), "Focus 17:48 left · session 3 of 8 · 1 open question");

    AgentSnapshot idle;
    fake.document = QString::fromStdString(encodeAgentSnapshot(idle).value());
    fake.changePhase(QStringLiteral("idle"), true);
    EXPECT_EQ(ctl.readLine().toStdString(), "Idle");
    // One look for the question count, two for the phase change.
    spinUntil([&] { return fake.calls.count(QStringLiteral("GetAgentState")) == 4; });

    ctl.terminate();
    const CtlResult result = ctl.finish();
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    // Two signals for the one phase change print one line, not two.
    EXPECT_EQ(result.out.toStdString(), "");
}

TEST_F(QuillmereCtlTest, WaitInterruptibleEndsWhenTheUserMayBeInterruptedOrQuillmereQuits)
{
    startFake();
    fake.changePhase(QStringLiteral("idle"), true);
    EXPECT_EQ(run({QStringLiteral("wait-interruptible"), QStringLiteral("--timeout"), QStringLiteral("0")}).exitCode,
              0);

    // Pausing makes the user interruptible without a new phase.
    fake.changePhase(QStringLiteral("focusing"), false);
    {
        const int reads = fake.interruptibleReads;
        Ctl ctl({QStringLiteral("wait-interruptible")}, dataHome.path());
        spinUntil([&] { return fake.interruptibleReads > reads; });
        fake.changeInterruptible(true);
        EXPECT_EQ(ctl.finish().exitCode, 0);
    }

    fake.changeInterruptible(false);
    {
        const int reads = fake.interruptibleReads;
        Ctl ctl({QStringLiteral("wait-interruptible")}, dataHome.path());
        spinUntil([&] { return fake.interruptibleReads > reads; });
        fake.stop();
        const CtlResult result = ctl.finish();
        EXPECT_EQ(result.exitCode, 3);
        EXPECT_EQ(result.err.toStdString(), "quillmerectl: Quillmere quit while waiting.\n");
    }
}

} // namespace
} // namespace quillmere::ctltest
