// SPDX-License-Identifier: GPL-3.0-or-later
// quillmerectl while Quillmere is not running: the question goes into the
// state folder under its lock, and status reads what Quillmere saved.

#include "CtlTestSupport.h"
#include "FakeQuillmere.h"
#include "QuillmereClient.h"

#include "quillmere/AgentQuestions.h"
#include "quillmere/StateFolderLock.h"
#include "quillmere/StateStore.h"

#include <gtest/gtest.h>

namespace quillmere::ctltest {
namespace {

using fixtures::contents;
using fixtures::TempFolder;
using fixtures::writeFile;

class OfflineTest : public ::testing::Test {
protected:
    std::filesystem::path folder() const { return dataHome.path() / "Quillmere"; }
    StateStore store() const { return StateStore(folder()); }
    CtlResult run(const QStringList& arguments) { return runCtl(arguments, dataHome.path()); }

    // A saved state with `count` open questions from `asker`.
    void saveQuestions(std::size_t count, const std::string& asker)
    {
        std::filesystem::create_directories(folder());
        QuillmereState state = QuillmereState::initial(utcInstant(2026, 3, 2, 9));
        for (std::size_t i = 0; i < count; ++i) {
            ASSERT_TRUE(AgentQuestions::ask(state, "Earlier?", asker, utcInstant(2026, 3, 2, 9, 30)).has_value());
        }
        ASSERT_TRUE(store().save(state).has_value());
    }

    TempFolder dataHome;
};

TEST_F(OfflineTest, AskSavesTheQuestionWithItsAskerForTheNextStart)
{
    const CtlResult result = run({QStringLiteral("ask"), QStringLiteral("Which branch?\n\tmain?"),
                                  QStringLiteral("--as"), QStringLiteral("release-bot")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.err.toStdString(),
              "quillmerectl: Quillmere is not running; the question is saved and will be shown when it starts.\n");

    const auto state = store().load();
    ASSERT_TRUE(state.has_value());
    ASSERT_EQ(state->agentQuestions.size(), 1U);
    const AgentQuestion& question = state->agentQuestions.front();
    EXPECT_EQ(result.out.toStdString(), question.id.toString() + "\n");
    EXPECT_EQ(question.question, "Which branch?\n\tmain?");
    EXPECT_EQ(question.askedBy, "release-bot");
    EXPECT_FALSE(question.answeredAt.has_value());

    // The agents' document beside it has it too, and status reads that.
    const CtlResult status = run({QStringLiteral("status")});
    EXPECT_EQ(status.exitCode, 0);
    EXPECT_EQ(status.out.toStdString(), "Quillmere is not running; as of just now: Idle · 1 open question\n");
    const CtlResult json = run({QStringLiteral("status"), QStringLiteral("--json")});
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.out.toStdString(), contents(folder() / StateStore::agentStateFileName) + "\n");
    EXPECT_EQ(json.err.toStdString(), "quillmerectl: Quillmere is not running; this is the state it saved just now.\n");
}

TEST_F(OfflineTest, RefusedQuestionOrUnreadableStateWritesNothing)
{
    const struct {
        const char* name;
        std::string stateFile;
        QStringList arguments;
        const char* error;
    } cases[] = {
        {"empty", "", {QStringLiteral("ask"), QStringLiteral(" \n\t")}, "quillmerectl: The question is empty.\n"},
        {"control character",
         "",
         {QStringLiteral("ask"), QStringLiteral("Clear \x1b[2J?")},
         "quillmerectl: The question contains control characters; only line breaks and tabs are allowed.\n"},
        {"asker too long",
         "",
         {QStringLiteral("ask"), QStringLiteral("Tag?"), QStringLiteral("--as"), QString(65, QLatin1Char('a'))},
         "quillmerectl: The asker's name is longer than 64 characters.\n"},
        {"twenty-first from one asker",
         "",
         {QStringLiteral("ask"), QStringLiteral("Tag?"), QStringLiteral("--as=bot")},
         "quillmerectl: This asker already has 20 open questions; wait for answers before asking more.\n"},
        {"not JSON", "{ not json", {QStringLiteral("ask"), QStringLiteral("Tag?")}, nullptr},
        {"unknown member", "", {QStringLiteral("ask"), QStringLiteral("Tag?")}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder());
        saveQuestions(20, "bot");
        const std::filesystem::path stateFile = folder() / StateStore::stateFileName;
        if (!c.stateFile.empty()) {
            writeFile(stateFile, c.stateFile);
        }
        if (std::string(c.name) == "unknown member") {
            std::string bytes = contents(stateFile);
            bytes.insert(bytes.find('{') + 1, "\"from_a_later_version\": 1,");
            writeFile(stateFile, bytes);
        }
        const std::string stateBefore = contents(stateFile);
        const std::string agentBefore = contents(folder() / StateStore::agentStateFileName);

        const CtlResult result = run(c.arguments);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.out.isEmpty());
        if (c.error != nullptr) {
            EXPECT_EQ(result.err.toStdString(), c.error);
        } else {
            EXPECT_TRUE(result.err.contains(QLatin1String(StateStore::stateFileName))) << result.err.toStdString();
        }
        EXPECT_EQ(contents(stateFile), stateBefore);
        EXPECT_EQ(contents(folder() / StateStore::agentStateFileName), agentBefore);
    }
}

TEST_F(OfflineTest, LockedFolderWithoutAnAnswerOnTheBusIsNotRunningAndUntouched)
{
    saveQuestions(0, "");
    const std::string before = contents(folder() / StateStore::stateFileName);
    // Another process's lock: flock(2) conflicts between open files even
    // within one process.
    auto lock = StateFolderLock::acquire(folder());
    ASSERT_TRUE(lock.has_value());

    QuillmereClientOptions options;
    options.stateFolder = folder();
    options.startingPatience = std::chrono::milliseconds(0);
    const QuillmereClient client(QDBusConnection::sessionBus(), options);
    const auto asked = client.askAnywhere(QStringLiteral("Tag?"), QStringLiteral("bot"));
    ASSERT_FALSE(asked.has_value());
    EXPECT_EQ(asked.error().kind, ClientError::Kind::notRunning);
    EXPECT_TRUE(asked.error().message.contains(QLatin1String("does not answer on this session bus")))
        << asked.error().message.toStdString();
    EXPECT_EQ(contents(folder() / StateStore::stateFileName), before);
}

TEST_F(OfflineTest, AskWaitsForQuillmereToStartAndAnswer)
{
    Ctl ctl({QStringLiteral("ask"), QStringLiteral("Merge?"), QStringLiteral("--wait")}, dataHome.path());
    const QString id = ctl.readLine();
    ASSERT_EQ(store().load().value().agentQuestions.size(), 1U);

    // Quillmere starts, finds the question and the user answers it.
    FakeQuillmere fake;
    fake.answer(id, QStringLiteral("squash it"), false);
    ASSERT_TRUE(fake.start());
    const CtlResult result = ctl.finish();
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out.toStdString(), "squash it\n");
}

} // namespace
} // namespace quillmere::ctltest
