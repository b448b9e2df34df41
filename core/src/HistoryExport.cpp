// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/HistoryExport.h"

#include "quillmere/StateCoding.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <utility>

namespace quillmere {
namespace {

using nlohmann::json;

bool inRange(const ExportRange& range, std::chrono::local_days day)
{
    return (!range.since || day >= *range.since) && (!range.until || day <= *range.until);
}

bool sessionInRange(const WorkSession& session, const ExportRange& range, const TimeZone& zone)
{
    return inRange(range, zone.localDay(session.startedAt));
}

bool blockInRange(const Block& block, const ExportRange& range, const TimeZone& zone)
{
    if (std::ranges::any_of(block.sessions, [&](const WorkSession& s) { return sessionInRange(s, range, zone); })) {
        return true;
    }
    if (block.completedAt) {
        return inRange(range, zone.localDay(*block.completedAt));
    }
    return block.sessions.empty() && inRange(range, zone.localDay(block.createdAt));
}

// Where a block stands in time: its first session's start, or its creation
// while it has none.
Instant blockStart(const Block& block)
{
    return block.sessions.empty() ? block.createdAt : block.sessions.front().startedAt;
}

// The blocks of the history and the current block that the range takes,
// oldest first.
std::vector<const Block*> selectBlocks(const QuillmereState& state, const ExportRange& range, const TimeZone& zone)
{
    std::vector<const Block*> blocks;
    blocks.reserve(state.blockHistory.size() + 1);
    // The history is stored most recent first; reversed, it is nearly sorted.
    for (auto block = state.blockHistory.rbegin(); block != state.blockHistory.rend(); ++block) {
        if (blockInRange(*block, range, zone)) {
            blocks.push_back(&*block);
        }
    }
    if (state.currentBlock && blockInRange(*state.currentBlock, range, zone)) {
        blocks.push_back(&*state.currentBlock);
    }
    std::ranges::stable_sort(blocks, {}, [](const Block* block) { return blockStart(*block); });
    return blocks;
}

// What one CSV row is made from.
struct SessionRow {
    const Block* block;
    const WorkSession* session;
    // The block's outcome titles, one a line; shared by its rows.
    const std::string* blockOutcomes;
};

struct RowContext {
    const TimeZone& zone;
    Instant now;
};

std::string optionalTime(const std::optional<Instant>& instant, const RowContext& context)
{
    return instant ? context.zone.isoText(*instant) : std::string();
}

// Minutes with at most two decimals, the point as separator whatever the
// locale: what spreadsheets and scripts read as a number everywhere.
std::string minutesText(Seconds seconds)
{
    // A double's largest fixed-point form has 309 digits before the point.
    std::array<char, 330> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), seconds / 60.0, std::chars_format::fixed, 2);
    std::string text(buffer.data(), error == std::errc() ? end : buffer.data());
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text == "-0" ? "0" : text;
}

