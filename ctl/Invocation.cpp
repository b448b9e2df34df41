// SPDX-License-Identifier: GPL-3.0-or-later
#include "Invocation.h"

#include "ExitCode.h"

#include "quillmere/AgentQuestions.h"
#include "quillmere/TextLimits.h"

#include <QCoreApplication>

#include <cmath>

#ifndef QUILLMERE_VERSION
#define QUILLMERE_VERSION "0.0.0"
#endif

namespace quillmere {
namespace {

QString translated(const char* source)
{
    return QCoreApplication::translate("quillmerectl", source);
}

// The options a command may be given; a flag each, so that the table below
// says at a glance what goes with what.
enum OptionFlag : unsigned {
    jsonOption = 1U << 0U,
    watchOption = 1U << 1U,
    waitOption = 1U << 2U,
    asOption = 1U << 3U,
    timeoutOption = 1U << 4U,
    formatOption = 1U << 5U,
    sinceOption = 1U << 6U,
    untilOption = 1U << 7U,
    outputOption = 1U << 8U,
    forceOption = 1U << 9U,
};

constexpr unsigned exportOptions = formatOption | sinceOption | untilOption | outputOption | forceOption;

struct CommandEntry {
    const char* name;
    Invocation::Command command;
    unsigned options;
    bool takesText;
};

using Command = Invocation::Command;

constexpr CommandEntry commandTable[] = {
    {"help", Command::help, 0, false},
    {"status", Command::status, jsonOption | watchOption, false},
    {"ask", Command::ask, asOption | waitOption | timeoutOption, true},
    {"questions", Command::questions, jsonOption, false},
    {"wait-interruptible", Command::waitInterruptible, timeoutOption, false},
    {"pause", Command::pause, 0, false},
    {"resume", Command::resume, 0, false},
    {"end-focus", Command::endFocus, 0, false},
    {"extend-break", Command::extendBreak, 0, false},
    {"end-break", Command::endBreak, 0, false},
    {"skip-break", Command::skipBreak, 0, false},
    {"start", Command::start, 0, false},
    {"start-now", Command::startNow, 0, false},
    {"cancel-scheduled", Command::cancelScheduled, 0, false},
    {"show", Command::show, 0, false},
    {"mcp", Command::mcp, 0, false},
    {"export", Command::exportHistory, exportOptions, false},
};

const CommandEntry* findCommand(const QString& name)
{
    for (const CommandEntry& entry : commandTable) {
        if (name == QLatin1String(entry.name)) {
            return &entry;
        }
    }
    return nullptr;
}

struct OptionEntry {
    const char* name;
    OptionFlag flag;
    bool takesValue;
};

constexpr OptionEntry optionTable[] = {
    {"--json", jsonOption, false},   {"--watch", watchOption, false}, {"--wait", waitOption, false},
    {"--as", asOption, true},        {"--timeout", timeoutOption, true},
    {"--format", formatOption, true}, {"--since", sinceOption, true},  {"--until", untilOption, true},
    {"--output", outputOption, true}, {"--force", forceOption, false},
};

const OptionEntry* findOption(const QString& name)
{
    for (const OptionEntry& entry : optionTable) {
        if (name == QLatin1String(entry.name)) {
            return &entry;
        }
    }
    return nullptr;
}

std::unexpected<InvocationError> refusal(QString message, ExitCode code = ExitCode::usage)
{
    return std::unexpected(InvocationError{std::move(message), code});
}

[[nodiscard]] std::expected<std::chrono::milliseconds, InvocationError> parseTimeout(const QString& value)
{
    bool ok = false;
    const double seconds = value.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds < 0 ||
        seconds > static_cast<double>(Invocation::maximumTimeout.count())) {
        return refusal(translated("--timeout needs a number of seconds from 0 to %1, not '%2'")
                           .arg(Invocation::maximumTimeout.count())
                           .arg(value));
    }
    return std::chrono::milliseconds(std::llround(seconds * 1000.0));
}

[[nodiscard]] std::expected<ExportFormat, InvocationError> parseFormat(const QString& value)
{
    if (auto format = fromRawText<ExportFormat>(value.toStdString())) {
        return *format;
    }
    return refusal(translated("--format needs csv or json, not '%1'").arg(value));
}

// A calendar date written YYYY-MM-DD, and nothing else: a script that
// passes "yesterday" or 2026-02-30 must hear of it, not get another day.
[[nodiscard]] std::expected<std::chrono::local_days, InvocationError> parseDate(const QString& option,
                                                                               const QString& value)
{
    const auto refused = [&] {
        return refusal(translated("%1 needs a date in the form YYYY-MM-DD, not '%2'").arg(option, value),
                       ExitCode::notADate);
    };
    const QByteArray text = value.toLatin1();
    if (value.size() != 10 || text[4] != '-' || text[7] != '-') {
        return refused();
    }
    int parts[3] = {};
    const std::pair<int, int> fields[] = {{0, 4}, {5, 2}, {8, 2}};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        for (int at = fields[i].first; at < fields[i].first + fields[i].second; ++at) {
            if (text[at] < '0' || text[at] > '9') {
                return refused();
            }
            parts[i] = parts[i] * 10 + (text[at] - '0');
        }
    }
    const std::chrono::year_month_day date{std::chrono::year{parts[0]}, std::chrono::month{static_cast<unsigned>(parts[1])},
                                           std::chrono::day{static_cast<unsigned>(parts[2])}};
    if (!date.ok()) {
        return refused();
    }
    return std::chrono::local_days{date};
}

