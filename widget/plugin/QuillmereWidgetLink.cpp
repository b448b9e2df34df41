#include "QuillmereWidgetLink.h"

#include "quillmere/QuillmereDesign.h"

namespace quillmere::QuillmereWidgetLink {

std::string fallback()
{
    return url(WidgetRoute::idle);
}

std::string accessibilityLabel(const WidgetSnapshot& snapshot)
{
    std::string label = "Quillmere, ";
    label += title(snapshot.phase);
    if (snapshot.countdown) {
        const std::string time = QuillmereDesign::timeText(snapshot.countdown->frozenRemainingSeconds);
        label += snapshot.countdown->isPaused ? ", paused at " + time : ", " + time + " remaining";
    }
    label += ", ";
    label += QuillmereDesign::caption(snapshot);
    if (!snapshot.intendedOutcome.empty()) {
        label += ", Outcome: ";
        label += snapshot.intendedOutcome;
    }
    return label;
}

} // namespace quillmere::QuillmereWidgetLink
