// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/JsonCoding.h"
#include "quillmere/QuillmereState.h"

#include <expected>
#include <optional>
#include <string>
#include <vector>

namespace quillmere {

// One line of work for an agent: a session plan, and how far the user is with
// it ("current", "reviewed", "review_draft" or "planned").
struct AgentTaskSnapshot {
    Uuid id; // the plan's identifier, not the work session's
    std::string title;
    std::string firstAction;
    std::string status;

    friend bool operator==(const AgentTaskSnapshot&, const AgentTaskSnapshot&) = default;
};

// What `agent-state.json` tells the coding agents beside the user: the phase,
// whether the user may be interrupted, the block and its sessions as tasks,
// the seconds left on the running timer and the open questions. Rebuilt from
// the state on every save and every tick; never read back by the application.
struct AgentSnapshot {
    static constexpr std::int64_t currentSchemaVersion = 1;

    std::int64_t schemaVersion = currentSchemaVersion;
    WorkflowState workflowState = WorkflowState::idle;
    bool interruptible = true;
    std::optional<Block> block;
    std::vector<Outcome> outcomes;
    std::vector<AgentTaskSnapshot> tasks;
    std::vector<WorkSession> sessions;
    std::optional<WorkSession> currentSession;
    std::optional<SessionPlan> nextSession;
    std::optional<std::int64_t> remainingSeconds;
    std::vector<AgentQuestion> openQuestions;
    Instant updatedAt;

    // Built from `state` as of `at`, or as of the state's own `updatedAt`.
    static AgentSnapshot make(const QuillmereState& state, std::optional<Instant> at = std::nullopt);

    friend bool operator==(const AgentSnapshot&, const AgentSnapshot&) = default;
};

// All twelve keys are always written; the four optional ones as null.
nlohmann::json toJson(const AgentTaskSnapshot& value);
nlohmann::json toJson(const AgentSnapshot& value);

namespace coding {
template <> AgentTaskSnapshot read<AgentTaskSnapshot>(const ObjectReader& reader);
template <> AgentSnapshot read<AgentSnapshot>(const ObjectReader& reader);
} // namespace coding

[[nodiscard]] std::expected<std::string, CodingError> encodeAgentSnapshot(const AgentSnapshot& snapshot);
[[nodiscard]] std::expected<AgentSnapshot, CodingError> decodeAgentSnapshot(std::string_view bytes);

} // namespace quillmere
