// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace quillmere {

// Diagnostics the user never sees: syslog(3), ident "quillmere", facility
// user. Every line starts with "Quillmere: " as given by the caller.
void writeSystemLog(std::string_view line);

} // namespace quillmere
