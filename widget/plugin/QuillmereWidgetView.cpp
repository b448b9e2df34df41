// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuillmereWidgetView.h"

#include "QuillmereTimelineProvider.h"
#include "QuillmereWidgetLink.h"
#include "WidgetFamilyViews.h"

#include "Look.h"
#include "LocalText.h"

#include <QCoreApplication>

#include <QVBoxLayout>

namespace quillmere {

QColor QuillmereWidgetPalette::background(const QPalette& palette)
{
    return palette.color(QPalette::Window);
}

QColor QuillmereWidgetPalette::phaseColour(WidgetPhase phase, const QPalette& palette)
{
    return look::phaseColour(phase, palette);
}

namespace {

widgetparts::SnapshotView* makeSnapshotView(const WidgetSnapshot& snapshot, QuillmereWidgetFamily family,
                                            Instant displayTime, QWidget* parent)
{
    switch (family) {
    case QuillmereWidgetFamily::small:
        return new widgetparts::SmallWidgetView(snapshot, displayTime, parent);
    case QuillmereWidgetFamily::medium:
        return new widgetparts::MediumWidgetView(snapshot, displayTime, parent);
    case QuillmereWidgetFamily::large:
        return new widgetparts::DetailedWidgetView(snapshot, false, displayTime, parent);
    case QuillmereWidgetFamily::extraLarge:
        return new widgetparts::DetailedWidgetView(snapshot, true, displayTime, parent);
    }
    return new widgetparts::MediumWidgetView(snapshot, displayTime, parent);
}

} // namespace

QuillmereWidgetView::QuillmereWidgetView(QuillmereEntry entry, QuillmereWidgetFamily family, QWidget* parent)
    : ContentView(parent), entry_(std::move(entry))
{
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    const int margin = static_cast<int>(QuillmereDesign::Spacing::loose);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(0);

    if (const WidgetSnapshot* snapshot = entry_.readState.snapshot()) {
        tapUrl_ = QUrl(QString::fromStdString(url(snapshot->route)));
        // One element for assistive technologies: the label reads the whole
        // snapshot, so the parts need not be visited one by one.
        setAccessibleName(QuillmereWidgetLink::accessibilityLabel(*snapshot));
        // Until the host sets a display time, the entry's own date is shown.
        snapshotView_ = makeSnapshotView(*snapshot, family, entry_.date, this);
        layout->addWidget(snapshotView_);
        return;
    }

    tapUrl_ = QUrl(QString::fromStdString(QuillmereWidgetLink::fallback()));
    widgetparts::WidgetMessageView* message = nullptr;
    if (const auto* unavailable = std::get_if<WidgetReadState::Unavailable>(&entry_.readState.value)) {
        // The provider's messages are marked for translation in its context.
        const SourceText reason{QuillmereTimelineProvider::messageContext, unavailable->message.c_str()};
        message = new widgetparts::WidgetMessageView(
            "exclamationmark.triangle",
            QCoreApplication::translate("quillmere::QuillmereWidgetView", "Quillmere unavailable"), translated(reason),
            this);
    } else {
        message = new widgetparts::WidgetMessageView(
            "arrow.down.app", QCoreApplication::translate("quillmere::QuillmereWidgetView", "Open Quillmere"),
            QCoreApplication::translate("quillmere::QuillmereWidgetView",
                                        "The widget shows your block once the app has run."),
            this);
    }
    setAccessibleName(message->accessibleName());
    layout->addWidget(message);
}

QuillmereWidgetView::~QuillmereWidgetView() = default;

void QuillmereWidgetView::setDisplayTime(widgethost::TimePoint displayTime)
{
    if (snapshotView_) {
        snapshotView_->setDisplayTime(displayTime);
    }
}

QUrl QuillmereWidgetView::tapUrl() const
{
    return tapUrl_;
}

} // namespace quillmere
