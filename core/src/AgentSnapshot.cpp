// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/AgentSnapshot.h"

#include "quillmere/AgentQuestions.h"
#include "quillmere/StateCoding.h"
#include "quillmere/TimerSnapshot.h"

#include <algorithm>

namespace quillmere {
namespace {

using nlohmann::json;

template <class T>
json nullable(const std::optional<T>& value)
{
    return value ? toJson(*value) : json(nullptr);
}

std::string taskStatus(const QuillmereState& state, const WorkSession& session, const WorkSession* current)
{
    // A review stored during the review phase is the draft the user is still
    // writing, not a finished one.
    if (current != nullptr && session.id == current->id && session.review &&
        state.workflowState == WorkflowState::sessionReview) {
        return "review_draft";
    }
    return session.review ? "reviewed" : "current";
}

} // namespace

AgentSnapshot AgentSnapshot::make(const QuillmereState& state, std::optional<Instant> at)
{
    AgentSnapshot snapshot;
    snapshot.updatedAt = at.value_or(state.updatedAt);
    snapshot.workflowState = state.workflowState;
    snapshot.interruptible = state.interruptible();
    snapshot.block = state.currentBlock;
    if (state.currentBlock) {
        snapshot.outcomes = state.currentBlock->outcomes;
        snapshot.sessions = state.currentBlock->sessions;
    }
    const WorkSession* current = state.currentSession();
    if (current != nullptr) {
        snapshot.currentSession = *current;
    }
    for (const WorkSession& session : snapshot.sessions) {
        snapshot.tasks.push_back(AgentTaskSnapshot{session.plan.id, session.plan.intendedOutcome,
                                                   session.plan.firstAction, taskStatus(state, session, current)});
    }
    if (const auto& plan = state.plannedNextSession) {
        const bool started = std::ranges::any_of(snapshot.tasks, [&](const auto& task) { return task.id == plan->id; });
        if (!started) {
            snapshot.tasks.push_back(AgentTaskSnapshot{plan->id, plan->intendedOutcome, plan->firstAction, "planned"});
        }
    }
    snapshot.nextSession = state.plannedNextSession;
    if (const auto timer = TimerSnapshot::derive(state, snapshot.updatedAt)) {
        snapshot.remainingSeconds = timer->remainingSeconds;
    }
    snapshot.openQuestions = state.openQuestions();
    // A name that a hand-edited file gave a question, and that no asker could
    // have given, is not passed on to agents that trust the file's schema.
    for (AgentQuestion& question : snapshot.openQuestions) {
        if (question.askedBy && !AgentQuestions::isAcceptableAsker(*question.askedBy)) {
            question.askedBy.reset();
        }
    }
    return snapshot;
}

json toJson(const AgentTaskSnapshot& value)
{
    return json{
        {"id", value.id.toString()},
        {"title", value.title},
        {"firstAction", value.firstAction},
        {"status", value.status},
    };
}

json toJson(const AgentSnapshot& value)
{
    return json{
        {"schemaVersion", value.schemaVersion},
        {"workflowState", rawText(value.workflowState)},
        {"interruptible", value.interruptible},
        {"block", nullable(value.block)},
        {"outcomes", coding::listValue(value.outcomes)},
        {"tasks", coding::listValue(value.tasks)},
        {"sessions", coding::listValue(value.sessions)},
        {"currentSession", nullable(value.currentSession)},
        {"nextSession", nullable(value.nextSession)},
        {"remainingSeconds", value.remainingSeconds ? json(*value.remainingSeconds) : json(nullptr)},
        {"openQuestions", coding::listValue(value.openQuestions)},
        {"updatedAt", instantValue(value.updatedAt)},
    };
}

namespace coding {

template <>
AgentTaskSnapshot read<AgentTaskSnapshot>(const ObjectReader& r)
{
    return AgentTaskSnapshot{r.identifier("id"), r.text("title"), r.text("firstAction"), r.text("status")};
}

template <>
AgentSnapshot read<AgentSnapshot>(const ObjectReader& r)
{
    return AgentSnapshot{
        r.integer("schemaVersion"),
        r.enumeration<WorkflowState>("workflowState"),
        r.boolean("interruptible"),
        r.optionalRecord<Block>("block"),
        r.list<Outcome>("outcomes"),
        r.list<AgentTaskSnapshot>("tasks"),
        r.list<WorkSession>("sessions"),
        r.optionalRecord<WorkSession>("currentSession"),
        r.optionalRecord<SessionPlan>("nextSession"),
        r.optionalInteger("remainingSeconds"),
        r.list<AgentQuestion>("openQuestions"),
        r.instant("updatedAt"),
    };
}

} // namespace coding

std::expected<std::string, CodingError> encodeAgentSnapshot(const AgentSnapshot& snapshot)
{
    return encodeDocument(toJson(snapshot), JsonLayout::indented);
}

std::expected<AgentSnapshot, CodingError> decodeAgentSnapshot(std::string_view bytes)
{
    return coding::decodeDocument<AgentSnapshot>(bytes);
}

} // namespace quillmere
