// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationBus.h"
#include "QuillmereAppDelegate.h"

#include "ShellTestSupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace quillmere {
namespace {

// Two launches in one process: the first claims the name on the private
// session bus of this test run; the second comes in over a connection of its
// own, as another process would.
class ApplicationBusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
        ASSERT_EQ(applicationBus::claim(QDBusConnection::sessionBus(), running), applicationBus::Claim::owned);
        running.attach(*harness.model);
    }

    void TearDown() override
    {
        QDBusConnection::sessionBus().unregisterObject(QString::fromLatin1(applicationBus::objectPath));
        QDBusConnection::sessionBus().unregisterService(QString::fromLatin1(applicationBus::serviceName));
        QDBusConnection::disconnectFromBus(QStringLiteral("second launch"));
    }

    QDBusConnection secondLaunch() const
    {
        return QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("second launch"));
    }

    shelltest::ModelWithCountingWindow harness;
    QuillmereAppDelegate running;
    QuillmereAppDelegate second;
};

TEST_F(ApplicationBusTest, SecondLaunchFindsTheNameTakenAndHandsItsLinksOver)
{
    ASSERT_EQ(applicationBus::claim(secondLaunch(), second), applicationBus::Claim::ownedByAnother);
    harness.model->setSelectedTab(MainWindowTab::history);

    EXPECT_TRUE(applicationBus::handOver(secondLaunch(), {QStringLiteral("quillmere://open/focus")}, {}));

    EXPECT_EQ(harness.model->selectedTab(), MainWindowTab::workCycle);
    EXPECT_EQ(harness.presented, 1);
}

TEST_F(ApplicationBusTest, SecondLaunchWithoutLinksActivatesTheFirst)
{
    EXPECT_TRUE(applicationBus::handOver(secondLaunch(), {}, {}));
    EXPECT_EQ(harness.presented, 1);
}

TEST_F(ApplicationBusTest, LinkOfAnotherFormChangesNothing)
{
    harness.model->setSelectedTab(MainWindowTab::history);
    EXPECT_TRUE(applicationBus::handOver(secondLaunch(), {QStringLiteral("file:///etc/passwd")}, {}));
    EXPECT_EQ(harness.model->selectedTab(), MainWindowTab::history);
    EXPECT_EQ(harness.presented, 0);
}

TEST_F(ApplicationBusTest, ActivationTokenIsKeptForTheWindow)
{
    qunsetenv("XDG_ACTIVATION_TOKEN");
    EXPECT_TRUE(
        applicationBus::handOver(secondLaunch(), {}, {{QStringLiteral("activation-token"), QStringLiteral("t-42")}}));
    EXPECT_EQ(qgetenv("XDG_ACTIVATION_TOKEN"), "t-42");
    qunsetenv("XDG_ACTIVATION_TOKEN");
}

TEST_F(ApplicationBusTest, QuitActionAsksTheApplicationToQuit)
{
    QSignalSpy quit(&running, &QuillmereAppDelegate::quitRequested);
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(applicationBus::serviceName), QString::fromLatin1(applicationBus::objectPath),
        QString::fromLatin1(applicationBus::interfaceName), QStringLiteral("ActivateAction"));
    call << QStringLiteral("quit") << QVariantList() << QVariantMap();
    const QDBusMessage reply = secondLaunch().call(call, QDBus::BlockWithGui);

    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    EXPECT_EQ(quit.count(), 1);
}

TEST_F(ApplicationBusTest, NoBusMeansOnlyTheLockGuards)
{
    const QDBusConnection nowhere =
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("nowhere"));
    EXPECT_EQ(applicationBus::claim(nowhere, second), applicationBus::Claim::unavailable);
    QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

TEST_F(ApplicationBusTest, NobodyToHandOverToIsReportedQuickly)
{
    QDBusConnection::sessionBus().unregisterService(QString::fromLatin1(applicationBus::serviceName));
    EXPECT_FALSE(applicationBus::handOver(secondLaunch(), {}, {}, std::chrono::milliseconds(500)));
}

} // namespace
} // namespace quillmere
