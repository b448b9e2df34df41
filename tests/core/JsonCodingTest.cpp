// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/JsonCoding.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using namespace std::chrono_literals;
using nlohmann::json;

TEST(KeyConversion, SnakeCaseRoundTripsEveryCodingKey)
{
    const std::pair<const char*, const char*> cases[] = {
        {"updatedAt", "updated_at"},
        {"plannedNextSession", "planned_next_session"},
        {"blockOutcomeId", "block_outcome_id"},
        {"scheduledStartTriggeredAt", "scheduled_start_triggered_at"},
        {"id", "id"},
        {"_leading", "_leading"},
        {"trailingKey__", "trailing_key__"},
        {"__both_Ends__", "__both_ends__"},
    };
    for (const auto& [camel, snake] : cases) {
        SCOPED_TRACE(camel);
        EXPECT_EQ(toSnakeCase(camel), snake);
    }
    for (const char* camel : {"updatedAt", "plannedNextSession", "blockOutcomeId", "id", "_leading"}) {
        EXPECT_EQ(fromSnakeCase(toSnakeCase(camel)), camel);
    }
}

TEST(KeyConversion, AdjacentCapitalsDoNotSurviveTheRoundTrip)
{
    // Why the plan's outcome key is spelled with a lower-case "d".
    EXPECT_EQ(toSnakeCase("blockOutcomeID"), "block_outcome_id");
    EXPECT_EQ(fromSnakeCase("block_outcome_id"), "blockOutcomeId");
    EXPECT_EQ(toSnakeCase("URLValue"), "url_value");
    EXPECT_EQ(fromSnakeCase("already"), "already");
    EXPECT_EQ(fromSnakeCase("a__b"), "aB");
    EXPECT_EQ(fromSnakeCase("___"), "___");
}

TEST(Instants, WriteUtcWholeSecondsWithZ)
{
    const Instant instant = utcInstant(2026, 3, 2, 9, 30, 0);
    EXPECT_EQ(formatInstant(instant), "2026-03-02T09:30:00Z");
    EXPECT_EQ(formatInstant(instant + 999ms), "2026-03-02T09:30:00Z");
    EXPECT_EQ(formatInstant(utcInstant(1969, 12, 31, 23, 59, 59) + 500ms), "1969-12-31T23:59:59Z");
    EXPECT_EQ(formatInstant(Instant{}), "1970-01-01T00:00:00Z");
}

TEST(Instants, ReadRfc3339WithZoneAndWithoutFraction)
{
    const Instant expected = utcInstant(2026, 3, 2, 9, 30, 0);
    EXPECT_EQ(parseInstant("2026-03-02T09:30:00Z"), expected);
    EXPECT_EQ(parseInstant("2026-03-02t09:30:00z"), expected);
    EXPECT_EQ(parseInstant("2026-03-02T11:30:00+02:00"), expected);
    EXPECT_EQ(parseInstant("2026-03-02T04:00:00-05:30"), expected);
    EXPECT_EQ(parseInstant("2024-02-29T00:00:00Z"), utcInstant(2024, 2, 29));

    for (const char* bad : {"2026-03-02T09:30:00.5Z", "2026-03-02T09:30:00", "2026-03-02 09:30:00Z",
                            "2026-03-02T09:30Z", "2026-3-02T09:30:00Z", "2026-03-02T09:30:00+0200",
                            "2026-02-29T00:00:00Z", "2026-13-01T00:00:00Z", "2026-03-02T24:00:00Z",
                            "2026-03-02T09:60:00Z", "2026-03-02T09:30:60Z", "2026-03-02T09:30:00+24:00",
                            "+2026-03-02T09:30:00Z", "", "2026-03-02T09:30:00ZZ", "２026-03-02T09:30:00Z"}) {
        SCOPED_TRACE(bad);
        const auto parsed = parseInstant(bad);
        ASSERT_FALSE(parsed);
        EXPECT_EQ(parsed.error(), "is not a date-time of the form 2026-03-02T09:30:00Z");
    }
}

