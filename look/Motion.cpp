// SPDX-License-Identifier: GPL-3.0-or-later
#include "Motion.h"

#include <atomic>

namespace quillmere::look {

namespace {
std::atomic<bool> enabled{true};
} // namespace

bool animationsEnabled()
{
    return enabled.load(std::memory_order_relaxed);
}

void setAnimationsEnabled(bool value)
{
    enabled.store(value, std::memory_order_relaxed);
}

} // namespace quillmere::look
