// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "e2e/harness/Desktop.h"
#include "support/LocalService.h"
#include "support/ScriptedServer.h"
#include "support/ServiceAnswers.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
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
    ollama.script("/v1/chat/completions", ScriptedResponse::modelWrites("OK"));
    ollama.script("/v1/chat/completions", ScriptedResponse::modelWrites(modelReading()));

    test::LocalService local;
    local.env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    local.start();
    ASSERT_TRUE(local.waitForEngine(QStringLiteral("offline"), 30000));

    const auto [detected, found] = local.tavolen({QStringLiteral("model"), QStringLiteral("detect")});
    EXPECT_EQ(detected, 0) << found.constData();
    EXPECT_TRUE(found.contains("Ollama\thttp://127.0.0.1:11434/v1\tqwen-test:1b")) << found.constData();

    const auto [used, said] = local.tavolen({QStringLiteral("model"), QStringLiteral("use"),
                                             QStringLiteral("ollama"), QStringLiteral("qwen-test:1b")});
    ASSERT_EQ(used, 0) << said.constData();
    EXPECT_TRUE(said.contains("First token after")) << said.constData();
    EXPECT_EQ(local.health().value("engine"), "llm:qwen-test:1b") << "the running service switched";
    EXPECT_EQ(local.service.state(), QProcess::Running);

    auto window = ForeignWindow::open(QRect(100, 100, 900, 700), kCool);
    ASSERT_TRUE(window);
    window->raise();
    QProcess app;
    app.setProcessEnvironment(local.env);
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
    EXPECT_EQ(local.service.state(), QProcess::Running) << "the service was never restarted";
}