TEST(Instants, RefusesDatesOutsideTheClockRange)
{
    // The clock counts nanoseconds in 64 bits: about 1677 to 2262.
    for (const char* far : {"9999-12-31T23:59:59Z", "0001-01-01T00:00:00Z", "1500-01-01T00:00:00Z"}) {
        const auto parsed = parseInstant(far);
        ASSERT_FALSE(parsed) << far;
        EXPECT_NE(parsed.error().find("outside the range"), std::string::npos);
    }
    EXPECT_TRUE(parseInstant("2200-01-01T00:00:00Z"));
    EXPECT_TRUE(parseInstant("1700-01-01T00:00:00Z"));
}

TEST(Instants, DifferencesAreExactAndNeverOverflow)
{
    const Instant start = utcInstant(2026, 1, 1);
    EXPECT_EQ(flooredSecondsBetween(start, start + 100400ms), 100);
    EXPECT_EQ(flooredSecondsBetween(start, start - 5s), -5);
    EXPECT_EQ(flooredSecondsBetween(start, start - 4500ms), -5);
    EXPECT_DOUBLE_EQ(secondsBetween(start, start + 59600ms), 59.6);
    // Both ends of the clock: the difference exceeds 64 bits of nanoseconds.
    EXPECT_GT(secondsBetween(Instant::min(), Instant::max()), 1.8e10);
    EXPECT_LT(flooredSecondsBetween(Instant::max(), Instant::min()), -1.8e10);
    EXPECT_EQ(addSeconds(start, 1.5), start + 1500ms);
    EXPECT_EQ(addSeconds(start, 1e300), Instant::max());
    EXPECT_EQ(addSeconds(start, std::nan("")), start);
}

TEST(Numbers, SecondsAreWrittenWithoutTrailingFraction)
{
    EXPECT_EQ(secondsValue(1500.0).dump(), "1500");
    EXPECT_EQ(secondsValue(-0.0).dump(), "0");
    EXPECT_EQ(secondsValue(59.6).dump(), "59.6");
    EXPECT_EQ(secondsValue(1e20).dump(), "1e+20");
    EXPECT_EQ(secondsValue(9007199254740993.0).dump(), "9007199254740992");
}

TEST(Documents, EncodeSortsSnakeCaseKeysAndLeavesSlashesAlone)
{
    const json tree{{"zetaValue", "a/b"}, {"alphaKey", json{{"innerKey", 1}}}, {"list", json::array()}};
    EXPECT_EQ(*encodeDocument(tree, JsonLayout::compact),
              R"({"alpha_key":{"inner_key":1},"list":[],"zeta_value":"a/b"})");
    EXPECT_EQ(*encodeDocument(tree, JsonLayout::indented),
              "{\n  \"alpha_key\": {\n    \"inner_key\": 1\n  },\n  \"list\": [],\n  \"zeta_value\": \"a/b\"\n}");
}

TEST(Documents, NonFiniteNumbersFailInsteadOfBecomingNull)
{
    const json tree{{"outer", json{{"breakSeconds", json::array({1.0, std::numeric_limits<double>::infinity()})}}}};
    const auto encoded = encodeDocument(tree, JsonLayout::indented);
    ASSERT_FALSE(encoded);
    EXPECT_EQ(encoded.error().path, "outer.break_seconds[1]");
}

TEST(Documents, InvalidUtf8InTextIsReplacedOnWrite)
{
    const json tree{{"text", std::string("ok \xff end")}};
    const auto encoded = encodeDocument(tree, JsonLayout::compact);
    ASSERT_TRUE(encoded);
    EXPECT_EQ(*encoded, "{\"text\":\"ok \xEF\xBF\xBD end\"}");
}

struct Probe {
    std::int64_t count;
    double seconds;
};

} // namespace

namespace coding {
template <>
Probe read<Probe>(const ObjectReader& r)
{
    return Probe{r.integer("count"), r.seconds("seconds")};
}
} // namespace coding

