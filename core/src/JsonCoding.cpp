// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/JsonCoding.h"

#include "Utf8_p.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace quillmere {
namespace {

using nlohmann::json;

bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isLower(char c) { return c >= 'a' && c <= 'z'; }
char toLower(char c) { return isUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }
char toUpper(char c) { return isLower(c) ? static_cast<char>(c - 'a' + 'A') : c; }

// A value quoted for an error message: invalid UTF-8 and control characters
// escaped, long texts shortened, so the message itself is always displayable.
std::string displayQuoted(std::string_view text, std::size_t shown = 80)
{
    std::string out = "\"";
    std::size_t i = 0;
    while (i < text.size() && i < shown) {
        const std::size_t length = utf8SequenceLength(text, i);
        const auto c = static_cast<unsigned char>(text[i]);
        if (length == 0 || c < 0x20 || c == 0x7F) {
            static constexpr char digits[] = "0123456789ABCDEF";
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 0x0F];
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    if (i < text.size()) {
        out += "…";
    }
    out += "\"";
    return out;
}

std::string describeValue(const json& value)
{
    switch (value.type()) {
    case json::value_t::null: return "null";
    case json::value_t::boolean: return value.get<bool>() ? "true" : "false";
    case json::value_t::string: return "text " + displayQuoted(value.get_ref<const std::string&>());
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
    case json::value_t::number_float: return "the number " + value.dump();
    case json::value_t::array: return "an array";
    case json::value_t::object: return "an object";
    case json::value_t::binary:
    case json::value_t::discarded: return "an unreadable value";
    }
    return "an unreadable value";
}

std::string joinPath(const std::string& path, std::string_view key)
{
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

// Both conversions take the tree by value and move every member across, so
// that converting a large document does not copy its texts again.
json snakeCased(json&& value)
{
    if (value.is_object()) {
        json converted = json::object();
        for (auto& [key, member] : value.get_ref<json::object_t&>()) {
            std::string snake = toSnakeCase(key);
            try {
                json convertedMember = snakeCased(std::move(member));
                converted.get_ref<json::object_t&>().emplace(std::move(snake), std::move(convertedMember));
            } catch (coding::DecodingFailure& failure) {
                // The path is only spelled out when something is wrong.
                const std::string& inner = failure.error.path;
                failure.error.path = inner.empty() ? snake : inner.front() == '[' ? snake + inner : snake + "." + inner;
                throw;
            }
        }
        return converted;
    }
    if (value.is_array()) {
        auto& items = value.get_ref<json::array_t&>();
        for (std::size_t i = 0; i < items.size(); ++i) {
            try {
                items[i] = snakeCased(std::move(items[i]));
            } catch (coding::DecodingFailure& failure) {
                const std::string& inner = failure.error.path;
                const std::string index = "[" + std::to_string(i) + "]";
                failure.error.path = inner.empty() ? index : inner.front() == '[' ? index + inner : index + "." + inner;
                throw;
            }
        }
        return std::move(value);
    }
    if (value.is_number_float() && !std::isfinite(value.get<double>())) {
        throw coding::DecodingFailure(CodingError{"", "the number is not finite and cannot be written as JSON"});
    }
    return std::move(value);
}

json camelCased(json&& value)
{
    if (value.is_object()) {
        json converted = json::object();
        for (auto& [key, member] : value.get_ref<json::object_t&>()) {
            converted.get_ref<json::object_t&>().emplace(fromSnakeCase(key), camelCased(std::move(member)));
        }
        return converted;
    }
    if (value.is_array()) {
        for (json& item : value.get_ref<json::array_t&>()) {
            item = camelCased(std::move(item));
        }
    }
    return std::move(value);
}

// The parser itself copes with deep nesting, but the conversions that follow
// recurse; refuse absurd depth before anything else looks at the tree.
std::optional<std::size_t> tooDeepAt(std::string_view bytes)
{
    std::size_t depth = 0;
    bool inString = false;
    bool escaped = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            if (++depth > coding::maximumNesting) {
                return i;
            }
        } else if ((c == '}' || c == ']') && depth > 0) {
            --depth;
        }
    }
    return std::nullopt;
}

std::string parseErrorReason(const std::string& what)
{
    // "[json.exception.parse_error.101] parse error at line 1, column 9: ..."
    const auto bracket = what.find("] ");
    const std::string detail = bracket == std::string::npos ? what : what.substr(bracket + 2);
    std::string clean = displayQuoted(detail, 400);
    return "not valid JSON: " + clean.substr(1, clean.size() - 2);
}

} // namespace

