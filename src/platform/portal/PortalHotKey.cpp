// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/portal/PortalHotKey.h"

#include "platform/portal/PortalRequest.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QList>
#include <QPointer>

#include <qcoro/qcorodbuspendingcall.h>

#include <chrono>
#include <optional>

namespace tavolen::platform::portal {

namespace {

using namespace std::chrono_literals;

// Creating a session is the portal's own quick work; binding may wait while
// the user looks at the desktop's confirmation dialog.
constexpr auto kSessionTimeout = 30s;
constexpr auto kBindTimeout = 10min;

QString shortcutsInterface()
{
    return QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
}

QString shortcutId()
{
    return QStringLiteral("capture");
}

// One element of BindShortcuts' a(sa{sv}): the id and what the desktop shows
// and proposes for it.
struct ShortcutEntry {
    QString id;
    QVariantMap properties;
};

QDBusArgument &operator<<(QDBusArgument &argument, const ShortcutEntry &entry)
{
    argument.beginStructure();
    argument << entry.id << entry.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, ShortcutEntry &entry)
{
    argument.beginStructure();
    argument >> entry.id >> entry.properties;
    argument.endStructure();
    return argument;
}

} // namespace

} // namespace tavolen::platform::portal

Q_DECLARE_METATYPE(tavolen::platform::portal::ShortcutEntry)

namespace tavolen::platform::portal {

namespace {

void registerShortcutType()
{
    [[maybe_unused]] static const bool registered = [] {
        qDBusRegisterMetaType<ShortcutEntry>();
        qDBusRegisterMetaType<QList<ShortcutEntry>>();
        return true;
    }();
}

// The portal documents the handle as a string; some send an object path.
QString sessionHandle(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

// Sent, never awaited: the portal ends the session and lets the shortcut go.
void closeSession(const QDBusConnection &bus, const QString &handle)
{
    bus.send(QDBusMessage::createMethodCall(QString::fromLatin1(kPortalService), handle,
                                            QStringLiteral("org.freedesktop.portal.Session"),
                                            QStringLiteral("Close")));
}

// The arguments are built outside the coroutine: GCC cannot keep a braced
// initialiser list alive across a suspension.
QVariantList createSessionArguments()
{
    return {QVariantMap{{QStringLiteral("session_handle_token"), nextToken()}}};
}

QVariantList bindArguments(const QString &session, const QString &purpose)
{
    // The portal wants a description; the product's name is one in every language.
    const QList<ShortcutEntry> shortcuts{
        {shortcutId(),
         {{QStringLiteral("description"), purpose.isEmpty() ? QStringLiteral("Tavolen") : purpose},
          {QStringLiteral("preferred_trigger"), QStringLiteral("ALT+SHIFT+s")}}}};
    return {QVariant::fromValue(QDBusObjectPath(session)), QVariant::fromValue(shortcuts), QString(),
            QVariantMap()};
}

} // namespace

PortalHotKey::PortalHotKey(QDBusConnection bus, QObject *parent) : QObject(parent), m_bus(std::move(bus))
{
    registerShortcutType();
}

PortalHotKey::~PortalHotKey()
{
    stopListening();
    if (!m_session.isEmpty())
        closeSession(m_bus, m_session);
}

void PortalHotKey::start(std::function<void()> onPress)
{
    m_onPress = std::move(onPress);
    if (std::exchange(m_started, true))
        return;
    // Fire and forget: the task keeps itself alive until it ends.
    bindShortcut();
}

QCoro::Task<> PortalHotKey::bindShortcut()
{
    QPointer<PortalHotKey> self(this);
    const QDBusConnection bus = m_bus;

    const QString interface = shortcutsInterface();
    const PortalInterface shortcuts = co_await portalInterfaceVersion(bus, interface);
    if (!self || !shortcuts.version)
        co_return;
    QString create = QStringLiteral("CreateSession");
    QVariantList createArguments = createSessionArguments();
    const std::optional<PortalResponse> created = co_await requestFromPortal(
        bus, interface, std::move(create), std::move(createArguments), kSessionTimeout);
    if (!created || created->code != PortalResponse::success)
        co_return;
    const QString session = sessionHandle(created->results.value(QStringLiteral("session_handle")));
    if (session.isEmpty())
        co_return;
    if (!self) {
        closeSession(bus, session);
        co_return;
    }
    m_session = session;
    // Before binding: a press that follows the bind at once is not lost.
    // Only the portal that made the session is listened to.
    listen(created->portal);

    QString bind = QStringLiteral("BindShortcuts");
    QVariantList bindArgs = bindArguments(session, m_purpose);
    const std::optional<PortalResponse> bound =
        co_await requestFromPortal(bus, interface, std::move(bind), std::move(bindArgs), kBindTimeout);
    if (!self)
        co_return;
    if (!bound || bound->code != PortalResponse::success) {
        // Refused or cancelled: the combination stays with whoever has it.
        stopListening();
        closeSession(m_bus, std::exchange(m_session, QString()));
        co_return;
    }
    m_bound = true;
}

void PortalHotKey::listen(const QString &portalOwner)
{
    m_portalOwner = portalOwner;
    m_bus.connect(m_portalOwner, QString::fromLatin1(kPortalPath), shortcutsInterface(),
                  QStringLiteral("Activated"), this,
                  SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
}

void PortalHotKey::stopListening()
{
    if (m_portalOwner.isEmpty())
        return;
    m_bus.disconnect(std::exchange(m_portalOwner, QString()), QString::fromLatin1(kPortalPath),
                     shortcutsInterface(), QStringLiteral("Activated"), this,
                     SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
}

void PortalHotKey::onActivated(const QDBusObjectPath &session, const QString &id, qulonglong,
                               const QVariantMap &)
{
    if (session.path() != m_session || id != shortcutId())
        return;
    queuePress(*this, m_onPress);
}

} // namespace tavolen::platform::portal