QString dateText(std::chrono::local_days day)
{
    const std::chrono::year_month_day date{day};
    return QStringLiteral("%1-%2-%3")
        .arg(static_cast<int>(date.year()), 4, 10, QLatin1Char('0'))
        .arg(static_cast<unsigned>(date.month()), 2, 10, QLatin1Char('0'))
        .arg(static_cast<unsigned>(date.day()), 2, 10, QLatin1Char('0'));
}

} // namespace

std::expected<Invocation, InvocationError> Invocation::parse(const QStringList& arguments)
{
    // --help and --version win wherever they are, as with most programs, so
    // that a half-typed line can still ask for help.
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--")) {
            break;
        }
        const bool help = argument == QLatin1String("--help") || argument == QLatin1String("-h");
        if (help || argument == QLatin1String("--version") || argument == QLatin1String("-v")) {
            Invocation early;
            early.command = help ? Command::help : Command::version;
            return early;
        }
    }

    const CommandEntry* entry = nullptr;
    Invocation invocation;
    unsigned given = 0;
    bool optionsEnded = false;
    bool textGiven = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            const qsizetype equals = argument.indexOf(QLatin1Char('='));
            const QString name = equals < 0 ? argument : argument.left(equals);
            const OptionEntry* option = findOption(name);
            if (option == nullptr) {
                return refusal(translated("unknown option %1").arg(name));
            }
            if (entry == nullptr) {
                return refusal(translated("%1 comes before any command; put it after the command").arg(name));
            }
            if ((entry->options & option->flag) == 0) {
                return refusal(
                    translated("%1 has no option %2").arg(QLatin1String(entry->name), QLatin1String(option->name)));
            }
            QString value;
            if (option->takesValue) {
                if (equals >= 0) {
                    value = argument.mid(equals + 1);
                } else if (i + 1 < arguments.size()) {
                    value = arguments[++i];
                } else {
                    return refusal(translated("%1 needs a value").arg(name));
                }
            } else if (equals >= 0) {
                return refusal(translated("%1 takes no value").arg(name));
            }
            given |= option->flag;
            switch (option->flag) {
            case jsonOption: invocation.json = true; break;
            case watchOption: invocation.watch = true; break;
            case waitOption: invocation.wait = true; break;
            case asOption: invocation.asker = value; break;
            case timeoutOption: {
                auto timeout = parseTimeout(value);
                if (!timeout) {
                    return std::unexpected(timeout.error());
                }
                invocation.timeout = *timeout;
                break;
            }
            case formatOption: {
                auto format = parseFormat(value);
                if (!format) {
                    return std::unexpected(format.error());
                }
                invocation.exportFormat = *format;
                break;
            }
            case sinceOption:
            case untilOption: {
                auto day = parseDate(name, value);
                if (!day) {
                    return std::unexpected(day.error());
                }
                (option->flag == sinceOption ? invocation.exportRange.since : invocation.exportRange.until) = *day;
                break;
            }
            case outputOption: invocation.output = value; break;
            case forceOption: invocation.force = true; break;
            }
            continue;
        }
        if (entry == nullptr) {
            entry = findCommand(argument);
            if (entry == nullptr) {
                return refusal(translated("unknown command '%1'").arg(argument));
            }
            invocation.command = entry->command;
            continue;
        }
        if (!entry->takesText) {
            return refusal(translated("%1 takes no arguments, but was given '%2'")
                               .arg(QLatin1String(entry->name), argument));
        }
        if (textGiven) {
            return refusal(
                translated("%1 takes the question as one argument; put it in quotes").arg(QLatin1String(entry->name)));
        }
        invocation.text = argument;
        textGiven = true;
    }

    if (entry == nullptr) {
        return refusal(translated("no command given"));
    }
    if (entry->takesText && !textGiven) {
        return refusal(translated("%1 needs the question's text").arg(QLatin1String(entry->name)));
    }
    // A timeout without a wait would be silently ignored, which hides the
    // mistake of a script that meant to wait.
    if ((given & timeoutOption) != 0 && (entry->options & waitOption) != 0 && !invocation.wait) {
        return refusal(translated("--timeout needs --wait"));
    }
    // Neither format is the obvious one: a spreadsheet wants CSV, a script
    // JSON.
    if ((entry->options & formatOption) != 0 && (given & formatOption) == 0) {
        return refusal(translated("%1 needs --format csv or --format json").arg(QLatin1String(entry->name)));
    }
    if ((given & forceOption) != 0 && (given & outputOption) == 0) {
        return refusal(translated("--force needs --output"));
    }
    const ExportRange& range = invocation.exportRange;
    if (range.since && range.until && *range.since > *range.until) {
        return refusal(translated("--since %1 is after --until %2").arg(dateText(*range.since), dateText(*range.until)),
                       ExitCode::reversedRange);
    }
    return invocation;
}

