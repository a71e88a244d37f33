// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/FakePortal.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QUrl>

namespace tavolen::test {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kScreenshot = QStringLiteral("org.freedesktop.portal.Screenshot");

// The caller's unique name as the portal spells it in object paths.
QString senderPart(const QDBusMessage &call)
{
    return call.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
}

QVariantMap mapArgument(const QVariant &argument)
{
    return qdbus_cast<QVariantMap>(argument);
}

} // namespace

FakePortal::FakePortal(QDBusConnection bus) : m_bus(std::move(bus))
{
    m_bus.registerVirtualObject(kPath, this, QDBusConnection::SubPath);
    m_bus.registerService(kService);
}

FakePortal::~FakePortal()
{
    m_bus.unregisterService(kService);
    m_bus.unregisterObject(kPath, QDBusConnection::UnregisterTree);
}

void FakePortal::activate(const QString &session, const QString &shortcutId)
{
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kShortcuts, QStringLiteral("Activated"));
    signal.setArguments(
        {QVariant::fromValue(QDBusObjectPath(session)), shortcutId, qulonglong(1234), QVariantMap()});
    m_bus.send(signal);
}

QString FakePortal::introspect(const QString &) const
{
    return {};
}

bool FakePortal::handleMessage(const QDBusMessage &message, const QDBusConnection &)
{
    const QString member = message.member();
    if (message.interface() == QStringLiteral("org.freedesktop.DBus.Properties") &&
        member == QStringLiteral("Get")) {
        ++versionQueries;
        const QVariantList args = message.arguments();
        const std::optional<uint> version = args.value(0).toString() == kShortcuts    ? shortcutsVersion
                                            : args.value(0).toString() == kScreenshot ? screenshotVersion
                                                                                      : std::nullopt;
        if (version && args.size() == 2 && args[1].toString() == QStringLiteral("version"))
            m_bus.send(message.createReply(QVariant::fromValue(QDBusVariant(*version))));
        else
            m_bus.send(message.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("no such property")));
        return true;
    }
    if (message.interface() == kShortcuts && shortcutsVersion) {
        if (member == QStringLiteral("CreateSession")) {
            createSession(message);
            return true;
        }
        if (member == QStringLiteral("BindShortcuts")) {
            bindShortcuts(message);
            return true;
        }
    }
    if (message.interface() == kScreenshot && screenshotVersion && member == QStringLiteral("Screenshot")) {
        screenshotOptions = mapArgument(message.arguments().value(1));
        if (screenshotUnanswered) {
            m_bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(
                QStringLiteral("%1/request/%2/%3")
                    .arg(kPath, senderPart(message),
                         screenshotOptions.value(QStringLiteral("handle_token")).toString())))));
            return true;
        }
        answerLater(message, screenshotOptions, screenshotCode,
                    screenshotCode == 0
                        ? QVariantMap{{QStringLiteral("uri"), QUrl::fromLocalFile(screenshotFile).toString()}}
                        : QVariantMap());
        return true;
    }
    if (message.interface() == QStringLiteral("org.freedesktop.portal.Request") &&
        member == QStringLiteral("Close")) {
        closedRequests.append(message.path());
        m_bus.send(message.createReply());
        return true;
    }
    if (message.interface() == QStringLiteral("org.freedesktop.portal.Session") &&
        member == QStringLiteral("Close")) {
        closedSessions.append(message.path());
        m_bus.send(message.createReply());
        return true;
    }
    return false;
}

void FakePortal::answerLater(const QDBusMessage &call, const QVariantMap &options, uint code,
                             const QVariantMap &results)
{
    const QString request =
        QStringLiteral("%1/request/%2/%3")
            .arg(kPath, senderPart(call), options.value(QStringLiteral("handle_token")).toString());
    m_bus.send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    QDBusMessage response = QDBusMessage::createSignal(
        request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    response.setArguments({code, results});
    m_bus.send(response);
}

void FakePortal::createSession(const QDBusMessage &call)
{
    ++createSessionCalls;
    const QVariantMap options = mapArgument(call.arguments().value(0));
    lastSession =
        QStringLiteral("%1/session/%2/%3")
            .arg(kPath, senderPart(call), options.value(QStringLiteral("session_handle_token")).toString());
    const QVariant handle =
        sessionHandleAsObjectPath ? QVariant::fromValue(QDBusObjectPath(lastSession)) : QVariant(lastSession);
    answerLater(call, options, createSessionCode,
                createSessionCode == 0 ? QVariantMap{{QStringLiteral("session_handle"), handle}}
                                       : QVariantMap());
}

void FakePortal::bindShortcuts(const QDBusMessage &call)
{
    bindSignature = call.signature();
    const QVariantList args = call.arguments();
    const QString session = args.value(0).value<QDBusObjectPath>().path();
    // Read as the wire has it, not through the caller's own type.
    const QDBusArgument shortcuts = args.value(1).value<QDBusArgument>();
    shortcuts.beginArray();
    while (!shortcuts.atEnd()) {
        QString id;
        QVariantMap properties;
        shortcuts.beginStructure();
        shortcuts >> id >> properties;
        shortcuts.endStructure();
        bound.push_back({session, id, properties.value(QStringLiteral("description")).toString(),
                         properties.value(QStringLiteral("preferred_trigger")).toString()});
    }
    shortcuts.endArray();
    if (pressWhileBinding && !bound.empty())
        activate(session, bound.back().id);
    answerLater(call, mapArgument(args.value(3)), bindCode, {});
}

} // namespace tavolen::test
