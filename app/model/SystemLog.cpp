#include "SystemLog.h"

#include <string>
#include <syslog.h>

namespace quillmere {

void writeSystemLog(std::string_view line)
{
    static const bool opened = [] {
        ::openlog("quillmere", LOG_PID, LOG_USER);
        return true;
    }();
    (void)opened;
    const std::string text(line);
    ::syslog(LOG_USER | LOG_NOTICE, "%s", text.c_str());
}

} // namespace quillmere
