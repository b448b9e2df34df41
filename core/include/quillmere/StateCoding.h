// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/JsonCoding.h"
#include "quillmere/QuillmereState.h"
#include "quillmere/TimerSnapshot.h"

#include <expected>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere {

// The JSON form of every record: the trees built here use the records'
// camel-case coding keys; the document functions of JsonCoding.h turn them
// into snake case on the way out and back on the way in.
nlohmann::json toJson(const Outcome& value);
nlohmann::json toJson(const SessionPlan& value);
nlohmann::json toJson(const SessionReview& value);
nlohmann::json toJson(const WorkSession& value);
nlohmann::json toJson(const BlockReview& value);
nlohmann::json toJson(const Block& value);
nlohmann::json toJson(const AgentQuestion& value);
nlohmann::json toJson(const QuillmereState& value);
nlohmann::json toJson(const TimerSnapshot& value);

namespace coding {
template <> Outcome read<Outcome>(const ObjectReader& reader);
template <> SessionPlan read<SessionPlan>(const ObjectReader& reader);
template <> SessionReview read<SessionReview>(const ObjectReader& reader);
template <> WorkSession read<WorkSession>(const ObjectReader& reader);
template <> BlockReview read<BlockReview>(const ObjectReader& reader);
template <> Block read<Block>(const ObjectReader& reader);
template <> AgentQuestion read<AgentQuestion>(const ObjectReader& reader);
template <> QuillmereState read<QuillmereState>(const ObjectReader& reader);
template <> TimerSnapshot read<TimerSnapshot>(const ObjectReader& reader);
} // namespace coding

// The contents of `state.json`: indented, sorted snake-case keys, whole-second
// UTC instants. Fails only for a number JSON cannot hold (not finite).
[[nodiscard]] std::expected<std::string, CodingError> encodeState(const QuillmereState& state);

// Encodes states exactly as encodeState does, reusing the text of history
// blocks that are unchanged since the previous call. The history is most of
// the file and rarely changes, so a save after the first one costs a
// comparison per block instead of an encoding. Keeps a copy of the history.
class StateEncoder {
public:
    [[nodiscard]] std::expected<std::string, CodingError> encode(const QuillmereState& state);

private:
    struct Fragment {
        Block block;
        std::string text; // indented for its place in the history array
    };
    std::map<Uuid, Fragment> fragments_;
};

// Reads `state.json`. A missing or null state or review identifier is replaced
// by a new one; anything else wrong fails the whole read with an error that
// names the key or value. Never produces a partial state.
[[nodiscard]] std::expected<QuillmereState, CodingError> decodeState(std::string_view bytes);

// A decoded state and what of the file it could not hold.
struct DecodedState {
    QuillmereState state;
    // Members the file has and this version does not know (a newer version
    // wrote them), in the file's spelling: "future_feature",
    // "current_block.sessions[0].mood". Encoding the state drops them.
    std::vector<std::string> unknownMembers;

    friend bool operator==(const DecodedState&, const DecodedState&) = default;
};

// decodeState, noting the members that a save of the state would drop.
[[nodiscard]] std::expected<DecodedState, CodingError> decodeStateNotingUnknownMembers(std::string_view bytes);

namespace coding {

// The two ways a state is decoded. Both note unknown members.
//
// The quick way reads the bytes with simdjson and builds the records straight
// from its document. It takes only what it can read exactly as the tree does:
// a state without a fault in which no member is written under two keys. It
// leaves anything else to the tree by returning none: a syntax error, a bad
// value, a key written twice, a byte order mark, a number simdjson will not
// hold.
[[nodiscard]] std::optional<DecodedState> decodeStateQuickly(std::string_view bytes);

// The way through nlohmann/json's tree: slower, but it settles every odd case
// and words every error. Whatever the quick way reads, this reads the same.
[[nodiscard]] std::expected<DecodedState, CodingError> decodeStateThroughTree(std::string_view bytes);

} // namespace coding

} // namespace quillmere
