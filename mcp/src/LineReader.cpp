// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/mcp/LineReader.h"

namespace quillmere {
namespace {

// Room for the line and the carriage return of a "\r\n" ending, which is not
// part of the line and must not make a line of exactly the limit oversize.
constexpr std::size_t maxHeldBytes = LineReader::maxLineBytes + 1;

} // namespace

LineReader::Line LineReader::take()
{
    if (discarding_) {
        discarding_ = false;
        pending_.clear();
        return Line{{}, true};
    }
    if (!pending_.empty() && pending_.back() == '\r') {
        pending_.pop_back();
    }
    if (pending_.size() > maxLineBytes) {
        pending_.clear();
        return Line{{}, true};
    }
    Line line{std::move(pending_), false};
    pending_.clear();
    return line;
}

std::vector<LineReader::Line> LineReader::feed(std::string_view bytes)
{
    std::vector<Line> lines;
    while (!bytes.empty()) {
        const std::size_t newline = bytes.find('\n');
        const std::string_view part = bytes.substr(0, newline);
        if (!discarding_) {
            if (pending_.size() + part.size() > maxHeldBytes) {
                // Release the held bytes now rather than at the line's end:
                // the rest of the line may take a long time to arrive.
                discarding_ = true;
                pending_.clear();
                pending_.shrink_to_fit();
            } else {
                pending_.append(part);
            }
        }
        if (newline == std::string_view::npos) {
            break;
        }
        lines.push_back(take());
        bytes.remove_prefix(newline + 1);
    }
    return lines;
}

std::optional<LineReader::Line> LineReader::finish()
{
    if (!discarding_ && pending_.empty()) {
        return std::nullopt;
    }
    return take();
}

} // namespace quillmere
