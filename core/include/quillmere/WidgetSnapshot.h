// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Enumerations.h"
#include "quillmere/Instant.h"
#include "quillmere/JsonCoding.h"
#include "quillmere/QuillmereState.h"
#include "quillmere/SourceText.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmere {

// The coarse phase the widget (and the application's status line) shows:
// the two planning and the two review phases each fold into one.
enum class WidgetPhase { idle, planning, focusing, reviewing, breaking, complete };

// The screen a tap on the widget opens. The raw text doubles as the path of
// the route's URL.
enum class WidgetRoute { idle, blockPlanning, sessionPlanning, focus, sessionReview, breakTime, blockReview };

template <>
inline constexpr std::array allCases<WidgetPhase>{
    WidgetPhase::idle,      WidgetPhase::planning, WidgetPhase::focusing,
    WidgetPhase::reviewing, WidgetPhase::breaking, WidgetPhase::complete,
};

template <>
inline constexpr std::array allCases<WidgetRoute>{
    WidgetRoute::idle,          WidgetRoute::blockPlanning, WidgetRoute::sessionPlanning, WidgetRoute::focus,
    WidgetRoute::sessionReview, WidgetRoute::breakTime,     WidgetRoute::blockReview,
};

std::string_view rawText(WidgetPhase value);
std::string_view rawText(WidgetRoute value);

// The label shown beside the phase icon, e.g. "Focus": in English, and to
// translate where it is shown.
std::string_view title(WidgetPhase phase);
SourceText titleSource(WidgetPhase phase);
// The icon's name in the symbol vocabulary shared by the widget and the app.
std::string_view symbolName(WidgetPhase phase);
WidgetPhase widgetPhase(WorkflowState state);

WidgetRoute routeFor(WorkflowState state);
// For a stored snapshot that carries only a phase: both review phases open the
// session review, both planning phases the session plan.
WidgetRoute routeFor(WidgetPhase phase);

// "quillmere://open/<route text>".
std::string url(WidgetRoute route);

// The route a URL names. Scheme and host are compared without regard to
// case, the path is stripped of its leading and trailing slashes and
// lower-cased, and an empty path means `idle`. Anything else yields none.
std::optional<WidgetRoute> routeFromUrl(std::string_view url);

// A running or paused timer in absolute instants, so that the widget can
// count down on its own between publications.
struct WidgetCountdown {
    Instant endsAt;
    // Shifted forward by the pauses already taken, so that endsAt - startedAt
    // is the timer's full length.
    Instant startedAt;
    bool isPaused = false;
    // What a paused widget shows in place of a live count.
    std::int64_t frozenRemainingSeconds = 0;

    friend bool operator==(const WidgetCountdown&, const WidgetCountdown&) = default;
};

// The self-contained summary of the work cycle that the widget process shows.
// It is all the widget ever sees of the state.
struct WidgetSnapshot {
    static constexpr std::int64_t currentSchemaVersion = 1;
    static constexpr std::size_t maxOpenQuestions = 3;

    std::int64_t schemaVersion = currentSchemaVersion;
    WidgetPhase phase = WidgetPhase::idle;
    WidgetRoute route = WidgetRoute::idle;
    std::string intendedOutcome;
    std::string firstAction;
    std::int64_t sessionsStarted = 0;
    std::int64_t sessionsPlanned = 0;
    std::optional<std::int64_t> currentSessionNumber;
    std::optional<WidgetCountdown> countdown;
    std::optional<std::int64_t> energy;
    std::optional<std::int64_t> morale;
    std::int64_t openQuestionCount = 0;
    std::vector<std::string> openQuestions;
    Instant updatedAt;

    // What the widget should show for `state` at `at`. Never fails: missing
    // pieces of a damaged state give empty texts, zeros or absent fields.
    static WidgetSnapshot make(const QuillmereState& state, Instant at);
    // A fixed sample (a focus session with 17 of 25 minutes left) for the
    // widget host's gallery before any real data exists.
    static WidgetSnapshot placeholder(Instant now);
    // Idle, with nothing planned.
    static WidgetSnapshot empty(Instant now);

    // Sessions started over sessions planned, within 0...1; 0 without a plan.
    double blockProgress() const;
    // How far the countdown has run at `at`, within 0...1; none without a
    // countdown or for one whose length is not positive. Paused countdowns
    // do not advance.
    std::optional<double> sessionProgress(Instant at) const;
    // Open questions counted but not listed; never negative.
    std::int64_t hiddenOpenQuestionCount() const;

    // Cuts every text to TextLimits::widgetCharacters and the list to
    // `maxOpenQuestions`, as `make` does: for a snapshot read from a file
    // that something else wrote, whose texts could cost the widget's process
    // seconds and megabytes to lay out.
    void cutTexts();

    friend bool operator==(const WidgetSnapshot&, const WidgetSnapshot&) = default;
};

// Trees in the records' camel-case keys; optional fields are left out when
// absent.
nlohmann::json toJson(const WidgetCountdown& value);
nlohmann::json toJson(const WidgetSnapshot& value);

namespace coding {
template <> WidgetCountdown read<WidgetCountdown>(const ObjectReader& reader);
template <> WidgetSnapshot read<WidgetSnapshot>(const ObjectReader& reader);
} // namespace coding

// Reads a snapshot document. A missing route is derived from the phase and
// missing open questions read as none; the schema version is returned as
// found, for the caller to judge.
[[nodiscard]] std::expected<WidgetSnapshot, CodingError> decodeWidgetSnapshot(std::string_view bytes);

} // namespace quillmere
