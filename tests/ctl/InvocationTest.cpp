// SPDX-License-Identifier: GPL-3.0-or-later
#include "Invocation.h"

#include <gtest/gtest.h>

namespace quillmere {
namespace {

using Command = Invocation::Command;
using namespace std::chrono_literals;

QStringList words(std::initializer_list<const char*> list)
{
    QStringList result;
    for (const char* word : list) {
        result << QString::fromUtf8(word);
    }
    return result;
}

TEST(Invocation, AcceptedLinesSayWhatTheyAsk)
{
    const struct {
        std::initializer_list<const char*> arguments;
        Command command;
        bool json = false;
        bool watch = false;
        bool wait = false;
        const char* text = "";
        const char* asker = "";
        std::optional<std::chrono::milliseconds> timeout = std::nullopt;
    } cases[] = {
        {{"status"}, Command::status},
        {{"status", "--watch", "--json"}, Command::status, true, true},
        {{"ask", "Which branch?", "--as", "release-bot"}, Command::ask, false, false, false, "Which branch?", "release-bot"},
        {{"ask", "--as=bot", "--wait", "--timeout=0.25", "Tag?"}, Command::ask, false, false, true, "Tag?", "bot", 250ms},
        // Everything after "--" is the question, even what looks like an option.
        {{"ask", "--", "--help me?"}, Command::ask, false, false, false, "--help me?"},
        {{"ask", "-"}, Command::ask, false, false, false, "-"},
        {{"wait-interruptible", "--timeout", "0"}, Command::waitInterruptible, false, false, false, "", "", 0ms},
        {{"wait-interruptible", "--timeout", "1.5"}, Command::waitInterruptible, false, false, false, "", "", 1500ms},
        {{"questions", "--json"}, Command::questions, true},
        {{"end-focus"}, Command::endFocus},
        {{"cancel-scheduled"}, Command::cancelScheduled},
        {{"help"}, Command::help},
        // Help wins wherever it is, even on a line with a mistake in it.
        {{"status", "--bogus", "--help"}, Command::help},
        {{"-v"}, Command::version},
    };
    for (const auto& c : cases) {
        const QStringList arguments = words(c.arguments);
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const auto invocation = Invocation::parse(arguments);
        ASSERT_TRUE(invocation.has_value()) << invocation.error().message.toStdString();
        EXPECT_EQ(invocation->command, c.command);
        EXPECT_EQ(invocation->json, c.json);
        EXPECT_EQ(invocation->watch, c.watch);
        EXPECT_EQ(invocation->wait, c.wait);
        EXPECT_EQ(invocation->text.toStdString(), c.text);
        EXPECT_EQ(invocation->asker.toStdString(), c.asker);
        EXPECT_EQ(invocation->timeout, c.timeout);
    }
}

TEST(Invocation, MistakesAreRefusedNamingTheMistake)
{
    const struct {
        std::initializer_list<const char*> arguments;
        const char* error;
    } cases[] = {
        {{}, "no command given"},
        {{"stauts"}, "unknown command 'stauts'"},
        {{"mcp", "--json"}, "mcp has no option --json"},
        {{"status", "--frobnicate"}, "unknown option --frobnicate"},
        {{"--json", "status"}, "--json comes before any command; put it after the command"},
        {{"pause", "--json"}, "pause has no option --json"},
        {{"status", "--wait"}, "status has no option --wait"},
        {{"pause", "now"}, "pause takes no arguments, but was given 'now'"},
        {{"ask"}, "ask needs the question's text"},
        {{"ask", "Which", "branch?"}, "ask takes the question as one argument; put it in quotes"},
        {{"ask", "Tag?", "--as"}, "--as needs a value"},
        {{"ask", "Tag?", "--timeout", "5"}, "--timeout needs --wait"},
        {{"status", "--json=yes"}, "--json takes no value"},
        {{"wait-interruptible", "--timeout", "soon"}, "--timeout needs a number of seconds from 0 to 2147483, not 'soon'"},
        {{"wait-interruptible", "--timeout", "-1"}, "--timeout needs a number of seconds from 0 to 2147483, not '-1'"},
        {{"wait-interruptible", "--timeout", "inf"}, "--timeout needs a number of seconds from 0 to 2147483, not 'inf'"},
        {{"wait-interruptible", "--timeout", "nan"}, "--timeout needs a number of seconds from 0 to 2147483, not 'nan'"},
        {{"wait-interruptible", "--timeout", "2147484"},
         "--timeout needs a number of seconds from 0 to 2147483, not '2147484'"},
    };
    for (const auto& c : cases) {
        const QStringList arguments = words(c.arguments);
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const auto invocation = Invocation::parse(arguments);
        ASSERT_FALSE(invocation.has_value());
        EXPECT_EQ(invocation.error().message.toStdString(), c.error);
        EXPECT_EQ(invocation.error().code, ExitCode::usage);
    }
}

TEST(Invocation, ExportTakesAFormatRealCalendarDatesAndAnOrderedRange)
{
    using std::chrono::local_days;
    using namespace std::chrono;
    const struct {
        std::initializer_list<const char*> arguments;
        ExitCode code;
        const char* error = "";
        ExportFormat format = ExportFormat::csv;
        ExportRange range = {};
        const char* output = "";
        bool force = false;
    } cases[] = {
        {{"export", "--format", "json"}, ExitCode::done, "", ExportFormat::json},
        {{"export", "--format=csv", "--since", "2026-02-28", "--until=2026-03-01", "--output", "out.csv", "--force"},
         ExitCode::done,
         "",
         ExportFormat::csv,
         {local_days{2026y / February / 28}, local_days{2026y / March / 1}},
         "out.csv",
         true},
        {{"export", "--format", "csv", "--since", "2024-02-29", "--until", "2024-02-29"},
         ExitCode::done,
         "",
         ExportFormat::csv,
         {local_days{2024y / February / 29}, local_days{2024y / February / 29}}},
        {{"export"}, ExitCode::usage, "export needs --format csv or --format json"},
        {{"export", "--format", "xml"}, ExitCode::usage, "--format needs csv or json, not 'xml'"},
        {{"export", "--format", "CSV"}, ExitCode::usage, "--format needs csv or json, not 'CSV'"},
        {{"export", "--format", "csv", "--force"}, ExitCode::usage, "--force needs --output"},
        {{"status", "--since", "2026-03-01"}, ExitCode::usage, "status has no option --since"},
        {{"export", "--format", "csv", "--since", "2026-02-30"},
         ExitCode::notADate,
         "--since needs a date in the form YYYY-MM-DD, not '2026-02-30'"},
        {{"export", "--format", "csv", "--until", "yesterday"},
         ExitCode::notADate,
         "--until needs a date in the form YYYY-MM-DD, not 'yesterday'"},
        {{"export", "--format", "csv", "--since", "2025-02-29"},
         ExitCode::notADate,
         "--since needs a date in the form YYYY-MM-DD, not '2025-02-29'"},
        {{"export", "--format", "csv", "--since", "2026-3-1"},
         ExitCode::notADate,
         "--since needs a date in the form YYYY-MM-DD, not '2026-3-1'"},
        {{"export", "--format", "csv", "--since", "2026-03-01T00:00"},
         ExitCode::notADate,
         "--since needs a date in the form YYYY-MM-DD, not '2026-03-01T00:00'"},
        {{"export", "--format", "csv", "--since", "+026-03-01"},
         ExitCode::notADate,
         "--since needs a date in the form YYYY-MM-DD, not '+026-03-01'"},
        {{"export", "--format", "csv", "--since", "2026-03-02", "--until", "2026-03-01"},
         ExitCode::reversedRange,
         "--since 2026-03-02 is after --until 2026-03-01"},
    };
    for (const auto& c : cases) {
        const QStringList arguments = words(c.arguments);
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const auto invocation = Invocation::parse(arguments);
        if (c.code != ExitCode::done) {
            ASSERT_FALSE(invocation.has_value());
            EXPECT_EQ(invocation.error().message.toStdString(), c.error);
            EXPECT_EQ(invocation.error().code, c.code);
            continue;
        }
        ASSERT_TRUE(invocation.has_value()) << invocation.error().message.toStdString();
        EXPECT_EQ(invocation->command, Command::exportHistory);
        EXPECT_EQ(invocation->exportFormat, c.format);
        EXPECT_EQ(invocation->exportRange, c.range);
        EXPECT_EQ(invocation->output.toStdString(), c.output);
        EXPECT_EQ(invocation->force, c.force);
    }
}

} // namespace
} // namespace quillmere
