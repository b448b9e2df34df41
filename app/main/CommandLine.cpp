// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#ifndef QUILLMERE_VERSION
#define QUILLMERE_VERSION "0.0.0"
#endif

namespace quillmere {

std::optional<CommandLine::Request> CommandLine::earlyRequest(const std::vector<std::string_view>& arguments)
{
    for (const std::string_view argument : arguments) {
        if (argument == "--") {
            break;
        }
        if (argument == "--help" || argument == "-h") {
            return Request::help;
        }
        if (argument == "--version" || argument == "-v") {
            return Request::version;
        }
    }
    return std::nullopt;
}

std::optional<CommandLine> CommandLine::parse(const QStringList& arguments, QString* error)
{
    CommandLine line;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && (argument == QLatin1String("--help") || argument == QLatin1String("-h"))) {
            line.request = Request::help;
        } else if (!optionsEnded && (argument == QLatin1String("--version") || argument == QLatin1String("-v"))) {
            line.request = Request::version;
        } else if (!optionsEnded && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            if (error != nullptr) {
                *error = tr("unknown option %1").arg(argument);
            }
            return std::nullopt;
        } else {
            line.urls.append(argument);
        }
    }
    return line;
}

std::string CommandLine::helpText()
{
    // Line by line, so that the option names stay as typed and a blank line
    // is never a translator's to lose.
    const QStringList lines{
        tr("Usage: quillmere [OPTION]... [URL]..."),
        tr("Plan a block of focused work, run its focus sessions and breaks, and review them."),
        QString(),
        tr("Starts Quillmere, or brings the running one forward. A quillmere://open/<route>\n"
           "URL (as the desktop widget opens) shows the work cycle; other arguments are ignored.\n"
           "One Quillmere runs per session: a second launch hands over to the first and exits."),
        QString(),
        tr("Options:"),
        QStringLiteral("  -h, --help     ") + tr("show this help and exit"),
        QStringLiteral("  -v, --version  ") + tr("show the version and exit"),
        tr("Qt's own options (-platform, -display, -style, ...) are accepted as well."),
        QString(),
        tr("Files: $XDG_DATA_HOME/Quillmere/ (default ~/.local/share/Quillmere/) holds state.json\n"
           "and agent-state.json; the window's frame is kept in ~/.config/Quillmere/Quillmere.conf."),
    };
    const QString help = lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    return help.toStdString();
}

std::string CommandLine::versionText()
{
    return std::string("quillmere ") + QUILLMERE_VERSION + "\nLicense: " QUILLMERE_LICENSE "\n";
}

std::string CommandLine::tryHelpText()
{
    return tr("Try '%1 --help'.").arg(QStringLiteral("quillmere")).toStdString();
}

} // namespace quillmere
