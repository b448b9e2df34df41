// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Puts the process in a named time zone for a scope, so that
// TimeZone::system() reads known rules, and restores the zone before.

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace quillmere::fixtures {

class ScopedLocalZone {
public:
    explicit ScopedLocalZone(const char* zone)
    {
        if (const char* previous = std::getenv("TZ")) {
            previous_ = previous;
        }
        setenv("TZ", zone, 1);
        tzset();
    }

    ~ScopedLocalZone()
    {
        if (previous_) {
            setenv("TZ", previous_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

    ScopedLocalZone(const ScopedLocalZone&) = delete;
    ScopedLocalZone& operator=(const ScopedLocalZone&) = delete;

private:
    std::optional<std::string> previous_;
};

} // namespace quillmere::fixtures
