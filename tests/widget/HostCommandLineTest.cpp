// SPDX-License-Identifier: GPL-3.0-or-later
// The host's arguments: what each asks for, and the mistakes it refuses with
// a reason.

#include "HostCommandLine.h"

#include <gtest/gtest.h>

namespace quillmere::widgethost {
namespace {

using namespace std::chrono_literals;

HostOptions parse(const QStringList& arguments)
{
    auto options = parseHostCommandLine(arguments);
    EXPECT_TRUE(options.has_value()) << (options ? "" : options.error().toStdString());
    return options.value_or(HostOptions{});
}

TEST(HostCommandLine, ShowsAMediumWidgetWhenNoFamilyIsGivenAndEachFamilyInOrderOtherwise)
{
    EXPECT_EQ(parse({}).families, std::vector{Family::medium});
    const HostOptions options =
        parse({"--family", "extraLarge", "--family", "small", "--plugin-dir", "/p", "--palette", "dark", "--verbose"});
    EXPECT_EQ(options.families, (std::vector{Family::extraLarge, Family::small}));
    EXPECT_EQ(options.pluginDirectory, QStringLiteral("/p"));
    EXPECT_EQ(options.palette, PaletteChoice::dark);
    EXPECT_TRUE(options.verbose);
    EXPECT_FALSE(options.render);
}

TEST(HostCommandLine, RenderTakesAFamilyAnOutputAnInstantWithAZoneAndPreview)
{
    const HostOptions options =
        parse({"--render", "large", "--out", "w.png", "--at", "2026-03-02T11:00:00+01:00", "--preview"});
    ASSERT_TRUE(options.render);
    EXPECT_EQ(options.render->family, Family::large);
    EXPECT_EQ(options.render->outputFile, QStringLiteral("w.png"));
    EXPECT_EQ(options.render->at, TimePoint(std::chrono::seconds(1'772'445'600)));
    EXPECT_TRUE(options.render->preview);
    EXPECT_TRUE(options.families.empty());
}

TEST(HostCommandLine, RefusesWhatItCannotDoWithAReason)
{
    const struct {
        QStringList arguments;
        const char* reason;
    } cases[] = {
        {{"--family", "huge"}, "unknown family \"huge\""},
        {{"--family"}, "--family needs a value"},
        {{"--render", "small"}, "--render needs --out"},
        {{"--render", "small", "--out", "a.png", "--family", "small"}, "leave out --family"},
        {{"--render", "small", "--out", "a.png", "--at", "2026-03-02T10:00:00"}, "with a zone"},
        {{"--out", "a.png"}, "go with --render"},
        {{"--palette", "sepia"}, "unknown palette"},
        {{"--bogus"}, "unknown argument \"--bogus\""},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.arguments.join(' ').toStdString());
        const auto options = parseHostCommandLine(testCase.arguments);
        ASSERT_FALSE(options.has_value());
        EXPECT_TRUE(options.error().contains(QString::fromUtf8(testCase.reason))) << options.error().toStdString();
    }
}

} // namespace
} // namespace quillmere::widgethost
