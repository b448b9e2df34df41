// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Instant.h"
#include "quillmere/WidgetSnapshot.h"

#include <string>
#include <variant>
#include <vector>

namespace quillmere {

// What the widget can show after reading the shared snapshot: the snapshot
// itself, a reason it cannot, or that the application has not run yet.
struct WidgetReadState {
    struct Ready {
        WidgetSnapshot snapshot;
        friend bool operator==(const Ready&, const Ready&) = default;
    };
    struct Unavailable {
        std::string message;
        friend bool operator==(const Unavailable&, const Unavailable&) = default;
    };
    struct WaitingForApp {
        friend bool operator==(const WaitingForApp&, const WaitingForApp&) = default;
    };

    std::variant<Ready, Unavailable, WaitingForApp> value;

    static WidgetReadState ready(WidgetSnapshot snapshot) { return {Ready{std::move(snapshot)}}; }
    static WidgetReadState unavailable(std::string message) { return {Unavailable{std::move(message)}}; }
    static WidgetReadState waitingForApp() { return {WaitingForApp{}}; }

    // The snapshot when ready, else null.
    const WidgetSnapshot* snapshot() const
    {
        const auto* ready = std::get_if<Ready>(&value);
        return ready ? &ready->snapshot : nullptr;
    }

    friend bool operator==(const WidgetReadState&, const WidgetReadState&) = default;
};

// One dated entry handed to the widget host.
struct QuillmereEntry {
    Instant date;
    WidgetReadState readState;
    friend bool operator==(const QuillmereEntry&, const QuillmereEntry&) = default;
};

// Entries in date order and the instant after which the host asks again.
struct QuillmereTimeline {
    std::vector<QuillmereEntry> entries;
    Instant reloadAfter;
    friend bool operator==(const QuillmereTimeline&, const QuillmereTimeline&) = default;
};

} // namespace quillmere
