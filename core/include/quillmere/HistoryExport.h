// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/AtomicFile.h"
#include "quillmere/Block.h"
#include "quillmere/JsonCoding.h"
#include "quillmere/QuillmereState.h"
#include "quillmere/TimeZone.h"

#include <chrono>
#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere {

enum class ExportFormat { csv, json };

template <>
inline constexpr std::array allCases<ExportFormat>{ExportFormat::csv, ExportFormat::json};

// "csv" or "json": the formats' names on command lines, and their usual
// file name extensions.
std::string_view rawText(ExportFormat value);

// The local days an export covers, both ends included; an open end reaches
// to the first or last record.
struct ExportRange {
    std::optional<std::chrono::local_days> since;
    std::optional<std::chrono::local_days> until;

    friend bool operator==(const ExportRange&, const ExportRange&) = default;
};

// The history and the current block, taken out for a spreadsheet or a
// script.
//
// CSV (RFC 4180, UTF-8, a header row, CRLF line ends): one row per focus
// session that started in the range, oldest first, with its block, plan,
// ratings, review and times; times in ISO 8601 with the local offset of
// `zone`, durations in minutes; a running session's focus counts up to
// `now`. The columns are listed in the README and quillmerectl(1).
// JSON: the blocks that have a session that started, or were completed, in
// the range (a block with neither, by the day it was created), oldest
// first, each exactly as `state.json` stores it, in an indented array;
// decodeExportedBlocks reads it back.
[[nodiscard]] std::expected<std::string, CodingError> exportHistory(const QuillmereState& state, ExportFormat format,
                                                                    const ExportRange& range, const TimeZone& zone,
                                                                    Instant now);

// Writes an export atomically: readers see no file or the whole of it.
// Unless `replaceExisting`, a file already at `path` is refused (EEXIST)
// and left as it was, even one that appears while the export is written.
// The file is the user's only (0600); a missing folder is an error, not
// created; nothing is left beside `path` when the write fails.
[[nodiscard]] FileResult writeExport(const std::filesystem::path& path, std::string_view bytes, bool replaceExisting);

// Reads the JSON form back with the state file's decoders. Anything but an
// array of blocks is refused, naming the first fault as the file spells it
// ("[3].sessions[0].plan.energy"); members this version does not know are
// passed over, as in the state file.
[[nodiscard]] std::expected<std::vector<Block>, CodingError> decodeExportedBlocks(std::string_view bytes);

} // namespace quillmere
