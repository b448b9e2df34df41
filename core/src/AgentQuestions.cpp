// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/AgentQuestions.h"

#include "quillmere/TextLimits.h"
#include "quillmere/WorkflowEngine.h"

#include "Utf8_p.h"

#include <algorithm>

namespace quillmere::AgentQuestions {
namespace {

struct TextFacts {
    std::size_t characters = 0;
    bool onlyWhiteSpace = true;
    bool controlCharacter = false;
};

// Decodes as far as needed; a byte that is not valid UTF-8 counts as a
// control character, since nothing can show it as text.
TextFacts inspect(std::string_view text, bool newlineAndTabAllowed)
{
    TextFacts facts;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8SequenceLength(text, i);
        ++facts.characters;
        if (length == 0) {
            facts.controlCharacter = true;
            ++i;
            continue;
        }
        const auto lead = static_cast<unsigned char>(text[i]);
        // C1 controls, U+0080 to U+009F, are 0xC2 0x80 to 0xC2 0x9F.
        const bool c1 = lead == 0xC2 && static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if (lead < 0x20 || lead == 0x7F || c1) {
            const bool allowed = newlineAndTabAllowed && (lead == '\n' || lead == '\t');
            facts.controlCharacter = facts.controlCharacter || !allowed;
        }
        if (lead != ' ' && lead != '\n' && lead != '\t') {
            facts.onlyWhiteSpace = false;
        }
        i += length;
    }
    return facts;
}

} // namespace

Phrase messageSource(Refusal refusal)
{
    const auto number = [](std::size_t value) { return std::vector{static_cast<std::int64_t>(value)}; };
    switch (refusal) {
    case Refusal::emptyText: return {QUILLMERE_TEXT("quillmere::AgentQuestions", "The question is empty."), {}};
    case Refusal::textTooLong:
        return {QUILLMERE_TEXT("quillmere::AgentQuestions", "The question is longer than %1 characters."),
                number(TextLimits::questionCharacters)};
    case Refusal::controlCharacterInText:
        return {QUILLMERE_TEXT("quillmere::AgentQuestions",
                               "The question contains control characters; only line breaks and tabs are allowed."),
                {}};
    case Refusal::askerTooLong:
        return {QUILLMERE_TEXT("quillmere::AgentQuestions", "The asker's name is longer than %1 characters."),
                number(maximumAskerCharacters)};
    case Refusal::controlCharacterInAsker:
        return {QUILLMERE_TEXT("quillmere::AgentQuestions", "The asker's name contains control characters."), {}};
    case Refusal::tooManyOpenQuestions:
        return {QUILLMERE_TEXT("quillmere::AgentQuestions",
                               "This asker already has %1 open questions; wait for answers before asking more."),
                number(maximumOpenQuestionsPerAsker)};
    }
    return {};
}

std::string message(Refusal refusal)
{
    return messageSource(refusal).english();
}

bool isAcceptableAsker(std::string_view name)
{
    const TextFacts facts = inspect(name, false);
    return facts.characters > 0 && facts.characters <= maximumAskerCharacters && !facts.controlCharacter;
}

std::expected<void, Refusal> check(const QuillmereState& state, std::string_view text, std::string_view asker)
{
    const TextFacts question = inspect(text, true);
    if (question.onlyWhiteSpace) {
        return std::unexpected(Refusal::emptyText);
    }
    if (question.characters > TextLimits::questionCharacters) {
        return std::unexpected(Refusal::textTooLong);
    }
    if (question.controlCharacter) {
        return std::unexpected(Refusal::controlCharacterInText);
    }
    const TextFacts name = inspect(asker, false);
    if (name.characters > maximumAskerCharacters) {
        return std::unexpected(Refusal::askerTooLong);
    }
    if (name.controlCharacter) {
        return std::unexpected(Refusal::controlCharacterInAsker);
    }
    const auto fromAsker = [&](const AgentQuestion& q) {
        return !q.answeredAt && q.askedBy.value_or(std::string()) == asker;
    };
    if (static_cast<std::size_t>(std::ranges::count_if(state.agentQuestions, fromAsker)) >=
        maximumOpenQuestionsPerAsker) {
        return std::unexpected(Refusal::tooManyOpenQuestions);
    }
    return {};
}

std::expected<Uuid, Refusal> ask(QuillmereState& state, const std::string& text, const std::string& asker, Instant now)
{
    if (auto checked = check(state, text, asker); !checked) {
        return std::unexpected(checked.error());
    }
    return WorkflowEngine::addQuestion(state, text, now,
                                       asker.empty() ? std::nullopt : std::optional<std::string>(asker));
}

} // namespace quillmere::AgentQuestions
