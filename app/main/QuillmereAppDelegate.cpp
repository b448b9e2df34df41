// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuillmereAppDelegate.h"

#include "AppModel.h"
#include "SystemLog.h"

#include "quillmere/WidgetSnapshot.h"

namespace quillmere {

QuillmereAppDelegate::QuillmereAppDelegate(QObject* parent) : QObject(parent) {}

void QuillmereAppDelegate::attach(AppModel& model)
{
    model_ = &model;
    const QStringList waiting = std::exchange(pendingURLs_, {});
    open(waiting);
}

void QuillmereAppDelegate::open(const QStringList& urls)
{
    for (const QString& url : urls) {
        if (!routeFromUrl(url.toStdString())) {
            continue;
        }
        if (model_ == nullptr) {
            if (static_cast<std::size_t>(pendingURLs_.size()) < maximumPendingURLs) {
                pendingURLs_.append(url);
            } else {
                writeSystemLog("Quillmere: dropped a link that arrived before start-up finished (more than 8 were "
                               "waiting)");
            }
            continue;
        }
        // The route itself selects nothing more: the work-cycle tab always
        // shows the screen of the current phase.
        model_->setSelectedTab(MainWindowTab::workCycle);
        model_->showMainWindow();
    }
}

bool QuillmereAppDelegate::reopen()
{
    if (model_ != nullptr) {
        model_->showMainWindow();
    }
    return true;
}

} // namespace quillmere
