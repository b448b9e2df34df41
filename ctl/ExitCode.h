// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quillmere {

// What quillmerectl's exit status tells a script. The numbers are part of
// its interface: scripts and agents branch on them, so they never change.
enum class ExitCode : int {
    // The command did what was asked.
    done = 0,
    // Quillmere, or the rules for questions, refused; the reason is on
    // standard error. Also any other failure that is not one of the below.
    refused = 1,
    // The command line was wrong: nothing was tried.
    usage = 2,
    // The command needs the running Quillmere, and it is not running.
    notRunning = 3,
    // The wait ended at --timeout before it was over.
    timedOut = 4,
    // export: --since or --until is not a calendar date YYYY-MM-DD.
    notADate = 5,
    // export: --since is after --until.
    reversedRange = 6,
    // export: the output file could not be written; nothing was left
    // behind.
    cannotWrite = 7,
    // export: the output file exists and --force was not given; it is
    // left as it was.
    outputExists = 8,
};

} // namespace quillmere
