// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace quillmere {

// The phase of the work cycle. `complete` exists in the file format only: no
// engine operation enters it or starts from it.
enum class WorkflowState {
    idle,
    blockPlanning,
    sessionPlanning,
    focusing,
    sessionReview,
    breaking,
    blockReview,
    complete,
};

// Whether the target of a focus session was reached.
enum class CompletionResult { yes, half, no };

// Which timer runs.
enum class TimerKind { focus, breakTime };

// The exact, case-sensitive texts written to files.
std::string_view rawText(WorkflowState value);
std::string_view rawText(CompletionResult value);
std::string_view rawText(TimerKind value);

template <class Enum>
inline constexpr std::array<Enum, 0> allCases{};

template <>
inline constexpr std::array allCases<WorkflowState>{
    WorkflowState::idle,          WorkflowState::blockPlanning, WorkflowState::sessionPlanning,
    WorkflowState::focusing,      WorkflowState::sessionReview, WorkflowState::breaking,
    WorkflowState::blockReview,   WorkflowState::complete,
};

template <>
inline constexpr std::array allCases<CompletionResult>{
    CompletionResult::yes,
    CompletionResult::half,
    CompletionResult::no,
};

template <>
inline constexpr std::array allCases<TimerKind>{TimerKind::focus, TimerKind::breakTime};

// The case whose raw text is exactly `text`; none for any other text.
template <class Enum>
std::optional<Enum> fromRawText(std::string_view text)
{
    for (Enum value : allCases<Enum>) {
        if (rawText(value) == text) {
            return value;
        }
    }
    return std::nullopt;
}

} // namespace quillmere