std::string integerText(std::int64_t value)
{
    std::array<char, 24> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string blockOutcomeTitle(const Block& block, const SessionPlan& plan)
{
    if (!plan.blockOutcomeID) {
        return {};
    }
    const auto outcome = std::ranges::find(block.outcomes, *plan.blockOutcomeID, &Outcome::id);
    return outcome == block.outcomes.end() ? std::string() : outcome->title;
}

template <class Field>
std::string reviewText(const WorkSession& session, Field field)
{
    return session.review ? std::invoke(field, *session.review) : std::string();
}

struct CsvColumn {
    std::string_view name;
    std::string (*value)(const SessionRow& row, const RowContext& context);
};

// The CSV's columns, in order; the names follow the state file's keys.
constexpr std::array csvColumns{
    CsvColumn{"block_id", [](const SessionRow& r, const RowContext&) { return r.block->id.toString(); }},
    CsvColumn{"block_created_at",
              [](const SessionRow& r, const RowContext& c) { return c.zone.isoText(r.block->createdAt); }},
    CsvColumn{"block_completed_at",
              [](const SessionRow& r, const RowContext& c) { return optionalTime(r.block->completedAt, c); }},
    CsvColumn{"block_outcomes", [](const SessionRow& r, const RowContext&) { return *r.blockOutcomes; }},
    CsvColumn{"session_id", [](const SessionRow& r, const RowContext&) { return r.session->id.toString(); }},
    CsvColumn{"session_number", [](const SessionRow& r, const RowContext&) { return integerText(r.session->number); }},
    CsvColumn{"started_at",
              [](const SessionRow& r, const RowContext& c) { return c.zone.isoText(r.session->startedAt); }},
    CsvColumn{"ended_at", [](const SessionRow& r, const RowContext& c) { return optionalTime(r.session->endedAt, c); }},
    CsvColumn{"planned_minutes",
              [](const SessionRow& r, const RowContext&) { return minutesText(r.session->plannedDurationSeconds); }},
    CsvColumn{"focus_minutes",
              [](const SessionRow& r, const RowContext& c) { return minutesText(r.session->focusSeconds(c.now)); }},
    CsvColumn{"paused_minutes",
              [](const SessionRow& r, const RowContext& c) { return minutesText(r.session->pausedSeconds(c.now)); }},
    CsvColumn{"block_outcome",
              [](const SessionRow& r, const RowContext&) { return blockOutcomeTitle(*r.block, r.session->plan); }},
    CsvColumn{"intended_outcome", [](const SessionRow& r, const RowContext&) { return r.session->plan.intendedOutcome; }},
    CsvColumn{"first_action", [](const SessionRow& r, const RowContext&) { return r.session->plan.firstAction; }},
    CsvColumn{"hazards_mitigation",
              [](const SessionRow& r, const RowContext&) { return r.session->plan.hazardsMitigation; }},
    CsvColumn{"nicu_framing", [](const SessionRow& r, const RowContext&) { return r.session->plan.nicuFraming; }},
    CsvColumn{"energy", [](const SessionRow& r, const RowContext&) { return integerText(r.session->plan.energy); }},
    CsvColumn{"morale", [](const SessionRow& r, const RowContext&) { return integerText(r.session->plan.morale); }},
    CsvColumn{"completion",
              [](const SessionRow& r, const RowContext&) {
                  return r.session->review ? std::string(rawText(r.session->review->completion)) : std::string();
              }},
    CsvColumn{"noteworthy_result",
              [](const SessionRow& r, const RowContext&) {
                  return reviewText(*r.session, &SessionReview::noteworthyResult);
              }},
    CsvColumn{"distractions",
              [](const SessionRow& r, const RowContext&) { return reviewText(*r.session, &SessionReview::distractions); }},
    CsvColumn{"improvement",
              [](const SessionRow& r, const RowContext&) { return reviewText(*r.session, &SessionReview::improvement); }},
};

// One field as RFC 4180 has it: quoted, with its quotes doubled, when it
// holds a separator, a quote or a line break.
void appendField(std::string& out, std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

constexpr std::string_view lineEnd = "\r\n";

std::string exportCsv(const std::vector<const Block*>& blocks, const ExportRange& range, const RowContext& context)
{
    std::vector<std::string> outcomes;
    outcomes.reserve(blocks.size());
    std::vector<SessionRow> rows;
    for (const Block* block : blocks) {
        // Reserved above: the rows keep pointers to these.
        std::string& titles = outcomes.emplace_back();
        for (std::size_t i = 0; i < block->outcomes.size(); ++i) {
            titles += i == 0 ? "" : "\n";
            titles += block->outcomes[i].title;
        }
        for (const WorkSession& session : block->sessions) {
            if (sessionInRange(session, range, context.zone)) {
                rows.push_back(SessionRow{block, &session, &titles});
            }
        }
    }
    std::ranges::stable_sort(rows, {}, [](const SessionRow& row) { return row.session->startedAt; });

    std::string out;
    out.reserve(rows.size() * 512);
    for (std::size_t i = 0; i < csvColumns.size(); ++i) {
        out += csvColumns[i].name;
        out += i + 1 == csvColumns.size() ? lineEnd : ",";
    }
    for (const SessionRow& row : rows) {
        for (std::size_t i = 0; i < csvColumns.size(); ++i) {
            appendField(out, csvColumns[i].value(row, context));
            out += i + 1 == csvColumns.size() ? lineEnd : ",";
        }
    }
    return out;
}

// "[3]": where an error in the array's fourth block is.
std::string indexPath(std::size_t index)
{
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about
    // "literal" + std::string temporaries in optimised builds.
    std::string path = "[";
    path += std::to_string(index);
    path += ']';
    return path;
}

// The blocks as one indented array, exactly as the state file's writer lays
// it out, encoded a block at a time.
std::expected<std::string, CodingError> exportJson(const std::vector<const Block*>& blocks)
{
    if (blocks.empty()) {
        return "[]\n";
    }
    std::string out = "[\n";
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        auto text = encodeDocument(toJson(*blocks[i]), JsonLayout::indented);
        if (!text) {
            CodingError error = std::move(text.error());
            error.path = error.path.empty() ? indexPath(i) : indexPath(i) + "." + error.path;
            return std::unexpected(std::move(error));
        }
        if (i > 0) {
            out += ",\n";
        }
        appendIndented(out, *text, "  ");
    }
    out += "\n]\n";
    return out;
}

} // namespace

std::string_view rawText(ExportFormat value)
{
    switch (value) {
    case ExportFormat::csv: return "csv";
    case ExportFormat::json: return "json";
    }
    return "";
}

std::expected<std::string, CodingError> exportHistory(const QuillmereState& state, ExportFormat format,
                                                      const ExportRange& range, const TimeZone& zone, Instant now)
{
    const std::vector<const Block*> blocks = selectBlocks(state, range, zone);
    switch (format) {
    case ExportFormat::csv: return exportCsv(blocks, range, RowContext{zone, now});
    case ExportFormat::json: return exportJson(blocks);
    }
    return std::unexpected(CodingError{"", "unknown export format"});
}

FileResult writeExport(const std::filesystem::path& path, std::string_view bytes, bool replaceExisting)
{
    return writeAtomically(path, bytes, replaceExisting ? ReplaceItem(renameReplacing) : renameWithoutReplacing);
}

std::expected<std::vector<Block>, CodingError> decodeExportedBlocks(std::string_view bytes)
{
    auto tree = coding::parseDocument(bytes);
    if (!tree) {
        return std::unexpected(std::move(tree.error()));
    }
    if (!tree->is_array()) {
        return std::unexpected(CodingError{"", "the document is not a JSON array of blocks"});
    }
    std::vector<Block> blocks;
    blocks.reserve(tree->size());
    try {
        for (std::size_t i = 0; i < tree->size(); ++i) {
            const coding::ObjectReader reader((*tree)[i], indexPath(i));
            blocks.push_back(coding::read<Block>(reader));
        }
    } catch (const coding::DecodingFailure& failure) {
        return std::unexpected(failure.error);
    } catch (const json::exception& error) {
        return std::unexpected(CodingError{"", error.what()});
    }
    return blocks;
}

} // namespace quillmere
