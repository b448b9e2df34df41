// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Enumerations.h"
#include "quillmere/Instant.h"
#include "quillmere/Uuid.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <exception>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere {

// Why a JSON document could not be read or written. `path` names the key in
// the file's own spelling ("current_block.sessions[0].plan.energy"); it is
// empty when the document as a whole is at fault.
struct CodingError {
    std::string path;
    std::string reason;

    // One line for people: names the key and, where there is one, the value.
    std::string description() const;

    friend bool operator==(const CodingError&, const CodingError&) = default;
};

// Key conversion between the records' camel-case coding keys and the files'
// snake case. Leading and trailing underscores are kept as they are.
std::string toSnakeCase(std::string_view key);
std::string fromSnakeCase(std::string_view key);

enum class JsonLayout { indented, compact };

// Writes a tree built with camel-case keys as a document: keys in snake case
// and sorted, "/" unescaped. A number that is not finite cannot be written as
// JSON and fails the encoding (rather than turning into null).
[[nodiscard]] std::expected<std::string, CodingError> encodeDocument(nlohmann::json tree, JsonLayout layout);

// Appends `text`, a document encoded indented, with `indent` before each of
// its lines: its layout at its place inside a larger indented document.
// Encoding records one by one and joining their texts keeps the trees small,
// which makes a long list much cheaper to write than as one tree.
void appendIndented(std::string& out, std::string_view text, std::string_view indent);

// The file form of values inside trees.
nlohmann::json instantValue(Instant instant);
// Whole seconds are written without a fraction, for readers in other languages.
nlohmann::json secondsValue(double seconds);

namespace coding {

// A JSON array of records in stored order (empty lists stay arrays); each
// record type brings its own toJson.
template <class T>
nlohmann::json listValue(const std::vector<T>& items)
{
    nlohmann::json list = nlohmann::json::array();
    for (const T& item : items) {
        list.push_back(toJson(item));
    }
    return list;
}

// Thrown inside decoders only; decodeDocument turns it into a CodingError, so
// it never leaves the library.
struct DecodingFailure : std::exception {
    explicit DecodingFailure(CodingError error) : error(std::move(error)) {}
    const char* what() const noexcept override { return "decoding failure"; }
    CodingError error;
};

class ObjectReader;

// Decodes one record from an object; specialised for each record type.
template <class T>
T read(const ObjectReader& reader);

// Reads the members of one JSON object whose keys are already in camel case.
// "May be absent" members are absent when missing or null. Every failure
// throws DecodingFailure naming the member.
class ObjectReader {
public:
    // Fails unless `value` is an object. With `unknownMembers`, the reader and
    // the readers of the records read through it remember which members were
    // asked for, so that noteUnknownMembers can name the others.
    ObjectReader(const nlohmann::json& value, std::string path,
                 std::vector<std::string>* unknownMembers = nullptr);

    std::string text(std::string_view key) const;
    std::optional<std::string> optionalText(std::string_view key) const;
    // Refuses fractions and numbers outside 64 bits.
    std::int64_t integer(std::string_view key) const;
    std::optional<std::int64_t> optionalInteger(std::string_view key) const;
    // Any finite JSON number.
    double seconds(std::string_view key) const;
    bool boolean(std::string_view key) const;
    Uuid identifier(std::string_view key) const;
    std::optional<Uuid> optionalIdentifier(std::string_view key) const;
    // A list of texts; missing or null reads as an empty list.
    std::vector<std::string> optionalTextList(std::string_view key) const;
    Instant instant(std::string_view key) const;
    std::optional<Instant> optionalInstant(std::string_view key) const;

    template <class Enum>
    Enum enumeration(std::string_view key) const
    {
        const std::string raw = text(key);
        if (auto value = fromRawText<Enum>(raw)) {
            return *value;
        }
        fail(key, unknownValueReason(raw));
    }

    template <class T>
    T record(std::string_view key) const
    {
        return readChild<T>(required(key), childPath(key));
    }

    template <class T>
    std::optional<T> optionalRecord(std::string_view key) const
    {
        const nlohmann::json* value = present(key);
        if (value == nullptr) {
            return std::nullopt;
        }
        return readChild<T>(*value, childPath(key));
    }

    template <class T>
    std::vector<T> list(std::string_view key) const
    {
        const nlohmann::json& value = required(key);
        if (!value.is_array()) {
            fail(key, wrongKindReason("an array", value));
        }
        std::vector<T> items;
        items.reserve(value.size());
        for (std::size_t i = 0; i < value.size(); ++i) {
            items.push_back(readChild<T>(value[i], childPath(key) + "[" + std::to_string(i) + "]"));
        }
        return items;
    }

    // Whether `key` holds a value other than null.
    bool has(std::string_view key) const { return present(key) != nullptr; }
    const std::string& path() const { return path_; }

    [[noreturn]] void fail(std::string_view key, std::string reason) const;

    // Adds the members of this object with a value that no read asked for,
    // in the file's spelling, to the collection given at construction.
    void noteUnknownMembers() const;

private:
    template <class T>
    T readChild(const nlohmann::json& value, std::string path) const
    {
        const ObjectReader child(value, std::move(path), unknownMembers_);
        T record = read<T>(child);
        child.noteUnknownMembers();
        return record;
    }

    const nlohmann::json& required(std::string_view key) const;
    const nlohmann::json* present(std::string_view key) const;
    std::string childPath(std::string_view key) const;
    static std::string wrongKindReason(std::string_view expected, const nlohmann::json& found);
    static std::string unknownValueReason(std::string_view raw);

    const nlohmann::json& object_;
    std::string path_;
    std::vector<std::string>* unknownMembers_;
    // The keys asked for, while unknown members are being collected.
    mutable std::vector<std::string_view> askedFor_;
};

// Parses `bytes`, turns the keys to camel case and hands the root object to
// `decodeRoot`. Syntax errors, invalid UTF-8, nesting deeper than
// `maximumNesting` and every decoder failure come back as a CodingError.
[[nodiscard]] std::expected<nlohmann::json, CodingError> parseDocument(std::string_view bytes);

// Decodes a tree that parseDocument returned; with `unknownMembers`, also
// collects the members no record asked for (see ObjectReader).
template <class T>
[[nodiscard]] std::expected<T, CodingError> decodeTree(const nlohmann::json& tree,
                                         std::vector<std::string>* unknownMembers = nullptr)
{
    try {
        const ObjectReader root(tree, "", unknownMembers);
        T value = read<T>(root);
        root.noteUnknownMembers();
        return value;
    } catch (const DecodingFailure& failure) {
        return std::unexpected(failure.error);
    } catch (const nlohmann::json::exception& error) {
        return std::unexpected(CodingError{"", error.what()});
    }
}

template <class T>
[[nodiscard]] std::expected<T, CodingError> decodeDocument(std::string_view bytes)
{
    auto tree = parseDocument(bytes);
    if (!tree) {
        return std::unexpected(std::move(tree.error()));
    }
    return decodeTree<T>(*tree);
}

// Deeper than any record nests; keeps a hostile file from exhausting the stack.
inline constexpr std::size_t maximumNesting = 256;

} // namespace coding
} // namespace quillmere
