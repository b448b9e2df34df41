// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/mcp/LineReader.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quillmere {
namespace {

using Line = LineReader::Line;

Line text(std::string value)
{
    return Line{std::move(value), false};
}

const Line oversize{{}, true};

std::vector<Line> feedAll(LineReader& reader, const std::vector<std::string>& chunks)
{
    std::vector<Line> lines;
    for (const std::string& chunk : chunks) {
        for (Line& line : reader.feed(chunk)) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

TEST(LineReader, CutsLinesWhereverTheChunksEnd)
{
    const std::string longest(LineReader::maxLineBytes, 'x');
    struct Case {
        const char* name;
        std::vector<std::string> chunks;
        std::vector<Line> expected;
    };
    const Case cases[] = {
        {"one line in one chunk", {"{}\n"}, {text("{}")}},
        {"a line split over chunks", {"{\"a\"", ":1", "}\n"}, {text("{\"a\":1}")}},
        {"several lines in one chunk", {"a\nb\nc"}, {text("a"), text("b")}},
        {"crlf endings lose the carriage return", {"a\r\nb\r", "\n"}, {text("a"), text("b")}},
        {"a carriage return inside a line stays", {"a\rb\n"}, {text("a\rb")}},
        {"empty lines are lines", {"\n\r\n"}, {text(""), text("")}},
        {"a line of exactly the limit", {longest, "\n"}, {text(longest)}},
        {"a line of exactly the limit with crlf", {longest + "\r", "\n"}, {text(longest)}},
        {"one byte over the limit", {longest + "y\n", "ok\n"}, {oversize, text("ok")}},
        {"one byte over the limit, crlf", {longest + "y\r\n", "ok\n"}, {oversize, text("ok")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineReader reader;
        EXPECT_EQ(feedAll(reader, c.chunks), c.expected);
    }
}

TEST(LineReader, ATenMegabyteLineIsDroppedWithoutBeingHeldAndTheNextLineIsRead)
{
    LineReader reader;
    const std::string chunk(64 * 1024, 'z');
    std::vector<Line> lines;
    std::size_t mostHeld = 0;
    for (int sent = 0; sent < 160; ++sent) { // 10 MiB
        for (Line& line : reader.feed(chunk)) {
            lines.push_back(std::move(line));
        }
        mostHeld = std::max(mostHeld, reader.bufferedBytes());
    }
    EXPECT_TRUE(lines.empty());
    for (Line& line : reader.feed("tail\n{\"jsonrpc\":\"2.0\"}\n")) {
        lines.push_back(std::move(line));
    }
    EXPECT_LE(mostHeld, LineReader::maxLineBytes + 1);
    EXPECT_EQ(lines, (std::vector<Line>{oversize, text("{\"jsonrpc\":\"2.0\"}")}));
    EXPECT_EQ(reader.bufferedBytes(), 0u);
}

TEST(LineReader, EndOfInputGivesTheUnterminatedLastLine)
{
    struct Case {
        const char* name;
        std::string input;
        std::optional<Line> expected;
    };
    const Case cases[] = {
        {"nothing pending", "a\n", std::nullopt},
        {"a last line without newline", "a\nlast\r", text("last")},
        {"an oversize last line", std::string(LineReader::maxLineBytes + 5, 'x'), oversize},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineReader reader;
        (void)reader.feed(c.input);
        EXPECT_EQ(reader.finish(), c.expected);
        EXPECT_EQ(reader.finish(), std::nullopt) << "a second end of input has nothing left";
    }
}

} // namespace
} // namespace quillmere
