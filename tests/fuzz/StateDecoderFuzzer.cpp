// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the state decoder. Anything it accepts must encode
// and decode again to the same state, and whatever the quick decoder reads
// must be what the tree reads: a crash, a sanitizer report, a failed round
// trip or a disagreement is a finding.

#include "DecodingAgreement.h"
#include "quillmere/StateCoding.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!quillmere::fixtures::compareDecodings(bytes).agree) {
        std::abort();
    }
    const auto state = quillmere::decodeState(bytes);
    if (!state) {
        if (state.error().description().empty()) {
            std::abort();
        }
        return 0;
    }
    const auto text = quillmere::encodeState(*state);
    if (!text) {
        std::abort();
    }
    const auto again = quillmere::decodeState(*text);
    if (!again || !(*again == *state)) {
        std::abort();
    }
    return 0;
}
