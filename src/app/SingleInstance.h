// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

class QLocalServer;

namespace tavolen::app {

// One running Tavolen a user session: the first instance owns a well-known
// name on the D-Bus session bus (a local socket in the runtime directory
// where no session bus answers), and later launches hand it their request.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    enum class Request { ShowReady, Capture, ShowSettings };
    enum class Transport { SessionBus, LocalSocket };

    static constexpr auto kName = "app.tavolen.Tavolen";

    // The session bus when it answers, else the local socket.
    static Transport availableTransport();
    // Where the local socket of `name` lives: private to the user, like the session bus.
    static QString socketPath(const QString &name);

    explicit SingleInstance(QString name = QString::fromLatin1(kName),
                            Transport transport = availableTransport(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // Becomes the running instance. False when another one runs and has not
    // left within `patience` (a relaunched instance waits for the one that
    // started it; a second launch does not wait).
    bool claim(std::chrono::milliseconds patience = std::chrono::milliseconds(0));

    // Hands `request` to the running instance; false when none takes it.
    static bool send(Request request, QString name = QString::fromLatin1(kName),
                     Transport transport = availableTransport());

Q_SIGNALS:
    // Another launch asked this (the running) instance for something.
    void requested(tavolen::app::SingleInstance::Request request);

private:
    bool tryClaim();
    void serve(const QByteArray &command);

    QString m_name;
    Transport m_transport;
    QString m_connectionName;
    std::unique_ptr<QLocalServer> m_server;
    std::unique_ptr<QObject> m_busObject;
};

} // namespace tavolen::app
