// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WidgetHostInterface.h"

#include <QPluginLoader>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace quillmere::widgethost {

// The widget kinds of every plug-in in one folder. The plug-ins stay loaded
// for the catalogue's lifetime; views they made must be gone before it is.
class PluginCatalogue {
public:
    explicit PluginCatalogue(const QString& directory);
    ~PluginCatalogue();

    PluginCatalogue(const PluginCatalogue&) = delete;
    PluginCatalogue& operator=(const PluginCatalogue&) = delete;

    const std::vector<std::shared_ptr<const WidgetKind>>& kinds() const { return kinds_; }
    // The kind registered under `kind`, or null.
    std::shared_ptr<const WidgetKind> kind(const QString& kind) const;
    // One line per file that could not be loaded, for stderr.
    const QStringList& problems() const { return problems_; }

    // The install's plug-in folder, found from the program's own folder so
    // that an install under any prefix works; the build tree's "plugins"
    // folder beside the program otherwise.
    static QString defaultDirectory();

private:
    std::vector<std::unique_ptr<QPluginLoader>> loaders_;
    std::vector<std::shared_ptr<const WidgetKind>> kinds_;
    QStringList problems_;
};

} // namespace quillmere::widgethost
