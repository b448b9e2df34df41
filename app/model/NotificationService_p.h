// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusMessage>
#include <QString>

// Where the desktop's notification service answers on the session bus, for
// the centre that shows Quillmere's notifications and for do not disturb,
// which silences everyone else's.
namespace quillmere::notificationService {

inline const QString name = QStringLiteral("org.freedesktop.Notifications");
inline const QString path = QStringLiteral("/org/freedesktop/Notifications");
inline const QString interfaceName = QStringLiteral("org.freedesktop.Notifications");

inline QDBusMessage call(const QString& method)
{
    return QDBusMessage::createMethodCall(name, path, interfaceName, method);
}

} // namespace quillmere::notificationService
