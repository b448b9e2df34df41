// SPDX-License-Identifier: GPL-3.0-or-later
// The quick way to decode a state. nlohmann/json's tree of a ten-megabyte
// history costs most of a start-up in allocations alone (a map per object,
// the keys converted to camel case into a second tree, and all of it freed
// again). simdjson reads the same bytes into one flat document in a few
// milliseconds, and the records are built straight from that.
//
// The tree stays the reference: this decoder takes a document only when it
// can read it exactly as the tree would, and leaves everything else to it,
// so every error, and every odd case the tree settles in its own way (keys
// spelled twice, a byte order mark, integers past 64 bits), comes out as it
// always did.

#include "quillmere/StateCoding.h"

#include "RecordFields_p.h"

// Only the error-code style of simdjson is used: nothing here throws through it.
#define SIMDJSON_EXCEPTIONS 0
#include <simdjson.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace quillmere::coding {
namespace {

namespace dom = simdjson::dom;

// Thrown inside this decoder when the document is one for the tree; it never
// leaves decodeStateQuickly.
struct LeftToTree {};

[[noreturn]] void leaveToTree()
{
    throw LeftToTree{};
}

char toUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string joinPath(const std::string& path, std::string_view key)
{
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

// Whether the tree files the member `key` of the file under `camelKey`, that
// is whether fromSnakeCase(key) == camelKey, without building the converted
// key: this runs for every member against every key a record asks for.
bool filedUnder(std::string_view key, std::string_view camelKey)
{
    if (key.empty() || camelKey.empty()) {
        return key.empty() && camelKey.empty();
    }
    // The conversion keeps the first byte (an underscore, or a letter that is
    // never capitalised), which settles most comparisons at once.
    if (key.front() != camelKey.front()) {
        return false;
    }
    const std::size_t first = key.find_first_not_of('_');
    if (first == std::string_view::npos) {
        return key == camelKey;
    }
    const std::size_t last = key.find_last_not_of('_');
    std::size_t at = 0;
    const auto next = [&](char c) { return at < camelKey.size() && camelKey[at++] == c; };
    for (std::size_t i = 0; i < first; ++i) {
        if (!next('_')) {
            return false;
        }
    }
    bool upperNext = false;
    for (std::size_t i = first; i <= last; ++i) {
        if (key[i] == '_') {
            upperNext = true;
            continue;
        }
        if (!next(upperNext ? toUpper(key[i]) : key[i])) {
            return false;
        }
        upperNext = false;
    }
    for (std::size_t i = last + 1; i < key.size(); ++i) {
        if (!next('_')) {
            return false;
        }
    }
    return at == camelKey.size();
}

// Reads one object of simdjson's document with the interface of ObjectReader,
// for the records' shared field lists. It only ever succeeds: every read the
// tree's reader would refuse leaves the document to the tree, which then
// words the error.
class QuickReader {
public:
    static constexpr std::size_t noIndex = std::numeric_limits<std::size_t>::max();

    // The object at `key` of `parent` (item `index` of that list, if one), or
    // the root without a parent. Unknown members go to `unknownMembers`.
    QuickReader(dom::element value, const QuickReader* parent, std::string_view key, std::size_t index,
                std::vector<std::string>* unknownMembers)
        : parent_(parent), key_(key), index_(index), unknownMembers_(unknownMembers)
    {
        if (value.get_object().get(object_) != simdjson::SUCCESS) {
            leaveToTree();
        }
        // One bit per member marks what was asked for; no record comes near
        // this many members, so a larger object can wait for the tree.
        if (object_.size() > 64) {
            leaveToTree();
        }
    }

    std::string text(std::string_view key) const { return std::string(textOf(required(key))); }

    std::optional<std::string> optionalText(std::string_view key) const
    {
        const auto value = present(key);
        return value ? std::optional(std::string(textOf(*value))) : std::nullopt;
    }

    std::int64_t integer(std::string_view key) const { return integerOf(required(key)); }

    std::optional<std::int64_t> optionalInteger(std::string_view key) const
    {
        const auto value = present(key);
        return value ? std::optional(integerOf(*value)) : std::nullopt;
    }

    double seconds(std::string_view key) const
    {
        const dom::element value = required(key);
        switch (value.type()) {
        case dom::element_type::INT64: return static_cast<double>(value.get_int64().value_unsafe());
        case dom::element_type::UINT64: return static_cast<double>(value.get_uint64().value_unsafe());
        case dom::element_type::DOUBLE:
            if (const double number = value.get_double().value_unsafe(); std::isfinite(number)) {
                return number;
            }
            break;
        default: break;
        }
        leaveToTree();
    }

    bool boolean(std::string_view key) const
    {
        bool flag = false;
        if (required(key).get_bool().get(flag) != simdjson::SUCCESS) {
            leaveToTree();
        }
        return flag;
    }

    Uuid identifier(std::string_view key) const { return identifierOf(required(key)); }

    std::optional<Uuid> optionalIdentifier(std::string_view key) const
    {
        const auto value = present(key);
        return value ? std::optional(identifierOf(*value)) : std::nullopt;
    }

    std::vector<std::string> optionalTextList(std::string_view key) const
    {
        std::vector<std::string> texts;
        const auto value = present(key);
        if (!value) {
            return texts;
        }
        dom::array items;
        if (value->get_array().get(items) != simdjson::SUCCESS) {
            leaveToTree();
        }
        for (const dom::element item : items) {
            texts.emplace_back(textOf(item));
        }
        return texts;
    }

    Instant instant(std::string_view key) const { return instantOf(required(key)); }

    std::optional<Instant> optionalInstant(std::string_view key) const
    {
        const auto value = present(key);
        return value ? std::optional(instantOf(*value)) : std::nullopt;
    }

    template <class Enum>
    Enum enumeration(std::string_view key) const
    {
        if (auto value = fromRawText<Enum>(textOf(required(key)))) {
            return *value;
        }
        leaveToTree();
    }

    template <class T>
    T record(std::string_view key) const
    {
        return readChild<T>(required(key), key, noIndex);
    }

    template <class T>
    std::optional<T> optionalRecord(std::string_view key) const
    {
        const auto value = present(key);
        return value ? std::optional(readChild<T>(*value, key, noIndex)) : std::nullopt;
    }

    template <class T>
    std::vector<T> list(std::string_view key) const
    {
        dom::array items;
        if (required(key).get_array().get(items) != simdjson::SUCCESS) {
            leaveToTree();
        }
        std::vector<T> records;
        records.reserve(items.size());
        for (const dom::element item : items) {
            records.push_back(readChild<T>(item, key, records.size()));
        }
        return records;
    }

    bool has(std::string_view key) const { return present(key).has_value(); }

    // Notes the members no read asked for, in the spelling the tree gives
    // them (its camel-case key turned back into snake case).
    void noteUnknownMembers() const
    {
        std::size_t i = 0;
        for (const dom::key_value_pair member : object_) {
            if ((asked_ >> i & 1) == 0) {
                const std::string camelKey = fromSnakeCase(member.key);
                // Two spellings of one member that nothing asked for: the
                // tree keeps one of them, and which one is its business.
                std::size_t j = 0;
                for (const dom::key_value_pair other : object_) {
                    if (j != i && (asked_ >> j & 1) == 0 && filedUnder(other.key, camelKey)) {
                        leaveToTree();
                    }
                    ++j;
                }
                // A null member holds no data to lose.
                if (!member.value.is_null()) {
                    unknownMembers_->push_back(joinPath(path(), toSnakeCase(camelKey)));
                }
            }
            ++i;
        }
    }

private:
    template <class T>
    T readChild(dom::element value, std::string_view key, std::size_t index) const
    {
        const QuickReader child(value, this, key, index, unknownMembers_);
        T record = RecordFields<T>::read(child);
        child.noteUnknownMembers();
        return record;
    }

    // The member filed under `camelKey`, null or not; marks it as asked for.
    std::optional<dom::element> find(std::string_view camelKey) const
    {
        std::optional<dom::element> found;
        std::size_t i = 0;
        for (const dom::key_value_pair member : object_) {
            if (filedUnder(member.key, camelKey)) {
                // Two keys for one member ("title" twice, or "whyValue"
                // beside "why_value"): the tree decides which one counts.
                if (found) {
                    leaveToTree();
                }
                found = member.value;
                asked_ |= std::uint64_t{1} << i;
            }
            ++i;
        }
        return found;
    }

    std::optional<dom::element> present(std::string_view camelKey) const
    {
        auto value = find(camelKey);
        if (value && value->is_null()) {
            return std::nullopt;
        }
        return value;
    }

    dom::element required(std::string_view camelKey) const
    {
        const auto value = present(camelKey);
        if (!value) {
            leaveToTree();
        }
        return *value;
    }

    static std::string_view textOf(dom::element value)
    {
        std::string_view text;
        if (value.get_string().get(text) != simdjson::SUCCESS) {
            leaveToTree();
        }
        return text;
    }

    // As ObjectReader::integer: whole numbers within 64 bits, and those
    // written as fractions ("3.0") only up to 2^53, where doubles stop
    // holding every whole number.
    static std::int64_t integerOf(dom::element value)
    {
        switch (value.type()) {
        case dom::element_type::INT64: return value.get_int64().value_unsafe();
        case dom::element_type::DOUBLE: {
            const double number = value.get_double().value_unsafe();
            constexpr double exactLimit = 9007199254740992.0; // 2^53
            if (std::trunc(number) == number && number <= exactLimit && number >= -exactLimit) {
                return static_cast<std::int64_t>(number);
            }
            break;
        }
        default: break; // simdjson holds only numbers past 2^63 - 1 as unsigned
        }
        leaveToTree();
    }

    static Uuid identifierOf(dom::element value)
    {
        if (auto id = Uuid::parse(textOf(value))) {
            return *id;
        }
        leaveToTree();
    }

    static Instant instantOf(dom::element value)
    {
        if (auto instant = parseInstant(textOf(value))) {
            return *instant;
        }
        leaveToTree();
    }

    // Spelled only for an unknown member, as the tree's reader spells it.
    std::string path() const
    {
        if (parent_ == nullptr) {
            return "";
        }
        std::string spelled = joinPath(parent_->path(), toSnakeCase(key_));
        if (index_ != noIndex) {
            spelled += '[';
            spelled += std::to_string(index_);
            spelled += ']';
        }
        return spelled;
    }

    dom::object object_;
    const QuickReader* parent_;
    std::string_view key_;
    std::size_t index_;
    std::vector<std::string>* unknownMembers_;
    mutable std::uint64_t asked_ = 0;
};

} // namespace

std::optional<DecodedState> decodeStateQuickly(std::string_view bytes)
{
    dom::parser parser;
    // The tree's depth limit: whatever simdjson takes, the tree's depth check
    // lets through too.
    if (parser.allocate(bytes.size(), maximumNesting) != simdjson::SUCCESS) {
        return std::nullopt;
    }
    dom::element root;
    if (parser.parse(bytes.data(), bytes.size()).get(root) != simdjson::SUCCESS) {
        return std::nullopt;
    }
    std::vector<std::string> unknownMembers;
    try {
        const QuickReader reader(root, nullptr, {}, QuickReader::noIndex, &unknownMembers);
        QuillmereState state = RecordFields<QuillmereState>::read(reader);
        reader.noteUnknownMembers();
        std::ranges::sort(unknownMembers);
        return DecodedState{std::move(state), std::move(unknownMembers)};
    } catch (const LeftToTree&) {
        return std::nullopt;
    }
}

} // namespace quillmere::coding
