// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

class QDBusError;

namespace quillmere {

// Diagnostics the user never sees: syslog(3), ident "quillmere", facility
// user. Every line starts with "Quillmere: " as given by the caller.
void writeSystemLog(std::string_view line);

// A bus error as the log says it: "name: message".
std::string logText(const QDBusError& error);

} // namespace quillmere
