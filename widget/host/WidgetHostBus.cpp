// SPDX-License-Identifier: GPL-3.0-or-later
#include "WidgetHostBus.h"

#include <QDBusConnectionInterface>

namespace quillmere::widgethost {

WidgetHostBus::WidgetHostBus(QObject* parent) : QObject(parent) {}

WidgetHostBus::~WidgetHostBus()
{
    if (connectionName_.isEmpty()) {
        return;
    }
    QDBusConnection connection(connectionName_);
    if (ownsName_) {
        connection.unregisterService(QLatin1String(serviceName));
    }
    connection.unregisterObject(QLatin1String(objectPath));
}

WidgetHostBus::Registration WidgetHostBus::registerOn(QDBusConnection connection)
{
    if (!connection.isConnected()) {
        return Registration::noBus;
    }
    if (!connection.registerObject(QLatin1String(objectPath), this, QDBusConnection::ExportAllSlots)) {
        return Registration::nameTaken;
    }
    connectionName_ = connection.name();
    // Without queueing: a second host is told at once that one is running.
    const auto reply = connection.interface()->registerService(
        QLatin1String(serviceName), QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        connection.unregisterObject(QLatin1String(objectPath));
        connectionName_.clear();
        return Registration::nameTaken;
    }
    ownsName_ = true;
    return Registration::served;
}

void WidgetHostBus::ReloadTimelines(const QString& kind)
{
    emit reloadRequested(kind);
}

} // namespace quillmere::widgethost
