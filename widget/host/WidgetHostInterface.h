// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The contract between quillmere-widget-host and the widget plug-ins it
// loads. A plug-in registers widget kinds; for each kind the host asks for a
// placeholder, a snapshot or a timeline of dated entries, and for a view of
// one entry at one size. Entries are opaque to the host: it only reads their
// dates and hands them back to the plug-in that made them.
//
// Header-only, so that the host and a plug-in need no common library beyond
// Qt. Both sides must be built against the same Qt.

#include <QColor>
#include <QPalette>
#include <QSize>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <QtPlugin>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace quillmere::widgethost {

using TimePoint = std::chrono::system_clock::time_point;

// The sizes the host offers, smallest first.
enum class Family { small, medium, large, extraLarge };

// The content size of each family in device-independent pixels: the small
// widget is a square, medium twice its width, large twice medium's height,
// extra large twice large's width.
inline QSize standardSize(Family family)
{
    switch (family) {
    case Family::small:
        return {170, 170};
    case Family::medium:
        return {364, 170};
    case Family::large:
        return {364, 382};
    case Family::extraLarge:
        return {752, 382};
    }
    return {364, 170};
}

// What the host tells a plug-in with every request.
struct Context {
    Family family = Family::medium;
    // The content size in device-independent pixels.
    QSize displaySize;
    // True while the host draws a sample (a gallery, a preview render): the
    // plug-in should not show the user's data.
    bool isPreview = false;
    // The host's idea of now; requests never read a clock of their own, so a
    // host can render any instant.
    TimePoint now;
};

// One thing to show from `date()` on.
class Entry {
public:
    virtual ~Entry() = default;
    virtual TimePoint date() const = 0;
};
using EntryPointer = std::shared_ptr<const Entry>;

// Entries in date order and when to ask for the next timeline.
struct Timeline {
    std::vector<EntryPointer> entries;
    TimePoint reloadAfter;
};

// What a plug-in draws for one entry. The host moves the display time every
// second; a view repaints only the parts that depend on it.
class ContentView : public QWidget {
public:
    using QWidget::QWidget;
    ~ContentView() override = default;
    virtual void setDisplayTime(TimePoint displayTime) = 0;
    // Opened when the user clicks the widget or presses Return on it; an
    // invalid URL opens nothing.
    virtual QUrl tapUrl() const = 0;
};

struct Configuration {
    QString kind;
    QString displayName;
    QString description;
    std::vector<Family> supportedFamilies;
    // The palette role the host fills the widget's window with.
    QPalette::ColorRole containerBackground = QPalette::Window;
};

// One kind of widget. The host calls every operation on its main thread;
// completions may be called at once or later, also on the main thread.
class WidgetKind {
public:
    virtual ~WidgetKind() = default;
    virtual Configuration configuration() const = 0;
    // Must answer at once, without reading files.
    virtual EntryPointer placeholder(const Context& context) const = 0;
    virtual void getSnapshot(const Context& context, std::function<void(EntryPointer)> completion) const = 0;
    virtual void getTimeline(const Context& context, std::function<void(Timeline)> completion) const = 0;
    // A view of an entry this kind made.
    virtual std::unique_ptr<ContentView> makeView(const Entry& entry, Family family, QWidget* parent) const = 0;
};

// The root object of a widget plug-in.
class WidgetBundle {
public:
    virtual ~WidgetBundle() = default;
    virtual std::vector<std::shared_ptr<const WidgetKind>> widgets() const = 0;
};

} // namespace quillmere::widgethost

#define QuillmereWidgetBundle_iid "org.quillmere.WidgetBundle/1"
Q_DECLARE_INTERFACE(quillmere::widgethost::WidgetBundle, QuillmereWidgetBundle_iid)
