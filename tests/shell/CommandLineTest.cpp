// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using Request = CommandLine::Request;

TEST(CommandLine, HelpAndVersionAreAnsweredBeforeAnyDisplayIsNeeded)
{
    EXPECT_EQ(CommandLine::earlyRequest({"--help"}), Request::help);
    EXPECT_EQ(CommandLine::earlyRequest({"quillmere://open/focus", "-v"}), Request::version);
    EXPECT_EQ(CommandLine::earlyRequest({"quillmere://open/focus"}), std::nullopt);
    // After "--" everything is an argument, even "--help".
    EXPECT_EQ(CommandLine::earlyRequest({"--", "--help"}), std::nullopt);
}

TEST(CommandLine, PositionalArgumentsAreKeptAsLinksInOrder)
{
    QString error;
    const auto line = CommandLine::parse({QStringLiteral("quillmere://open/focus"), QStringLiteral("-"),
                                          QStringLiteral("--"), QStringLiteral("--not-an-option")},
                                         &error);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->request, Request::run);
    EXPECT_EQ(line->urls, (QStringList{QStringLiteral("quillmere://open/focus"), QStringLiteral("-"),
                                       QStringLiteral("--not-an-option")}));
}

TEST(CommandLine, UnknownOptionIsAnErrorNamingIt)
{
    QString error;
    EXPECT_FALSE(CommandLine::parse({QStringLiteral("--frobnicate")}, &error).has_value());
    EXPECT_EQ(error, QStringLiteral("unknown option --frobnicate"));
}

} // namespace
} // namespace quillmere