std::string CodingError::description() const
{
    if (path.empty()) {
        return reason;
    }
    return "key \"" + path + "\": " + reason;
}

std::string toSnakeCase(std::string_view key)
{
    const std::size_t first = key.find_first_not_of('_');
    if (first == std::string_view::npos) {
        return std::string(key);
    }
    const std::size_t last = key.find_last_not_of('_');
    std::string out(key.substr(0, first));
    for (std::size_t i = first; i <= last; ++i) {
        const char c = key[i];
        if (i > first && isUpper(c)) {
            const char previous = key[i - 1];
            const bool followsLower = !isUpper(previous) && previous != '_';
            // The last capital of a run that is followed by a lower-case
            // letter begins a new word: "URLValue" is "url_value".
            const bool endsAcronym = isUpper(previous) && i + 1 <= last && isLower(key[i + 1]);
            if (followsLower || endsAcronym) {
                out.push_back('_');
            }
        }
        out.push_back(toLower(c));
    }
    out.append(key.substr(last + 1));
    return out;
}

std::string fromSnakeCase(std::string_view key)
{
    const std::size_t first = key.find_first_not_of('_');
    if (first == std::string_view::npos) {
        return std::string(key);
    }
    const std::size_t last = key.find_last_not_of('_');
    std::string out(key.substr(0, first));
    bool upperNext = false;
    for (std::size_t i = first; i <= last; ++i) {
        if (key[i] == '_') {
            upperNext = true;
            continue;
        }
        out.push_back(upperNext ? toUpper(key[i]) : key[i]);
        upperNext = false;
    }
    out.append(key.substr(last + 1));
    return out;
}

std::expected<std::string, CodingError> encodeDocument(json tree, JsonLayout layout)
{
    try {
        const json converted = snakeCased(std::move(tree));
        const int indent = layout == JsonLayout::indented ? 2 : -1;
        return converted.dump(indent, ' ', false, json::error_handler_t::replace);
    } catch (const coding::DecodingFailure& failure) {
        return std::unexpected(failure.error);
    } catch (const json::exception& error) {
        return std::unexpected(CodingError{"", error.what()});
    }
}

void appendIndented(std::string& out, std::string_view text, std::string_view indent)
{
    out += indent;
    for (const char c : text) {
        out += c;
        if (c == '\n') {
            out += indent;
        }
    }
}

json instantValue(Instant instant)
{
    return formatInstant(instant);
}

json secondsValue(double seconds)
{
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (std::isfinite(seconds) && std::trunc(seconds) == seconds && seconds >= -limit && seconds < limit) {
        return static_cast<std::int64_t>(seconds);
    }
    return seconds;
}

