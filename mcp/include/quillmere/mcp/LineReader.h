// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere {

// Cuts the bytes arriving on standard input into the lines that carry one
// protocol message each. The input comes in whatever chunks the pipe gives,
// so a line may be split anywhere; a client may end lines with "\r\n". A
// line longer than `maxLineBytes` is dropped as it streams past and reported
// once it ends, so that however long it is, at most `maxLineBytes` (and one
// carriage return) are ever held.
class LineReader {
public:
    // No message this server takes comes near this: a question is at most a
    // few kilobytes. Anything longer is a confused or hostile client.
    static constexpr std::size_t maxLineBytes = 1024 * 1024;

    struct Line {
        // Without its "\n" or "\r\n"; empty when `oversize`.
        std::string text;
        // The line was longer than `maxLineBytes` and was discarded.
        bool oversize = false;

        friend bool operator==(const Line&, const Line&) = default;
    };

    // The lines that `bytes` completes, in order.
    [[nodiscard]] std::vector<Line> feed(std::string_view bytes);

    // At the end of input: the last line when it had no newline.
    [[nodiscard]] std::optional<Line> finish();

    // Bytes held for the line not yet ended: never more than maxLineBytes + 1.
    [[nodiscard]] std::size_t bufferedBytes() const { return pending_.size(); }

private:
    Line take();

    std::string pending_;
    // Inside an oversize line: its bytes are dropped until its newline.
    bool discarding_ = false;
};

} // namespace quillmere
