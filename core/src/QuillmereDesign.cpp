// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillmere/QuillmereDesign.h"

namespace quillmere {

std::string_view rawText(QuillmereWidgetLayout value)
{
    switch (value) {
    case QuillmereWidgetLayout::compact: return "compact";
    case QuillmereWidgetLayout::split: return "split";
    case QuillmereWidgetLayout::detailed: return "detailed";
    }
    return {};
}

std::string_view rawText(QuillmereWidgetFamily value)
{
    switch (value) {
    case QuillmereWidgetFamily::small: return "small";
    case QuillmereWidgetFamily::medium: return "medium";
    case QuillmereWidgetFamily::large: return "large";
    case QuillmereWidgetFamily::extraLarge: return "extraLarge";
    }
    return {};
}

bool showsFullPlan(QuillmereWidgetLayout layout)
{
    switch (layout) {
    case QuillmereWidgetLayout::compact:
    case QuillmereWidgetLayout::split: return false;
    case QuillmereWidgetLayout::detailed: return true;
    }
    return false;
}

int relativeArea(QuillmereWidgetFamily family)
{
    switch (family) {
    case QuillmereWidgetFamily::small: return 1;
    case QuillmereWidgetFamily::medium: return 2;
    case QuillmereWidgetFamily::large: return 4;
    case QuillmereWidgetFamily::extraLarge: return 8;
    }
    return 1;
}

QuillmereWidgetLayout layout(QuillmereWidgetFamily family)
{
    switch (family) {
    case QuillmereWidgetFamily::small: return QuillmereWidgetLayout::compact;
    case QuillmereWidgetFamily::medium: return QuillmereWidgetLayout::split;
    case QuillmereWidgetFamily::large:
    case QuillmereWidgetFamily::extraLarge: return QuillmereWidgetLayout::detailed;
    }
    return QuillmereWidgetLayout::compact;
}

bool prefersTwoColumns(QuillmereWidgetFamily family)
{
    switch (family) {
    case QuillmereWidgetFamily::small:
    case QuillmereWidgetFamily::medium:
    case QuillmereWidgetFamily::large: return false;
    case QuillmereWidgetFamily::extraLarge: return true;
    }
    return false;
}

namespace QuillmereDesign {

std::string_view rawText(Accent value)
{
    switch (value) {
    case Accent::focus: return "focus";
    case Accent::rest: return "rest";
    case Accent::plan: return "plan";
    case Accent::review: return "review";
    case Accent::neutral: return "neutral";
    }
    return {};
}

Accent accent(WidgetPhase phase)
{
    switch (phase) {
    case WidgetPhase::idle:
    case WidgetPhase::complete: return Accent::neutral;
    case WidgetPhase::planning: return Accent::plan;
    case WidgetPhase::focusing: return Accent::focus;
    case WidgetPhase::reviewing: return Accent::review;
    case WidgetPhase::breaking: return Accent::rest;
    }
    return Accent::neutral;
}

std::string timeText(std::int64_t remainingSeconds)
{
    // The magnitude in unsigned arithmetic: -INT64_MIN does not fit 64 signed bits.
    const std::uint64_t magnitude = remainingSeconds < 0 ? 0 - static_cast<std::uint64_t>(remainingSeconds)
                                                         : static_cast<std::uint64_t>(remainingSeconds);
    const std::uint64_t minutes = magnitude / 60;
    const std::uint64_t seconds = magnitude % 60;
    std::string text = remainingSeconds < 0 ? "+" : "";
    if (minutes < 10) {
        text += '0';
    }
    text += std::to_string(minutes);
    text += ':';
    text += static_cast<char>('0' + seconds / 10);
    text += static_cast<char>('0' + seconds % 10);
    return text;
}

Phrase captionSource(const WidgetSnapshot& snapshot)
{
    switch (snapshot.phase) {
    case WidgetPhase::idle: return {QUILLMERE_TEXT("quillmere::QuillmereDesign", "No active block"), {}};
    case WidgetPhase::planning: return {QUILLMERE_TEXT("quillmere::QuillmereDesign", "Plan the next session"), {}};
    case WidgetPhase::focusing:
        if (snapshot.currentSessionNumber && snapshot.sessionsPlanned >= 1) {
            return {QUILLMERE_TEXT("quillmere::QuillmereDesign", "Session %1 of %2"),
                    {*snapshot.currentSessionNumber, snapshot.sessionsPlanned}};
        }
        return {QUILLMERE_TEXT("quillmere::QuillmereDesign", "Focus in progress"), {}};
    // One text for both reviews: the widget does not tell them apart.
    case WidgetPhase::reviewing: return {QUILLMERE_TEXT("quillmere::QuillmereDesign", "Review this session"), {}};
    case WidgetPhase::breaking: return {QUILLMERE_TEXT("quillmere::QuillmereDesign", "Break"), {}};
    case WidgetPhase::complete: return {QUILLMERE_TEXT("quillmere::QuillmereDesign", "Block complete"), {}};
    }
    return {};
}

std::string caption(const WidgetSnapshot& snapshot)
{
    return captionSource(snapshot).english();
}

} // namespace QuillmereDesign
} // namespace quillmere