namespace {

using coding::decodeDocument;

TEST(Documents, IntegerAndSecondsFieldsFollowTheirNumberRules)
{
    struct Case {
        const char* document;
        std::optional<std::int64_t> count; // none: the read must fail on `count`
    };
    const Case cases[] = {
        {R"({"count": 7, "seconds": 1})", 7},
        {R"({"count": 3.0, "seconds": 1})", 3},
        {R"({"count": -9223372036854775808, "seconds": 1})", std::numeric_limits<std::int64_t>::min()},
        {R"({"count": 9223372036854775807, "seconds": 1})", std::numeric_limits<std::int64_t>::max()},
        {R"({"count": 9223372036854775808, "seconds": 1})", std::nullopt},
        {R"({"count": 18446744073709551616, "seconds": 1})", std::nullopt},
        {R"({"count": -9223372036854775809, "seconds": 1})", std::nullopt},
        {R"({"count": 2.5, "seconds": 1})", std::nullopt},
        {R"({"count": "7", "seconds": 1})", std::nullopt},
        {R"({"count": true, "seconds": 1})", std::nullopt},
        {R"({"count": null, "seconds": 1})", std::nullopt},
        {R"({"seconds": 1})", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.document);
        const auto probe = decodeDocument<Probe>(c.document);
        if (c.count) {
            ASSERT_TRUE(probe) << probe.error().description();
            EXPECT_EQ(probe->count, *c.count);
        } else {
            ASSERT_FALSE(probe);
            EXPECT_EQ(probe.error().path, "count");
        }
    }
    EXPECT_DOUBLE_EQ(decodeDocument<Probe>(R"({"count": 1, "seconds": 59.6})")->seconds, 59.6);
    EXPECT_DOUBLE_EQ(decodeDocument<Probe>(R"({"count": 1, "seconds": 18446744073709551616})")->seconds, 1.8446744073709552e19);
    EXPECT_FALSE(decodeDocument<Probe>(R"({"count": 1, "seconds": "60"})"));
}

TEST(Documents, ErrorsNameTheKeyAndTheValue)
{
    const auto fraction = decodeDocument<Probe>(R"({"count": 2.5, "seconds": 1})");
    EXPECT_EQ(fraction.error().description(), "key \"count\": expected a whole number, found 2.5");
    const auto kind = decodeDocument<Probe>(R"({"count": 1, "seconds": "sixty"})");
    EXPECT_EQ(kind.error().description(), "key \"seconds\": expected a number of seconds, found text \"sixty\"");
    const auto missing = decodeDocument<Probe>(R"({"count": 1})");
    EXPECT_EQ(missing.error().description(), "key \"seconds\": is missing");
    const auto notObject = decodeDocument<Probe>("[1]");
    EXPECT_EQ(notObject.error().description(), "the document is not a JSON object: expected an object, found an array");
    const auto overflow = decodeDocument<Probe>(R"({"count": 1, "seconds": 1e999})");
    ASSERT_FALSE(overflow);
    EXPECT_NE(overflow.error().description().find("1e999"), std::string::npos);
}

TEST(Documents, MalformedBytesAreReportedNotCrashed)
{
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    const std::string deepInObject = "{\"count\":" + std::string(100000, '{');
    const std::pair<std::string, std::string> cases[] = {
        {"", "not valid JSON"},
        {R"({"count": 1, "sec)", "not valid JSON"},
        {"{\"count\": 1, \"seconds\": 1, \"name\": \"\xC3\x28\"}", "ill-formed UTF-8"},
        {"{\"count\": 1, \"seconds\": 1, \"name\": \"\xED\xA0\x80\"}", "ill-formed UTF-8"},
        {deep, "nested deeper than 256 levels"},
        {deepInObject, "nested deeper than 256 levels"},
    };
    for (const auto& [bytes, fragment] : cases) {
        SCOPED_TRACE(bytes.substr(0, 40));
        const auto probe = decodeDocument<Probe>(bytes);
        ASSERT_FALSE(probe);
        EXPECT_NE(probe.error().description().find(fragment), std::string::npos) << probe.error().description();
    }
    // Brackets inside text do not count as nesting.
    const std::string bracketText = R"({"count": 1, "seconds": 2, "note": ")" + std::string(1000, '[') + "\"}";
    EXPECT_TRUE(decodeDocument<Probe>(bracketText));
}

TEST(Documents, ErrorMessagesStayDisplayableForHostileValues)
{
    const std::string hostile = "{\"count\": \"\\u0001" + std::string(200, 'x') + "\", \"seconds\": 1}";
    const std::string description = decodeDocument<Probe>(hostile).error().description();
    EXPECT_NE(description.find("\\x01"), std::string::npos);
    EXPECT_LT(description.size(), 160u);
}

} // namespace
} // namespace quillmere