std::string Invocation::helpText()
{
    static_assert(static_cast<int>(ExitCode::outputExists) == 8, "the help text names the exit codes");
    return translated(
               "Usage: quillmerectl COMMAND [OPTION]...\n"
               "Ask the running Quillmere how the work goes, ask the user a question, or run the\n"
               "commands of its status panel, from a terminal, a script or a coding agent.\n"
               "\n"
               "Commands:\n"
               "  status [--json] [--watch]\n"
               "      One line: the phase, the time left, the session and the open questions.\n"
               "      --json prints the agent document (agent-state.json) instead. --watch\n"
               "      prints a line at every change of phase or of the open questions, until\n"
               "      interrupted; with --json, one compact document a line. When Quillmere is\n"
               "      not running, the state it last saved is shown, with its age; with none\n"
               "      saved either, the exit status is 3.\n"
               "  ask TEXT [--as NAME] [--wait [--timeout SECONDS]]\n"
               "      Puts a question to the user and prints its id. --as names the asker (at\n"
               "      most %2 characters); --wait then waits for the answer and prints it.\n"
               "      When Quillmere is not running, the question is saved in its state folder\n"
               "      and shown when it next starts; --wait then waits for it to start and\n"
               "      for the answer. At most %1 characters, no control characters but\n"
               "      newline and tab, at most %3 open questions from one asker.\n"
               "  questions [--json]\n"
               "      The open questions: id, age, asker and text. --json prints them as the\n"
               "      JSON array of the agent document.\n"
               "  wait-interruptible [--timeout SECONDS]\n"
               "      Returns as soon as the user may be interrupted: any time but while a\n"
               "      focus session runs.\n"
               "  pause, resume             pause or resume the running focus session\n"
               "  end-focus                 end the focus session now and go to its review\n"
               "  extend-break              make the running break longer\n"
               "  end-break, skip-break     end the running break, or skip it\n"
               "  start                     start focus with the plan saved for the next session\n"
               "  start-now                 start the scheduled block now\n"
               "  cancel-scheduled          cancel the scheduled block\n"
               "  show                      show Quillmere's window\n"
               "  mcp                       serve the Model Context Protocol on standard input\n"
               "                            and output, for coding agents: register\n"
               "                            \"quillmerectl mcp\" as a stdio server\n"
               "  export --format csv|json [--since DATE] [--until DATE]\n"
               "         [--output FILE [--force]]\n"
               "      Writes the history and the current block from the saved state, whether or\n"
               "      not Quillmere runs: CSV, one row per focus session (RFC 4180, UTF-8, CRLF\n"
               "      line ends, times with the local offset, minutes with up to two decimals),\n"
               "      or JSON, the blocks as state.json holds them. DATE is a local day,\n"
               "      YYYY-MM-DD: a session counts on the day it started, a block on the days\n"
               "      of its sessions and of its completion. To standard output, or to FILE,\n"
               "      which is written whole or not at all and never replaced without --force.\n"
               "  help                      show this help\n"
               "\n"
               "Options:\n"
               "  --json               print JSON for programs instead of text for people\n"
               "  --watch              keep printing at every change until interrupted\n"
               "  --as NAME            the name of the program that asks\n"
               "  --wait               wait for the answer\n"
               "  --timeout SECONDS    give up waiting after SECONDS (a fraction is allowed;\n"
               "                       0 looks once)\n"
               "  --format csv|json    what export writes\n"
               "  --since DATE         export from this local day on (YYYY-MM-DD)\n"
               "  --until DATE         export up to this local day, included (YYYY-MM-DD)\n"
               "  --output FILE        export to FILE instead of standard output\n"
               "  --force              replace FILE if it exists\n"
               "  -h, --help           show this help and exit\n"
               "  -v, --version        show the version and exit\n"
               "  --                   end of options: a question may then start with '-'\n"
               "\n"
               "Exit status:\n"
               "  0  done\n"
               "  1  refused: Quillmere gave the reason, printed on standard error\n"
               "  2  usage: unknown command or option, missing argument, bad number\n"
               "  3  Quillmere is not running (or cannot be reached) and the command needs it\n"
               "  4  timed out\n"
               "  5  export: --since or --until is not a date YYYY-MM-DD\n"
               "  6  export: --since is after --until\n"
               "  7  export: the output file could not be written (nothing was left behind)\n"
               "  8  export: the output file exists and --force was not given\n"
               "\n"
               "Files:\n"
               "  $XDG_DATA_HOME/Quillmere/ (default ~/.local/share/Quillmere/) holds state.json\n"
               "  and agent-state.json, read when Quillmere is not running; its .lock is held by\n"
               "  the one program that writes the folder.\n"
               "\n"
               "Environment:\n"
               "  DBUS_SESSION_BUS_ADDRESS  the session bus on which Quillmere is reached\n"
               "  XDG_DATA_HOME             where the state folder is\n"
               "\n"
               "See quillmerectl(1).\n")
        .arg(TextLimits::questionCharacters)
        .arg(AgentQuestions::maximumAskerCharacters)
        .arg(AgentQuestions::maximumOpenQuestionsPerAsker)
        .toStdString();
}

std::string Invocation::versionText()
{
    return std::string("quillmerectl ") + QUILLMERE_VERSION + "\nLicense: " QUILLMERE_LICENSE "\n";
}

} // namespace quillmere
