// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/AgentQuestions.h"

#include "quillmere/TextLimits.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using Refusal = AgentQuestions::Refusal;

const Instant t0 = Instant(std::chrono::sys_days(std::chrono::year(2026) / 12 / 8).time_since_epoch()) + 9h + 250ms;

std::string repeated(std::string_view piece, std::size_t times)
{
    std::string text;
    for (std::size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

TEST(AgentQuestions, RefusesWhatAProgramMustNotPutBeforeTheUserAndStoresNothing)
{
    struct Case {
        const char* name;
        std::string text;
        std::string asker;
        Refusal refusal;
    };
    const Case cases[] = {
        {"empty", "", "", Refusal::emptyText},
        {"white space only", " \n\t ", "bot", Refusal::emptyText},
        {"one character too many", repeated("é", TextLimits::questionCharacters + 1), "", Refusal::textTooLong},
        {"escape sequence", "Which \x1b[31mbranch?", "", Refusal::controlCharacterInText},
        {"carriage return", "Which\rbranch?", "", Refusal::controlCharacterInText},
        {"NUL", std::string("Which\0branch?", 13), "", Refusal::controlCharacterInText},
        {"C1 control", "Which \xc2\x9b branch?", "", Refusal::controlCharacterInText},
        {"not UTF-8", "Which \xff branch?", "", Refusal::controlCharacterInText},
        {"long asker", "Which branch?", repeated("a", AgentQuestions::maximumAskerCharacters + 1),
         Refusal::askerTooLong},
        {"newline in asker", "Which branch?", "bot\nrm -rf", Refusal::controlCharacterInAsker},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QuillmereState state = QuillmereState::initial(t0);
        const QuillmereState before = state;
        const auto id = AgentQuestions::ask(state, c.text, c.asker, t0 + 1s);
        ASSERT_FALSE(id.has_value());
        EXPECT_EQ(id.error(), c.refusal);
        EXPECT_FALSE(AgentQuestions::message(c.refusal).empty());
        EXPECT_EQ(state, before);
    }
}

TEST(AgentQuestions, KeepsTheTextAsGivenAndTheAskerOnlyWhenNamed)
{
    QuillmereState state = QuillmereState::initial(t0);
    const std::string longest = repeated("é", TextLimits::questionCharacters);
    const auto named = AgentQuestions::ask(state, "  Which branch?\n\tmain or next ", "test-agent", t0 + 1s);
    const auto anonymous = AgentQuestions::ask(state, longest, "", t0 + 2s);
    ASSERT_TRUE(named && anonymous);

    ASSERT_EQ(state.agentQuestions.size(), 2u);
    EXPECT_EQ(state.agentQuestions[0].id, *named);
    EXPECT_EQ(state.agentQuestions[0].question, "  Which branch?\n\tmain or next ");
    EXPECT_EQ(state.agentQuestions[0].askedBy, "test-agent");
    EXPECT_EQ(state.agentQuestions[1].question, longest);
    EXPECT_EQ(state.agentQuestions[1].askedBy, std::nullopt);
    EXPECT_EQ(state.updatedAt, t0 + 2s);
}

TEST(AgentQuestions, OneAskerCannotFloodTheUserButOthersStillMayAsk)
{
    QuillmereState state = QuillmereState::initial(t0);
    for (std::size_t i = 0; i < AgentQuestions::maximumOpenQuestionsPerAsker; ++i) {
        ASSERT_TRUE(AgentQuestions::ask(state, "Question " + std::to_string(i), "busy-bot", t0 + 1s));
    }
    const QuillmereState full = state;
    EXPECT_EQ(AgentQuestions::ask(state, "One more", "busy-bot", t0 + 2s).error(), Refusal::tooManyOpenQuestions);
    EXPECT_EQ(state, full);

    EXPECT_TRUE(AgentQuestions::ask(state, "Mine", "other-bot", t0 + 3s));
    EXPECT_TRUE(AgentQuestions::ask(state, "Anonymous", "", t0 + 3s));

    // An answer frees a place.
    state.agentQuestions[0].answer = "done";
    state.agentQuestions[0].answeredAt = t0 + 4s;
    EXPECT_TRUE(AgentQuestions::ask(state, "One more", "busy-bot", t0 + 5s));
}

} // namespace
} // namespace quillmere