namespace coding {

ObjectReader::ObjectReader(const json& value, std::string path, std::vector<std::string>* unknownMembers)
    : object_(value), path_(std::move(path)), unknownMembers_(unknownMembers)
{
    if (!value.is_object()) {
        const std::string reason = wrongKindReason("an object", value);
        throw DecodingFailure(CodingError{path_, path_.empty() ? "the document is not a JSON object: " + reason : reason});
    }
}

void ObjectReader::fail(std::string_view key, std::string reason) const
{
    throw DecodingFailure(CodingError{childPath(key), std::move(reason)});
}

std::string ObjectReader::childPath(std::string_view key) const
{
    return joinPath(path_, toSnakeCase(key));
}

std::string ObjectReader::wrongKindReason(std::string_view expected, const json& found)
{
    return "expected " + std::string(expected) + ", found " + describeValue(found);
}

std::string ObjectReader::unknownValueReason(std::string_view raw)
{
    return "unknown value " + displayQuoted(raw);
}

void ObjectReader::noteUnknownMembers() const
{
    if (unknownMembers_ == nullptr) {
        return;
    }
    for (const auto& [key, value] : object_.items()) {
        // A null member holds no data to lose.
        if (!value.is_null() && std::ranges::find(askedFor_, key) == askedFor_.end()) {
            unknownMembers_->push_back(childPath(key));
        }
    }
}

const json* ObjectReader::present(std::string_view key) const
{
    if (unknownMembers_ != nullptr) {
        askedFor_.push_back(key);
    }
    const auto found = object_.find(key);
    if (found == object_.end() || found->is_null()) {
        return nullptr;
    }
    return &*found;
}

const json& ObjectReader::required(std::string_view key) const
{
    if (unknownMembers_ != nullptr) {
        askedFor_.push_back(key);
    }
    const auto found = object_.find(key);
    if (found == object_.end()) {
        fail(key, "is missing");
    }
    if (found->is_null()) {
        fail(key, "must have a value, found null");
    }
    return *found;
}

std::string ObjectReader::text(std::string_view key) const
{
    const json& value = required(key);
    if (!value.is_string()) {
        fail(key, wrongKindReason("text", value));
    }
    return value.get<std::string>();
}

std::optional<std::string> ObjectReader::optionalText(std::string_view key) const
{
    if (!has(key)) {
        return std::nullopt;
    }
    return text(key);
}

std::int64_t ObjectReader::integer(std::string_view key) const
{
    const json& value = required(key);
    constexpr auto largest = std::numeric_limits<std::int64_t>::max();
    if (value.is_number_unsigned()) {
        if (value.get<std::uint64_t>() > static_cast<std::uint64_t>(largest)) {
            fail(key, "the number " + value.dump() + " is too large for a 64-bit integer");
        }
        return static_cast<std::int64_t>(value.get<std::uint64_t>());
    }
    if (value.is_number_integer()) {
        return value.get<std::int64_t>();
    }
    if (value.is_number_float()) {
        // Integer texts beyond 64 bits arrive here as doubles too. Past 2^53 a
        // double no longer holds every whole number, so only smaller ones
        // (written like "3.0") are taken as integers.
        const double number = value.get<double>();
        constexpr double exactLimit = 9007199254740992.0; // 2^53
        if (std::trunc(number) != number) {
            fail(key, "expected a whole number, found " + value.dump());
        }
        if (number > exactLimit || number < -exactLimit) {
            fail(key, "the number " + value.dump() + " is too large for a 64-bit integer");
        }
        return static_cast<std::int64_t>(number);
    }
    fail(key, wrongKindReason("an integer", value));
}

std::optional<std::int64_t> ObjectReader::optionalInteger(std::string_view key) const
{
    if (!has(key)) {
        return std::nullopt;
    }
    return integer(key);
}

double ObjectReader::seconds(std::string_view key) const
{
    const json& value = required(key);
    if (!value.is_number()) {
        fail(key, wrongKindReason("a number of seconds", value));
    }
    const double number = value.get<double>();
    if (!std::isfinite(number)) {
        fail(key, "the number is too large");
    }
    return number;
}

bool ObjectReader::boolean(std::string_view key) const
{
    const json& value = required(key);
    if (!value.is_boolean()) {
        fail(key, wrongKindReason("true or false", value));
    }
    return value.get<bool>();
}

Uuid ObjectReader::identifier(std::string_view key) const
{
    const std::string raw = text(key);
    if (auto id = Uuid::parse(raw)) {
        return *id;
    }
    fail(key, displayQuoted(raw) + " is not an identifier");
}

std::optional<Uuid> ObjectReader::optionalIdentifier(std::string_view key) const
{
    if (!has(key)) {
        return std::nullopt;
    }
    return identifier(key);
}

std::vector<std::string> ObjectReader::optionalTextList(std::string_view key) const
{
    std::vector<std::string> texts;
    const json* value = present(key);
    if (value == nullptr) {
        return texts;
    }
    if (!value->is_array()) {
        fail(key, wrongKindReason("an array", *value));
    }
    for (std::size_t i = 0; i < value->size(); ++i) {
        const json& item = (*value)[i];
        if (!item.is_string()) {
            throw DecodingFailure(CodingError{childPath(key) + "[" + std::to_string(i) + "]", wrongKindReason("text", item)});
        }
        texts.push_back(item.get<std::string>());
    }
    return texts;
}

Instant ObjectReader::instant(std::string_view key) const
{
    const std::string raw = text(key);
    auto parsed = parseInstant(raw);
    if (!parsed) {
        fail(key, displayQuoted(raw) + " " + parsed.error());
    }
    return *parsed;
}

std::optional<Instant> ObjectReader::optionalInstant(std::string_view key) const
{
    if (!has(key)) {
        return std::nullopt;
    }
    return instant(key);
}

std::expected<json, CodingError> parseDocument(std::string_view bytes)
{
    if (auto offset = tooDeepAt(bytes)) {
        return std::unexpected(CodingError{
            "", "not valid JSON: nested deeper than " + std::to_string(maximumNesting) + " levels at byte " +
                    std::to_string(*offset + 1)});
    }
    try {
        return camelCased(json::parse(bytes.begin(), bytes.end()));
    } catch (const json::exception& error) {
        return std::unexpected(CodingError{"", parseErrorReason(error.what())});
    }
}

} // namespace coding
} // namespace quillmere
