// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemLog.h"

#include <QDBusError>

#include <cstdlib>
#include <string>
#include <syslog.h>

namespace quillmere {

void writeSystemLog(std::string_view line)
{
    static const bool opened = [] {
        // QUILLMERE_LOG_STDERR copies every line to standard error as well:
        // for a terminal, and for test machines that run no system logger.
        const char* copy = std::getenv("QUILLMERE_LOG_STDERR");
        ::openlog("quillmere", LOG_PID | (copy != nullptr && *copy != '\0' ? LOG_PERROR : 0), LOG_USER);
        return true;
    }();
    (void)opened;
    const std::string text(line);
    ::syslog(LOG_USER | LOG_NOTICE, "%s", text.c_str());
}

std::string logText(const QDBusError& error)
{
    return (error.name() + QStringLiteral(": ") + error.message()).toStdString();
}

} // namespace quillmere
