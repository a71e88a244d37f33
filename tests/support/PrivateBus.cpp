// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/PrivateBus.h"

#include <QTest>

#include <atomic>

namespace tavolen::test {

PrivateBus::PrivateBus()
{
    m_daemon.start(
        QStringLiteral("dbus-daemon"),
        {QStringLiteral("--session"), QStringLiteral("--print-address"), QStringLiteral("--nofork")});
    if (!m_daemon.waitForStarted(5000))
        return;
    // The daemon prints its address once it listens.
    if (QTest::qWaitFor([this] { return m_daemon.canReadLine(); }, 5000))
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    for (const QString &name : m_connections)
        QDBusConnection::disconnectFromBus(name);
    m_daemon.kill();
    m_daemon.waitForFinished(5000);
}

QDBusConnection PrivateBus::connect()
{
    static std::atomic<int> counter{0};
    const QString name = QStringLiteral("tavolen-test-bus-%1").arg(++counter);
    m_connections.append(name);
    return QDBusConnection::connectToBus(m_address, name);
}

} // namespace tavolen::test
