// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/harness/Desktop.h"
#include "support/ScriptedServer.h"
#include "support/ServiceAnswers.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::e2e;
using test::ScriptedResponse;

namespace {

// The reading a model writes: the sample's, with a reply of its own.
QByteArray modelReading()
{
    QJsonObject reading = QJsonDocument::fromJson(test::resultJson()).object();
    reading.insert(QStringLiteral("best_reply"), QStringLiteral("Monday works for me, see you then."));
    reading.insert(QStringLiteral("flags"), QJsonObject{{QStringLiteral("no_text_detected"), false},
                                                        {QStringLiteral("sensitive_pii"), false},
                                                        {QStringLiteral("unsupported"), false}});
    return QJsonDocument(reading).toJson(QJsonDocument::Compact);
}

// The model writing `text` a few characters a chunk, as a chat-completions stream.
ScriptedResponse modelWrites(const QByteArray &text)
{
    QList<QByteArray> chunks;
    for (qsizetype at = 0; at < text.size(); at += 24) {
        const QJsonObject delta{{QStringLiteral("content"), QString::fromUtf8(text.mid(at, 24))}};
        const QJsonObject chunk{
            {QStringLiteral("choices"),
             QJsonArray{QJsonObject{{QStringLiteral("index"), 0}, {QStringLiteral("delta"), delta}}}}};
        chunks << "data: " + QJsonDocument(chunk).toJson(QJsonDocument::Compact) + "\n\n";
    }
    chunks << "data: [DONE]\n\n";
    return ScriptedResponse::stream(chunks);
}

int freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

struct CommandRun {
    int exitCode = -1;
    QByteArray output;
};

} // namespace

// Ollama as people run it, on its own port: found, chosen with one command,
// and from the next capture on it writes the reading and the copied reply,
// while the service and the app keep running.
TEST(OneScreenModel, DetectUseAndCaptureSwitchTheRunningServiceToAnOllamaModelWithoutARestart)
{
    test::ScriptedServer ollama(11434);
    if (!ollama.listening())
        GTEST_SKIP() << "port 11434 is taken on this machine";
    ollama.script("/api/tags", ScriptedResponse::body(200, R"({"models":[{"name":"qwen-test:1b"}]})"));
    // One tiny reply for the check, then the reading of the capture.
    ollama.script("/v1/chat/completions", modelWrites("OK"));
    ollama.script("/v1/chat/completions", modelWrites(modelReading()));

    QTemporaryDir home;
    const QString configDir = home.filePath(QStringLiteral("tavolen"));
    QDir().mkpath(configDir);
    QDir().mkpath(home.filePath(QStringLiteral("run")));
    QFile(home.filePath(QStringLiteral("run")))
        .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const int port = freePort();
    QSettings(configDir + QStringLiteral("/tavolen.conf"), QSettings::IniFormat)
        .setValue(QStringLiteral("api_base"), QStringLiteral("http://127.0.0.1:%1").arg(port));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
    env.remove(QStringLiteral("TAVOLEN_SERVICE_CONFIG"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));

    QProcess service;
    service.setProcessEnvironment(env);
    service.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    service.start(QStringLiteral(TAVOLEN_SERVICE_BINARY), {QStringLiteral("--port"), QString::number(port)});
    const auto health = [&] {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (!socket.waitForConnected(200))
            return QByteArray();
        socket.write("GET /v1/health HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
        QByteArray answer;
        while (socket.waitForReadyRead(1000))
            answer += socket.readAll();
        return answer;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return health().contains("\"engine\":\"offline\""); }, 30000));

    const auto tavolen = [&](const QStringList &arguments) {
        QProcess command;
        command.setProcessEnvironment(env);
        command.start(QStringLiteral(TAVOLEN_BINARY), arguments);
        CommandRun run;
        if (command.waitForFinished(90000))
            run.exitCode = command.exitCode();
        run.output = command.readAllStandardOutput() + command.readAllStandardError();
        return run;
    };
    const CommandRun detected = tavolen({QStringLiteral("model"), QStringLiteral("detect")});
    EXPECT_EQ(detected.exitCode, 0) << detected.output.constData();
    EXPECT_TRUE(detected.output.contains("Ollama\thttp://127.0.0.1:11434/v1\tqwen-test:1b"))
        << detected.output.constData();

    const CommandRun used = tavolen({QStringLiteral("model"), QStringLiteral("use"), QStringLiteral("ollama"),
                                     QStringLiteral("qwen-test:1b")});
    ASSERT_EQ(used.exitCode, 0) << used.output.constData();
    EXPECT_TRUE(used.output.contains("First token after")) << used.output.constData();
    EXPECT_TRUE(health().contains("\"engine\":\"llm:qwen-test:1b\"")) << "the running service switched";
    EXPECT_EQ(service.state(), QProcess::Running);

    auto window = ForeignWindow::open(QRect(100, 100, 900, 700), kCool);
    ASSERT_TRUE(window);
    window->raise();
    QProcess app;
    app.setProcessEnvironment(env);
    app.start(QStringLiteral(TAVOLEN_BINARY), {QStringLiteral("capture")});
    ASSERT_TRUE(QTest::qWaitFor(overlayShown, 10000));
    const QRect region(300, 200, 300, 150);
    drag(region.topLeft(), region.bottomRight() + QPoint(1, 1));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return clipboardText() == "Monday works for me, see you then."; }, 30000))
        << clipboardText().constData();
    EXPECT_EQ(ollama.requests("/v1/chat/completions").size(), 2);
    // (Closing the panel ends the command; that is tested on its own.)
    app.terminate();
    app.waitForFinished(10000);
    EXPECT_EQ(service.state(), QProcess::Running) << "the service was never restarted";
    service.terminate();
    service.waitForFinished(10000);
}
