// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/StateCoding.h"

#include "RecordFields_p.h"

#include <algorithm>
#include <set>

namespace quillmere {
namespace {

using nlohmann::json;

void putOptionalInstant(json& object, const char* key, const std::optional<Instant>& value)
{
    if (value) {
        object[key] = instantValue(*value);
    }
}

} // namespace

json toJson(const Outcome& value)
{
    return json{{"id", value.id.toString()}, {"title", value.title}};
}

json toJson(const SessionPlan& value)
{
    json object{
        {"id", value.id.toString()},
        {"intendedOutcome", value.intendedOutcome},
        {"firstAction", value.firstAction},
        {"hazardsMitigation", value.hazardsMitigation},
        {"nicuFraming", value.nicuFraming},
        {"energy", value.energy},
        {"morale", value.morale},
    };
    // Keyed with a lower-case "d" so that the snake-case round trip is exact.
    if (value.blockOutcomeID) {
        object["blockOutcomeId"] = value.blockOutcomeID->toString();
    }
    return object;
}

json toJson(const SessionReview& value)
{
    return json{
        {"id", value.id.toString()},
        {"completion", rawText(value.completion)},
        {"noteworthyResult", value.noteworthyResult},
        {"distractions", value.distractions},
        {"improvement", value.improvement},
    };
}

json toJson(const WorkSession& value)
{
    json object{
        {"id", value.id.toString()},
        {"number", value.number},
        {"plan", toJson(value.plan)},
        {"startedAt", instantValue(value.startedAt)},
        {"plannedDurationSeconds", secondsValue(value.plannedDurationSeconds)},
        {"accumulatedPausedSeconds", secondsValue(value.accumulatedPausedSeconds)},
    };
    putOptionalInstant(object, "pausedAt", value.pausedAt);
    putOptionalInstant(object, "endedAt", value.endedAt);
    if (value.review) {
        object["review"] = toJson(*value.review);
    }
    return object;
}

json toJson(const BlockReview& value)
{
    return json{
        {"outputProduced", value.outputProduced},
        {"normalComparison", value.normalComparison},
        {"boggedDown", value.boggedDown},
        {"wentWell", value.wentWell},
        {"lessons", value.lessons},
    };
}

json toJson(const Block& value)
{
    json object{
        {"id", value.id.toString()},
        {"createdAt", instantValue(value.createdAt)},
        {"focusDurationSeconds", secondsValue(value.focusDurationSeconds)},
        {"breakDurationSeconds", secondsValue(value.breakDurationSeconds)},
        {"cycleCount", value.cycleCount},
        {"outcomes", coding::listValue(value.outcomes)},
        {"whyValue", value.whyValue},
        {"doneTest", value.doneTest},
        {"hazards", value.hazards},
        {"measurableCheck", value.measurableCheck},
        {"contextNotes", value.contextNotes},
        {"sessions", coding::listValue(value.sessions)},
    };
    putOptionalInstant(object, "plannedStart", value.plannedStart);
    if (value.reflection) {
        object["reflection"] = toJson(*value.reflection);
    }
    putOptionalInstant(object, "completedAt", value.completedAt);
    putOptionalInstant(object, "scheduledStartTriggeredAt", value.scheduledStartTriggeredAt);
    return object;
}

json toJson(const AgentQuestion& value)
{
    json object{
        {"id", value.id.toString()},
        {"question", value.question},
        {"createdAt", instantValue(value.createdAt)},
    };
    if (value.answer) {
        object["answer"] = *value.answer;
    }
    putOptionalInstant(object, "answeredAt", value.answeredAt);
    if (value.askedBy) {
        object["askedBy"] = *value.askedBy;
    }
    return object;
}

json toJson(const QuillmereState& value)
{
    json object{
        {"id", value.id.toString()},
        {"workflowState", rawText(value.workflowState)},
        {"blockHistory", coding::listValue(value.blockHistory)},
        {"breakExtensionSeconds", secondsValue(value.breakExtensionSeconds)},
        {"agentQuestions", coding::listValue(value.agentQuestions)},
        {"updatedAt", instantValue(value.updatedAt)},
    };
    if (value.currentBlock) {
        object["currentBlock"] = toJson(*value.currentBlock);
    }
    if (value.plannedNextSession) {
        object["plannedNextSession"] = toJson(*value.plannedNextSession);
    }
    putOptionalInstant(object, "breakStartedAt", value.breakStartedAt);
    putOptionalInstant(object, "breakEndNotifiedAt", value.breakEndNotifiedAt);
    return object;
}

json toJson(const TimerSnapshot& value)
{
    return json{
        {"kind", rawText(value.kind)},
        {"elapsedSeconds", value.elapsedSeconds},
        {"remainingSeconds", value.remainingSeconds},
        {"displaySeconds", value.displaySeconds},
        {"isOvertime", value.isOvertime},
        {"isPaused", value.isPaused},
    };
}

namespace coding {

// The record members are listed once, in RecordFields_p.h, for every decoder
// of the state.
template <> Outcome read<Outcome>(const ObjectReader& r) { return RecordFields<Outcome>::read(r); }
template <> SessionPlan read<SessionPlan>(const ObjectReader& r) { return RecordFields<SessionPlan>::read(r); }
template <> SessionReview read<SessionReview>(const ObjectReader& r) { return RecordFields<SessionReview>::read(r); }
template <> WorkSession read<WorkSession>(const ObjectReader& r) { return RecordFields<WorkSession>::read(r); }
template <> BlockReview read<BlockReview>(const ObjectReader& r) { return RecordFields<BlockReview>::read(r); }
template <> Block read<Block>(const ObjectReader& r) { return RecordFields<Block>::read(r); }
template <> AgentQuestion read<AgentQuestion>(const ObjectReader& r) { return RecordFields<AgentQuestion>::read(r); }
template <> QuillmereState read<QuillmereState>(const ObjectReader& r) { return RecordFields<QuillmereState>::read(r); }

template <>
TimerSnapshot read<TimerSnapshot>(const ObjectReader& r)
{
    return TimerSnapshot{
        r.enumeration<TimerKind>("kind"), r.integer("elapsedSeconds"), r.integer("remainingSeconds"),
        r.integer("displaySeconds"),      r.boolean("isOvertime"),     r.boolean("isPaused"),
    };
}

} // namespace coding

std::expected<std::string, CodingError> encodeState(const QuillmereState& state)
{
    return encodeDocument(toJson(state), JsonLayout::indented);
}

namespace {

// The text of one history block as it stands in the indented state document:
// every line four spaces in (root object, then the array).
std::expected<std::string, CodingError> historyFragment(const Block& block, std::size_t index)
{
    auto text = encodeDocument(toJson(block), JsonLayout::indented);
    if (!text) {
        CodingError error = std::move(text.error());
        error.path = "block_history[" + std::to_string(index) + "]" + (error.path.empty() ? "" : "." + error.path);
        return std::unexpected(std::move(error));
    }
    std::string indented;
    indented.reserve(text->size() + text->size() / 16);
    appendIndented(indented, *text, "    ");
    return indented;
}

} // namespace

std::expected<std::string, CodingError> StateEncoder::encode(const QuillmereState& state)
{
    QuillmereState withoutHistory = state;
    withoutHistory.blockHistory.clear();
    auto root = encodeState(withoutHistory);
    if (!root || state.blockHistory.empty()) {
        fragments_.clear();
        return root;
    }

    std::set<Uuid> seen;
    std::string history = "[\n";
    for (std::size_t index = 0; index < state.blockHistory.size(); ++index) {
        const Block& block = state.blockHistory[index];
        auto cached = fragments_.find(block.id);
        if (cached == fragments_.end() || !(cached->second.block == block)) {
            auto text = historyFragment(block, index);
            if (!text) {
                return std::unexpected(std::move(text.error()));
            }
            cached = fragments_.insert_or_assign(block.id, Fragment{block, std::move(*text)}).first;
        }
        if (index > 0) {
            history += ",\n";
        }
        history += cached->second.text;
        // A damaged history may repeat an identifier: the later block wins
        // the cache slot, which only costs an encoding next time.
        seen.insert(block.id);
    }
    history += "\n  ]";
    std::erase_if(fragments_, [&seen](const auto& entry) { return !seen.contains(entry.first); });

    // Keys are unique and quotes inside texts are escaped, so the empty
    // history key occurs exactly once, at the root.
    static constexpr std::string_view emptyHistory = "\n  \"block_history\": []";
    const auto at = root->find(emptyHistory);
    if (at == std::string::npos) {
        return encodeState(state);
    }
    root->replace(at + emptyHistory.size() - 2, 2, history);
    return root;
}

std::expected<QuillmereState, CodingError> decodeState(std::string_view bytes)
{
    if (auto quick = coding::decodeStateQuickly(bytes)) {
        return std::move(quick->state);
    }
    return coding::decodeDocument<QuillmereState>(bytes);
}

std::expected<DecodedState, CodingError> decodeStateNotingUnknownMembers(std::string_view bytes)
{
    if (auto quick = coding::decodeStateQuickly(bytes)) {
        return std::move(*quick);
    }
    return coding::decodeStateThroughTree(bytes);
}

namespace coding {

std::expected<DecodedState, CodingError> decodeStateThroughTree(std::string_view bytes)
{
    auto tree = parseDocument(bytes);
    if (!tree) {
        return std::unexpected(std::move(tree.error()));
    }
    std::vector<std::string> unknownMembers;
    auto state = decodeTree<QuillmereState>(*tree, &unknownMembers);
    if (!state) {
        return std::unexpected(std::move(state.error()));
    }
    std::ranges::sort(unknownMembers);
    return DecodedState{std::move(*state), std::move(unknownMembers)};
}

} // namespace coding

} // namespace quillmere
