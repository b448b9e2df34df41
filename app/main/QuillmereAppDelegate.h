// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstddef>

namespace quillmere {

class AppModel;

// Receives what the desktop asks of the running application: links to open
// (a click on the widget, a quillmere:// URL on the command line or through
// D-Bus) and re-opening (a second launch, the launcher icon). Until the model
// is attached, links wait in `pendingURLs`; attaching handles them in order.
// Links are untrusted input: they are only parsed as routes, never executed.
// Main thread only.
class QuillmereAppDelegate : public QObject {
    Q_OBJECT

public:
    // Links that arrive before start-up has finished beyond this many are
    // dropped: a burst of clicks must not pile up work for the first second.
    static constexpr std::size_t maximumPendingURLs = 8;

    explicit QuillmereAppDelegate(QObject* parent = nullptr);

    // Called once, after start-up; handles the waiting links.
    void attach(AppModel& model);
    // Each link that names a route selects the work-cycle tab and brings the
    // main window forward; anything else is ignored.
    void open(const QStringList& urls);
    // The user launched the application again: shows the main window once a
    // model is attached. Always answers true.
    bool reopen();

    const QStringList& pendingURLs() const { return pendingURLs_; }
    AppModel* model() const { return model_; }

signals:
    // Asked through D-Bus to quit (the "quit" action).
    void quitRequested();

private:
    QStringList pendingURLs_;
    AppModel* model_ = nullptr;
};

} // namespace quillmere
