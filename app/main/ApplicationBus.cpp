// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationBus.h"

#include "QuillmereAppDelegate.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

namespace quillmere {
namespace {

// Keeps the launcher's permission to raise a window for the window that the
// call is about to show: Qt's Wayland integration reads XDG_ACTIVATION_TOKEN
// when a window asks to be activated.
void adoptActivationToken(const QVariantMap& platformData)
{
    const QString token = platformData.value(QStringLiteral("activation-token")).toString();
    if (!token.isEmpty()) {
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    }
}

} // namespace

namespace applicationBus {

Claim claim(QDBusConnection connection, QuillmereAppDelegate& delegate)
{
    if (!connection.isConnected() || connection.interface() == nullptr) {
        return Claim::unavailable;
    }
    // The adaptor is a child of the delegate and lives as long as it does.
    new ApplicationAdaptor(delegate);
    if (!connection.registerObject(QString::fromLatin1(objectPath), &delegate, QDBusConnection::ExportAdaptors)) {
        return Claim::unavailable;
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = connection.interface()->registerService(
        QString::fromLatin1(serviceName), QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid()) {
        connection.unregisterObject(QString::fromLatin1(objectPath));
        return Claim::unavailable;
    }
    if (reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        return Claim::owned;
    }
    connection.unregisterObject(QString::fromLatin1(objectPath));
    return Claim::ownedByAnother;
}

QVariantMap platformDataFromEnvironment()
{
    QVariantMap data;
    if (const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN"); !token.isEmpty()) {
        data.insert(QStringLiteral("activation-token"), QString::fromUtf8(token));
    }
    if (const QByteArray startup = qgetenv("DESKTOP_STARTUP_ID"); !startup.isEmpty()) {
        data.insert(QStringLiteral("desktop-startup-id"), QString::fromUtf8(startup));
    }
    return data;
}

bool handOver(QDBusConnection connection, const QStringList& urls, const QVariantMap& platformData,
              std::chrono::milliseconds timeout)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(serviceName), QString::fromLatin1(objectPath),
                                                       QString::fromLatin1(interfaceName),
                                                       urls.isEmpty() ? QStringLiteral("Activate")
                                                                      : QStringLiteral("Open"));
    // Hand over to a running instance only; never have the bus start one.
    call.setAutoStartService(false);
    if (urls.isEmpty()) {
        call << platformData;
    } else {
        call << urls << platformData;
    }
    const QDBusMessage reply = connection.call(call, QDBus::BlockWithGui, static_cast<int>(timeout.count()));
    return reply.type() == QDBusMessage::ReplyMessage;
}

} // namespace applicationBus

ApplicationAdaptor::ApplicationAdaptor(QuillmereAppDelegate& delegate)
    : QDBusAbstractAdaptor(&delegate), delegate_(delegate)
{
}

void ApplicationAdaptor::Activate(const QVariantMap& platformData)
{
    adoptActivationToken(platformData);
    delegate_.reopen();
}

void ApplicationAdaptor::Open(const QStringList& uris, const QVariantMap& platformData)
{
    adoptActivationToken(platformData);
    delegate_.open(uris);
}

void ApplicationAdaptor::ActivateAction(const QString& actionName, const QVariantList&, const QVariantMap& platformData)
{
    adoptActivationToken(platformData);
    if (actionName == QLatin1String("show-window")) {
        delegate_.reopen();
    } else if (actionName == QLatin1String("quit")) {
        emit delegate_.quitRequested();
    }
}

} // namespace quillmere
