// SPDX-License-Identifier: GPL-3.0-or-later
// The host's service on the session bus, on the test's private bus.

#include "WidgetHostBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace quillmere::widgethost {
namespace {

TEST(WidgetHostBus, ReloadTimelinesSentWithoutWaitingReachesTheHost)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected()) << "runs under dbus-run-session";
    WidgetHostBus host;
    ASSERT_EQ(host.registerOn(bus), WidgetHostBus::Registration::served);
    QSignalSpy requested(&host, &WidgetHostBus::reloadRequested);

    // As the application sends it: from another connection, no reply wanted.
    QDBusConnection sender = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "reload-sender");
    QDBusMessage call = QDBusMessage::createMethodCall("org.quillmere.WidgetHost", "/org/quillmere/WidgetHost",
                                                       "org.quillmere.WidgetHost", "ReloadTimelines");
    call << QStringLiteral("QuillmereStatusWidget");
    call.setAutoStartService(false);
    ASSERT_TRUE(sender.send(call));

    ASSERT_TRUE(requested.wait(2000));
    EXPECT_EQ(requested.at(0).at(0).toString(), QStringLiteral("QuillmereStatusWidget"));
    QDBusConnection::disconnectFromBus("reload-sender");
}

TEST(WidgetHostBus, ASecondHostIsToldTheNameIsTaken)
{
    WidgetHostBus first;
    ASSERT_EQ(first.registerOn(QDBusConnection::sessionBus()), WidgetHostBus::Registration::served);
    QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "second-host");
    {
        WidgetHostBus second;
        EXPECT_EQ(second.registerOn(other), WidgetHostBus::Registration::nameTaken);
    }
    QDBusConnection::disconnectFromBus("second-host");
}

} // namespace
} // namespace quillmere::widgethost
