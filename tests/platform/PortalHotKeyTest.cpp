// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/portal/PortalHotKey.h"

#include "support/FakePortal.h"
#include "support/PrivateBus.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using tavolen::test::FakePortal;
using tavolen::test::PrivateBus;

namespace {

const QString kCapture = QStringLiteral("capture");

// The app's connection and a portal, each on its own connection to a
// private bus, as they would be two programs on the desktop's bus.
class PortalHotKey : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bus.isRunning()) << "dbus-daemon did not start"; }

    FakePortal &withPortal()
    {
        // The bus name is given up before the next portal asks for it.
        portal.reset();
        portal = std::make_unique<FakePortal>(bus.connect());
        return *portal;
    }

    void start()
    {
        hotKey = std::make_unique<tavolen::platform::portal::PortalHotKey>(app);
        hotKey->setPurpose(QStringLiteral("截取并阅读一条消息"));
        hotKey->start([this] { ++presses; });
    }

    bool startBound()
    {
        start();
        return QTest::qWaitFor([this] { return hotKey->isBound(); }, 5000);
    }

    // Signals from one sender arrive in order: once this press is counted,
    // every signal the portal sent before it has been seen.
    bool pressAndSettle(int expected)
    {
        portal->activate(portal->lastSession, kCapture);
        return QTest::qWaitFor([&] { return presses == expected; }, 5000);
    }

    PrivateBus bus;
    QDBusConnection app = bus.connect();
    std::unique_ptr<FakePortal> portal;
    std::unique_ptr<tavolen::platform::portal::PortalHotKey> hotKey;
    int presses = 0;
};

TEST_F(PortalHotKey, BindsCaptureWithItsPreferredTriggerInTheNewSession)
{
    // The portal documents the handle as a string; some send an object path.
    for (const bool asObjectPath : {false, true}) {
        SCOPED_TRACE(asObjectPath ? "session handle as object path" : "session handle as string");
        hotKey.reset();
        withPortal().sessionHandleAsObjectPath = asObjectPath;

        ASSERT_TRUE(startBound());
        EXPECT_EQ(portal->bindSignature, QStringLiteral("oa(sa{sv})sa{sv}"));
        ASSERT_EQ(portal->bound.size(), 1u);
        EXPECT_EQ(portal->bound[0].session, portal->lastSession);
        EXPECT_EQ(portal->bound[0].id, kCapture);
        EXPECT_EQ(portal->bound[0].preferredTrigger, QStringLiteral("ALT+SHIFT+s"));
        EXPECT_EQ(portal->bound[0].description, QStringLiteral("截取并阅读一条消息"))
            << "as the app words it";
    }
}

TEST_F(PortalHotKey, ActivationOfOurShortcutCallsOnce)
{
    withPortal();
    ASSERT_TRUE(startBound());
    ASSERT_TRUE(pressAndSettle(1));

    // Another shortcut, another session, and another program naming ours.
    portal->activate(portal->lastSession, QStringLiteral("another"));
    portal->activate(QStringLiteral("/org/freedesktop/portal/desktop/session/1_99/other"), kCapture);
    QDBusMessage impostor = QDBusMessage::createSignal(
        QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QStringLiteral("Activated"));
    impostor.setArguments(
        {QVariant::fromValue(QDBusObjectPath(portal->lastSession)), kCapture, qulonglong(1), QVariantMap()});
    bus.connect().send(impostor);
    QTest::qWait(100);

    ASSERT_TRUE(pressAndSettle(2));
    QTest::qWait(50);
    EXPECT_EQ(presses, 2);
}

TEST_F(PortalHotKey, PressRightAfterBindingIsNotLost)
{
    withPortal().pressWhileBinding = true;
    start();

    EXPECT_TRUE(QTest::qWaitFor([this] { return presses == 1; }, 5000));
}

// Each case on a bus of its own: a hot key started before, and the calls it
// left under way, would meet the next case's portal.
TEST_F(PortalHotKey, WithoutAPortalNothingIsBound)
{
    start();
    QTest::qWait(300);
    EXPECT_FALSE(hotKey->isBound());
    EXPECT_EQ(presses, 0);
}

TEST_F(PortalHotKey, WithoutTheShortcutsInterfaceNoSessionIsCreated)
{
    withPortal().shortcutsVersion.reset();
    start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return portal->versionQueries == 1; }, 5000));
    QTest::qWait(200);
    EXPECT_EQ(portal->createSessionCalls, 0);
    EXPECT_FALSE(hotKey->isBound());
}

TEST_F(PortalHotKey, CancelledSessionBindsNothing)
{
    withPortal().createSessionCode = 1;
    start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return portal->createSessionCalls == 1; }, 5000));
    QTest::qWait(200);
    EXPECT_TRUE(portal->bound.empty());
    EXPECT_FALSE(hotKey->isBound());
}

TEST_F(PortalHotKey, RefusedBindIsSilentAndGivesTheSessionBack)
{
    withPortal().bindCode = 1;
    start();

    ASSERT_TRUE(
        QTest::qWaitFor([this] { return portal->closedSessions.contains(portal->lastSession); }, 5000));
    EXPECT_FALSE(hotKey->isBound());
    portal->activate(portal->lastSession, kCapture);
    QTest::qWait(100);
    EXPECT_EQ(presses, 0);
}

TEST_F(PortalHotKey, StartingAgainKeepsTheSessionAndTakesTheNewCallbackAndDestroyingItClosesTheSession)
{
    withPortal();
    ASSERT_TRUE(startBound());
    int laterPresses = 0;
    hotKey->start([&] { ++laterPresses; });

    portal->activate(portal->lastSession, kCapture);
    EXPECT_TRUE(QTest::qWaitFor([&] { return laterPresses == 1; }, 5000));
    EXPECT_EQ(presses, 0);
    EXPECT_EQ(portal->createSessionCalls, 1);

    hotKey.reset();
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return portal->closedSessions.contains(portal->lastSession); }, 5000));
}

} // namespace
