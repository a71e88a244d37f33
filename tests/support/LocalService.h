// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "support/Scratch.h"
#include "support/TiedProcess.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace tavolen::test {

// The built tavolen-service and tavolen as a user runs them, in a home of the
// test's own: XDG_CONFIG_HOME is `home` (both read home/tavolen), the runtime
// directory home/run is the user's alone, and the app is pointed at the
// service's port. Nothing of the test run's TAVOLEN_SERVICE_* reaches them.
// (Header only: each suite names the binaries it was built with.)
class LocalService {
public:
    LocalService()
    {
        QDir().mkpath(configDir());
        QDir().mkpath(home.filePath(QStringLiteral("run")));
        ::chmod(QFile::encodeName(home.filePath(QStringLiteral("run"))).constData(), 0700);
        QSettings(configDir() + QStringLiteral("/tavolen.conf"), QSettings::IniFormat)
            .setValue(QStringLiteral("api_base"), QStringLiteral("http://127.0.0.1:%1").arg(port));
        for (const QString &name : env.keys())
            if (name.startsWith(QLatin1String("TAVOLEN_SERVICE_")))
                env.remove(name);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
    }
    ~LocalService()
    {
        service.kill();
        service.waitForFinished(5000);
    }

    QString configDir() const { return home.filePath(QStringLiteral("tavolen")); }
    QString write(const QString &name, const QByteArray &content, int mode = 0600) const
    {
        return writeFile(configDir() + QLatin1Char('/') + name, content, mode);
    }
    QString secretPath() const
    {
        return home.filePath(QStringLiteral("run/tavolen/service-%1.secret").arg(port));
    }

    void start(const QStringList &arguments = {})
    {
        service.setProcessEnvironment(env);
        tieToThisProcess(service);
        service.start(QStringLiteral(TAVOLEN_SERVICE_BINARY),
                      QStringList{QStringLiteral("--port"), QString::number(port)} + arguments);
    }
    // The health check's answer; empty while nothing answers.
    QJsonObject health() const
    {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (!socket.waitForConnected(500))
            return {};
        socket.write("GET /v1/health HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
        QByteArray answer;
        while (socket.waitForReadyRead(2000)) {
            answer += socket.readAll();
            const QJsonObject body =
                QJsonDocument::fromJson(answer.mid(answer.indexOf("\r\n\r\n") + 4)).object();
            if (!body.isEmpty())
                return body;
        }
        return {};
    }
    bool waitForEngine(const QString &engine, int timeoutMs = 60000) const
    {
        return QTest::qWaitFor([&] { return health().value(QLatin1String("engine")) == engine; }, timeoutMs);
    }
    // `tavolen ARGUMENTS` with `input` on its standard input, to its end: its
    // exit code (-1 if it did not end) and all it wrote.
    std::pair<int, QByteArray> tavolen(const QStringList &arguments, const QByteArray &input = {}) const
    {
        QProcess command;
        command.setProcessEnvironment(env);
        command.start(QStringLiteral(TAVOLEN_BINARY), arguments);
        command.write(input);
        command.closeWriteChannel();
        const int code = command.waitForFinished(90000) ? command.exitCode() : -1;
        return {code, command.readAllStandardOutput() + command.readAllStandardError()};
    }

    QTemporaryDir home;
    quint16 port = freePort();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QProcess service;
};

} // namespace tavolen::test
