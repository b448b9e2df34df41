// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QuillmereEntry.h"
#include "WidgetHostInterface.h"

#include "quillmere/QuillmereDesign.h"

#include <QColor>
#include <QPalette>

namespace quillmere {

namespace widgetparts {
class SnapshotView;
}

// The widget's colours, taken from the host's palette so that a dark desktop
// gets a dark widget.
namespace QuillmereWidgetPalette {
// The container background: the palette's standard window colour.
QColor background(const QPalette& palette);
// The phase's accent: secondary text for idle and complete, indigo while
// planning, the palette's highlight while focusing, orange in review, teal
// on a break; kept legible on the background.
QColor phaseColour(WidgetPhase phase, const QPalette& palette);
} // namespace QuillmereWidgetPalette

// The whole widget for one entry at one size: the small, medium or detailed
// layout of a snapshot, or a message when there is none to show.
class QuillmereWidgetView : public widgethost::ContentView {
public:
    QuillmereWidgetView(QuillmereEntry entry, QuillmereWidgetFamily family, QWidget* parent = nullptr);
    ~QuillmereWidgetView() override;

    void setDisplayTime(widgethost::TimePoint displayTime) override;
    QUrl tapUrl() const override;

    const QuillmereEntry& entry() const { return entry_; }

private:
    QuillmereEntry entry_;
    QUrl tapUrl_;
    // Null while a message is shown.
    widgetparts::SnapshotView* snapshotView_ = nullptr;
};

} // namespace quillmere
