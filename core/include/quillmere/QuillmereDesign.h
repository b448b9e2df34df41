// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "quillmere/Enumerations.h"
#include "quillmere/SourceText.h"
#include "quillmere/WidgetSnapshot.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillmere {

// How the widget arranges its content at one size.
enum class QuillmereWidgetLayout {
    // Phase, countdown, outcome and block progress.
    compact,
    // Timer column and plan column side by side.
    split,
    // The full plan, the ratings and the question list.
    detailed,
};

// The widget sizes the host offers, smallest first.
enum class QuillmereWidgetFamily { small, medium, large, extraLarge };

template <>
inline constexpr std::array allCases<QuillmereWidgetLayout>{
    QuillmereWidgetLayout::compact,
    QuillmereWidgetLayout::split,
    QuillmereWidgetLayout::detailed,
};

template <>
inline constexpr std::array allCases<QuillmereWidgetFamily>{
    QuillmereWidgetFamily::small,
    QuillmereWidgetFamily::medium,
    QuillmereWidgetFamily::large,
    QuillmereWidgetFamily::extraLarge,
};

std::string_view rawText(QuillmereWidgetLayout value);
std::string_view rawText(QuillmereWidgetFamily value);

bool showsFullPlan(QuillmereWidgetLayout layout);

// The family's area in units of the small widget.
int relativeArea(QuillmereWidgetFamily family);
QuillmereWidgetLayout layout(QuillmereWidgetFamily family);
bool prefersTwoColumns(QuillmereWidgetFamily family);

// The families the widget registers with the host.
inline constexpr std::array supportedWidgetFamilies = allCases<QuillmereWidgetFamily>;
inline constexpr QuillmereWidgetFamily largestWidgetFamily = QuillmereWidgetFamily::extraLarge;

// The presentation choices the application and the widget share, so that
// both describe a phase and a time the same way.
namespace QuillmereDesign {

// The colour role of a phase; each side maps it to its own palette.
enum class Accent { focus, rest, plan, review, neutral };

std::string_view rawText(Accent value);

Accent accent(WidgetPhase phase);

// Layout distances in points.
namespace Spacing {
inline constexpr double none = 0;
inline constexpr double tight = 4;
inline constexpr double snug = 8;
inline constexpr double regular = 12;
inline constexpr double loose = 16;
inline constexpr double section = 24;
} // namespace Spacing

// Corner radii in points.
namespace Radius {
inline constexpr double control = 8;
inline constexpr double card = 12;
} // namespace Radius

// "MM:SS" with at least two minute digits and no cap ("125:00"); a negative
// value (a timer run past zero) is shown as its magnitude after a "+".
std::string timeText(std::int64_t remainingSeconds);

// The one-line status of a snapshot, e.g. "Session 3 of 8": in English, and
// to translate where it is shown.
std::string caption(const WidgetSnapshot& snapshot);
Phrase captionSource(const WidgetSnapshot& snapshot);

} // namespace QuillmereDesign

template <>
inline constexpr std::array allCases<QuillmereDesign::Accent>{
    QuillmereDesign::Accent::focus,  QuillmereDesign::Accent::rest,    QuillmereDesign::Accent::plan,
    QuillmereDesign::Accent::review, QuillmereDesign::Accent::neutral,
};

} // namespace quillmere
