// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/portal/PortalRequest.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QObject>
#include <QTimer>

#include <qcoro/qcorodbuspendingcall.h>
#include <qcoro/qcorosignal.h>

#include <atomic>
#include <memory>

namespace tavolen::platform::portal {

namespace {

// The path the portal gives the Request object for `token`, derived from our
// unique bus name as the portal documents it.
QString requestPath(const QDBusConnection &bus, const QString &token)
{
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

// One request in flight. It always ends, with the Response, a failed call or
// its time-out, and says so once through `ended`; so whoever awaits it is
// always resumed.
class PendingRequest : public QObject {
    Q_OBJECT
public:
    // `portal`: the portal's unique bus name, the only sender listened to.
    PendingRequest(QDBusConnection bus, QString portal, QString path)
        : m_bus(std::move(bus)), m_portal(std::move(portal)), m_path(std::move(path))
    {
        m_timeout.setSingleShot(true);
        connect(&m_timeout, &QTimer::timeout, this, [this] {
            closeRequest();
            end(std::nullopt);
        });
    }
    ~PendingRequest() override { stopListening(); }

    // Listens first: the Response may follow the method's reply at once.
    void start(const QDBusMessage &call, std::chrono::milliseconds timeout)
    {
        m_listening = m_bus.connect(m_portal, m_path, interfaceName(), QStringLiteral("Response"), this,
                                    SLOT(onResponse(uint, QVariantMap)));
        if (!m_listening) {
            end(std::nullopt);
            return;
        }
        m_timeout.start(timeout);
        auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, int(timeout.count())), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
            if (w->isError())
                end(std::nullopt);
            w->deleteLater();
        });
    }

    bool hasEnded() const { return m_ended; }
    std::optional<PortalResponse> response() const { return m_response; }

Q_SIGNALS:
    void ended();

private Q_SLOTS:
    void onResponse(uint code, const QVariantMap &results) { end(PortalResponse{code, results, m_portal}); }

private:
    static QString interfaceName() { return QStringLiteral("org.freedesktop.portal.Request"); }

    void end(std::optional<PortalResponse> response)
    {
        if (m_ended)
            return;
        m_ended = true;
        m_response = std::move(response);
        m_timeout.stop();
        stopListening();
        Q_EMIT ended();
    }

    // Not waited for: the portal drops the request and its dialog.
    void closeRequest()
    {
        m_bus.asyncCall(
            QDBusMessage::createMethodCall(m_portal, m_path, interfaceName(), QStringLiteral("Close")));
    }

    void stopListening()
    {
        if (std::exchange(m_listening, false))
            m_bus.disconnect(m_portal, m_path, interfaceName(), QStringLiteral("Response"), this,
                             SLOT(onResponse(uint, QVariantMap)));
    }

    QDBusConnection m_bus;
    QString m_portal;
    QString m_path;
    QTimer m_timeout;
    bool m_listening = false;
    bool m_ended = false;
    std::optional<PortalResponse> m_response;
};

QCoro::Task<QDBusMessage> callBus(QDBusConnection bus, QString method, QVariantList arguments, int timeoutMs)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                       QStringLiteral("/org/freedesktop/DBus"),
                                                       QStringLiteral("org.freedesktop.DBus"), method);
    call.setArguments(arguments);
    co_return co_await bus.asyncCall(call, timeoutMs);
}

// The unique bus name that holds the portal, asked without blocking; a
// portal started on demand is started first. Signals are matched against it:
// given the well-known name, Qt would look its owner up with a blocking call.
QCoro::Task<std::optional<QString>> portalOwner(QDBusConnection bus)
{
    const QVariantList name{QString::fromLatin1(kPortalService)};
    const QString getNameOwner = QStringLiteral("GetNameOwner");
    QDBusMessage reply = co_await callBus(bus, getNameOwner, name, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        // Portals are started on demand; at login it may take seconds.
        QVariantList start = name;
        start << 0u;
        QString startService = QStringLiteral("StartServiceByName");
        co_await callBus(bus, std::move(startService), std::move(start), 25000);
        reply = co_await callBus(bus, getNameOwner, name, 5000);
    }
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        co_return std::nullopt;
    co_return reply.arguments().front().toString();
}

} // namespace

QString nextToken()
{
    static std::atomic<uint> counter{0};
    return QStringLiteral("tavolen%1").arg(++counter);
}

QCoro::Task<std::optional<PortalResponse>> requestFromPortal(QDBusConnection bus, QString interface,
                                                             QString method, QVariantList arguments,
                                                             std::chrono::milliseconds timeout)
{
    if (!bus.isConnected() || arguments.isEmpty())
        co_return std::nullopt;
    const std::optional<QString> portal = co_await portalOwner(bus);
    if (!portal)
        co_return std::nullopt;
    const QString token = nextToken();
    QVariantMap options = arguments.takeLast().toMap();
    options.insert(QStringLiteral("handle_token"), token);
    arguments.append(options);

    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kPortalService),
                                                       QString::fromLatin1(kPortalPath), interface, method);
    call.setArguments(arguments);
    std::unique_ptr<PendingRequest> request =
        std::make_unique<PendingRequest>(bus, *portal, requestPath(bus, token));
    request->start(call, timeout);
    if (!request->hasEnded())
        co_await qCoro(request.get(), &PendingRequest::ended);
    co_return request->response();
}

QCoro::Task<PortalInterface> portalInterfaceVersion(QDBusConnection bus, QString interface)
{
    if (!bus.isConnected())
        co_return PortalInterface{std::nullopt, true};
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kPortalService), QString::fromLatin1(kPortalPath),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call.setArguments({interface, QStringLiteral("version")});
    // Sent to the well-known name, the call starts a portal that is not running.
    const QDBusMessage reply = co_await bus.asyncCall(call, 25000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        const QString error = reply.errorName();
        const bool missing = error == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
                             error == QLatin1String("org.freedesktop.DBus.Error.UnknownInterface") ||
                             error == QLatin1String("org.freedesktop.DBus.Error.UnknownProperty") ||
                             error == QLatin1String("org.freedesktop.DBus.Error.UnknownObject") ||
                             error == QLatin1String("org.freedesktop.DBus.Error.InvalidArgs");
        co_return PortalInterface{std::nullopt, missing};
    }
    bool ok = false;
    const uint version = reply.arguments().front().value<QDBusVariant>().variant().toUInt(&ok);
    co_return PortalInterface{ok ? std::optional<uint>(version) : std::nullopt, !ok};
}

} // namespace tavolen::platform::portal

#include "PortalRequest.moc"
