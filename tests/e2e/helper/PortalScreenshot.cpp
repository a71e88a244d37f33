// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Asks the desktop portal for a non-interactive screenshot, as any client
// does, and prints the Response's code and uri: "0 file:///tmp/out.png".
// Command-line D-Bus tools cannot do it: the portal sends the Response to
// the caller alone, and cancels the request when the caller disconnects.
// Exits with 3 if no Response came within 20 s.
//
//   tavolen-e2e-portal-screenshot

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QTimer>

#include <cstdio>

namespace {

class ResponseReceiver final : public QObject {
    Q_OBJECT
public slots:
    void response(uint code, const QVariantMap &results)
    {
        std::printf("%u %s\n", code, qPrintable(results.value("uri").toString()));
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return 2;
    // The request's object path follows from our unique name and the token:
    // subscribe to it before calling, or a quick Response is lost.
    const QString token = "tavolen_e2e";
    const QString sender = bus.baseService().mid(1).replace('.', '_');
    const QString request = "/org/freedesktop/portal/desktop/request/" + sender + '/' + token;
    ResponseReceiver receiver;
    bus.connect("org.freedesktop.portal.Desktop", request, "org.freedesktop.portal.Request", "Response",
                &receiver, SLOT(response(uint, QVariantMap)));

    QDBusMessage call =
        QDBusMessage::createMethodCall("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
                                       "org.freedesktop.portal.Screenshot", "Screenshot");
    call << QString() << QVariantMap{{"handle_token", token}, {"interactive", false}};
    const QDBusMessage reply = bus.call(call, QDBus::Block, 20000);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        std::fprintf(stderr, "%s\n", qPrintable(reply.errorMessage()));
        return 1;
    }
    QTimer::singleShot(20000, [] { QCoreApplication::exit(3); });
    return app.exec();
}

#include "PortalScreenshot.moc"
