// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/QuillmereState.h"
#include "quillmere/SourceText.h"

#include <cstddef>
#include <expected>
#include <string>
#include <string_view>

namespace quillmere {

// Questions that agents and scripts ask the user, as opposed to the ones the
// user notes down: they come from programs, so they are held to rules that
// keep one agent from burying the user or garbling a screen.
//
//     auto id = AgentQuestions::ask(state, "Which branch?", "release-bot", now);
//     if (!id) { report(AgentQuestions::message(id.error())); }
namespace AgentQuestions {

// The longest name an agent may give itself, in characters.
inline constexpr std::size_t maximumAskerCharacters = 64;
// How many questions one asker may have open at a time. Questions that name
// no asker share one allowance.
inline constexpr std::size_t maximumOpenQuestionsPerAsker = 20;

enum class Refusal {
    emptyText,
    textTooLong,
    controlCharacterInText,
    askerTooLong,
    controlCharacterInAsker,
    tooManyOpenQuestions,
};

// A sentence for the agent that asked, in English.
std::string message(Refusal refusal);
// The same sentence to translate where a person reads it.
Phrase messageSource(Refusal refusal);

// Whether `name` may name an asker: one to `maximumAskerCharacters`
// characters, none of them a control character.
bool isAcceptableAsker(std::string_view name);

// Whether `text` from `asker` ("" for none) may be added to `state`.
[[nodiscard]] std::expected<void, Refusal> check(const QuillmereState& state, std::string_view text,
                                                 std::string_view asker);

// check(), then adds the question exactly as given; nothing changes when it
// is refused.
[[nodiscard]] std::expected<Uuid, Refusal> ask(QuillmereState& state, const std::string& text,
                                               const std::string& asker, Instant now);

} // namespace AgentQuestions

} // namespace quillmere
