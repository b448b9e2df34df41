// SPDX-License-Identifier: GPL-3.0-or-later
#include "PluginCatalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace quillmere::widgethost {

PluginCatalogue::PluginCatalogue(const QString& directory)
{
    const QDir folder(directory);
    if (!folder.exists()) {
        problems_ << QCoreApplication::translate("quillmere-widget-host", "%1: no such folder").arg(directory);
        return;
    }
    for (const QString& name : folder.entryList(QDir::Files | QDir::Readable, QDir::Name)) {
        const QString path = folder.absoluteFilePath(name);
        if (!QLibrary::isLibrary(path)) {
            continue;
        }
        auto loader = std::make_unique<QPluginLoader>(path);
        QObject* root = loader->instance();
        auto* bundle = qobject_cast<WidgetBundle*>(root);
        if (bundle == nullptr) {
            problems_ << QStringLiteral("%1: %2").arg(
                path, root == nullptr ? loader->errorString()
                                      : QCoreApplication::translate("quillmere-widget-host", "not a widget bundle"));
            continue;
        }
        for (auto& kind : bundle->widgets()) {
            if (kind) {
                kinds_.push_back(std::move(kind));
            }
        }
        loaders_.push_back(std::move(loader));
    }
}

PluginCatalogue::~PluginCatalogue()
{
    // The kinds' code lives in the plug-ins: release them first. The loaders
    // are not unloaded; Qt keeps the libraries until the process ends, which
    // is also when the catalogue goes.
    kinds_.clear();
}

std::shared_ptr<const WidgetKind> PluginCatalogue::kind(const QString& kind) const
{
    for (const auto& candidate : kinds_) {
        if (candidate->configuration().kind == kind) {
            return candidate;
        }
    }
    return nullptr;
}

QString PluginCatalogue::defaultDirectory()
{
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString installed = QDir::cleanPath(programFolder.filePath(QStringLiteral(QUILLMERE_WIDGET_PLUGIN_DIR_FROM_BIN)));
    if (QDir(installed).exists()) {
        return installed;
    }
    return programFolder.filePath(QStringLiteral("plugins"));
}

} // namespace quillmere::widgethost
