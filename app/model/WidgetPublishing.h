// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/WidgetSnapshot.h"

namespace quillmere {

// Hands widget snapshots to the desktop widget. Never fails towards the
// caller; problems go to the system log.
class WidgetPublishing {
public:
    virtual ~WidgetPublishing() = default;
    virtual void publish(const WidgetSnapshot& snapshot) = 0;
};

// Publishes nothing: for the hosted test mode.
class TestHostWidgetPublisher final : public WidgetPublishing {
public:
    void publish(const WidgetSnapshot&) override {}
};

} // namespace quillmere
