// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere {

// What `quillmere` was asked on its command line. Qt's own options
// (-platform, -display, ...) are taken out by QApplication before this sees
// the arguments.
struct CommandLine {
    Q_DECLARE_TR_FUNCTIONS(quillmere::CommandLine)

public:
    enum class Request { run, help, version };

    Request request = Request::run;
    // Every positional argument; only quillmere:// routes do anything.
    QStringList urls;

    // --help and --version, answered before any display is opened, so they
    // work on a console too. None when the arguments ask for a run.
    static std::optional<Request> earlyRequest(const std::vector<std::string_view>& arguments);

    // The arguments after the program name; an unknown option is an error
    // whose text says so.
    static std::optional<CommandLine> parse(const QStringList& arguments, QString* error);

    // In the language of the installed translations.
    static std::string helpText();
    static std::string versionText();
    // What follows an error on the command line.
    static std::string tryHelpText();
};

} // namespace quillmere
