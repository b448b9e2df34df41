// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ExitCode.h"

#include "quillmere/HistoryExport.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <expected>
#include <optional>
#include <string>

namespace quillmere {

// Why a command line was refused: one line for people, naming what was
// wrong, and the exit status that tells a script which mistake it was.
struct InvocationError {
    QString message;
    ExitCode code = ExitCode::usage;
};

// What `quillmerectl` was asked to do: one command and its options, checked
// against what that command accepts before anything is tried, so that a
// typing error never half-runs a command.
struct Invocation {
    enum class Command {
        help,
        version,
        status,
        ask,
        questions,
        waitInterruptible,
        pause,
        resume,
        endFocus,
        extendBreak,
        endBreak,
        skipBreak,
        start,
        startNow,
        cancelScheduled,
        show,
        mcp,
        exportHistory,
    };

    Command command = Command::help;
    bool json = false;
    bool watch = false;
    bool wait = false;
    // The question's text, for `ask`.
    QString text;
    // --as: empty for none.
    QString asker;
    // --timeout; none waits for as long as it takes.
    std::optional<std::chrono::milliseconds> timeout;
    // What `export` writes: --format, --since and --until.
    ExportFormat exportFormat = ExportFormat::csv;
    ExportRange exportRange;
    // --output: empty for standard output.
    QString output;
    // --force: an existing output file is replaced.
    bool force = false;

    // The longest --timeout: what one Qt timer can wait.
    static constexpr std::chrono::seconds maximumTimeout{2'147'483};

    // The arguments after the program name.
    [[nodiscard]] static std::expected<Invocation, InvocationError> parse(const QStringList& arguments);

    static std::string helpText();
    static std::string versionText();
};

} // namespace quillmere
