// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Compares the two ways a state is decoded on the same bytes. The quick way
// may leave a document to the tree (decodeState then gives the tree's state
// or error), but whatever it reads itself must be exactly what the tree
// reads, unknown members included. Shared by the tests and the fuzzer.

#include "quillmere/StateCoding.h"

#include <string>
#include <string_view>
#include <vector>

namespace quillmere::fixtures {

struct DecodingComparison {
    bool quick = false; // the quick way read the document itself
    bool agree = true;
    std::string difference; // what differs, when they do not agree
};

// Where a decoding makes up an identifier for a file that has none: the
// state's and each session review's.
inline std::vector<Uuid*> madeUpIdentifierSlots(QuillmereState& state)
{
    std::vector<Uuid*> slots{&state.id};
    const auto addReviews = [&slots](Block& block) {
        for (WorkSession& session : block.sessions) {
            if (session.review) {
                slots.push_back(&session.review->id);
            }
        }
    };
    if (state.currentBlock) {
        addReviews(*state.currentBlock);
    }
    for (Block& block : state.blockHistory) {
        addReviews(block);
    }
    return slots;
}

inline DecodingComparison compareDecodings(std::string_view bytes)
{
    DecodingComparison result;
    auto quick = coding::decodeStateQuickly(bytes);
    result.quick = quick.has_value();
    if (!quick) {
        return result;
    }
    auto tree = coding::decodeStateThroughTree(bytes);
    auto again = coding::decodeStateThroughTree(bytes);
    if (!tree || !again) {
        result.agree = false;
        result.difference = "the tree refuses what the quick way read: " + tree.error().description();
        return result;
    }
    // A made-up identifier differs between any two decodings, so one that
    // differs between two decodings through the tree was made up; the quick
    // way must have made one up there too, and nowhere else.
    const std::vector<Uuid*> quickIds = madeUpIdentifierSlots(quick->state);
    const std::vector<Uuid*> treeIds = madeUpIdentifierSlots(tree->state);
    const std::vector<Uuid*> againIds = madeUpIdentifierSlots(again->state);
    if (quickIds.size() == treeIds.size() && againIds.size() == treeIds.size()) {
        for (std::size_t i = 0; i < treeIds.size(); ++i) {
            if (*treeIds[i] != *againIds[i] && *quickIds[i] != *treeIds[i] && *quickIds[i] != Uuid()) {
                *quickIds[i] = *treeIds[i];
            }
        }
    }
    if (!(quick->state == tree->state)) {
        result.agree = false;
        result.difference = "the states differ; quick:\n" + encodeState(quick->state).value_or("?") + "\ntree:\n" +
                            encodeState(tree->state).value_or("?");
    } else if (quick->unknownMembers != tree->unknownMembers) {
        result.agree = false;
        result.difference = "the unknown members differ; quick:";
        for (const std::string& member : quick->unknownMembers) {
            result.difference += " " + member;
        }
        result.difference += "; tree:";
        for (const std::string& member : tree->unknownMembers) {
            result.difference += " " + member;
        }
    }
    return result;
}

} // namespace quillmere::fixtures
