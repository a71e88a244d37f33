// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ServiceWithModel.h"

#include "support/LocalService.h"

#include <csignal>

#include <gtest/gtest.h>

using namespace tavolen::test;

// ServiceProcess: tavolen-service as the systemd unit runs it, reloaded by
// signal and by its control endpoint, with a configuration of the test's own.

namespace {

class ServiceProcess : public ::testing::Test {
protected:
    ServiceProcess() { s.write(QStringLiteral("service.toml"), "ocr_instances = 1\n"); }
    void start() { s.start({QStringLiteral("--config"), s.configDir() + QStringLiteral("/service.toml")}); }

    LocalService s;
    QProcess &process = s.service;
};

} // namespace

TEST_F(ServiceProcess, SighupAndTheControlEndpointReloadItAndItsSecretEndsWithIt)
{
    FakeModelServer model;
    model.answer(modelWrites("{}"));
    start();
    ASSERT_TRUE(s.waitForEngine(QStringLiteral("offline"))) << process.readAllStandardError().toStdString();
    EXPECT_EQ(modeOf(s.secretPath()), 0600);
    EXPECT_EQ(modeOf(s.home.filePath(QStringLiteral("run/tavolen"))), 0700);

    s.write(QStringLiteral("model.toml"), modelToml(model.baseUrl()));
    ASSERT_EQ(process.state(), QProcess::Running) << process.readAllStandardError().toStdString();
    ASSERT_EQ(::kill(pid_t(process.processId()), SIGHUP), 0);
    EXPECT_TRUE(s.waitForEngine(QStringLiteral("llm:qwen2.5:7b")))
        << process.readAllStandardError().toStdString();
    EXPECT_EQ(s.health().value("base_url"), model.baseUrl());

    // As the app asks, with the secret it finds beside the service.
    QFile secret(s.secretPath());
    ASSERT_TRUE(secret.open(QIODevice::ReadOnly));
    s.write(QStringLiteral("model.toml"), "engine = \"offline\"\n");
    const RawAnswer answer = rawExchange(s.port,
                                         "POST /v1/control/reload HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                         "Content-Length: 0\r\nAuthorization: Bearer " +
                                             secret.readAll() + "\r\n\r\n",
                                         15000);
    EXPECT_EQ(answer.status, 200) << answer.body.toStdString();
    EXPECT_EQ(s.health().value("engine"), "offline");

    process.terminate();
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(s.secretPath())) << "a stopped service takes no reloads";
    const QByteArray log = process.readAllStandardError();
    EXPECT_TRUE(log.contains("reloaded: engine llm:qwen2.5:7b")) << log.toStdString();
}

TEST_F(ServiceProcess, AKeyItCannotUseStopsItAtStartWithStatus2)
{
    const QByteArray key = "sk-never-printed-77";
    const QString keyFile = s.configDir() + QStringLiteral("/llm-api-key");
    const std::pair<int, const char *> cases[] = {{0644, "may be read by others (mode 0644)"},
                                                  {0, "does not exist"}}; // 0: no key file
    for (const auto &[mode, says] : cases) {
        QFile::remove(keyFile);
        if (mode)
            s.write(QStringLiteral("llm-api-key"), key, mode);
        s.write(QStringLiteral("model.toml"), modelToml(QStringLiteral("http://127.0.0.1:9/v1"), "file"));
        start();
        ASSERT_TRUE(process.waitForFinished(30000)) << says;
        EXPECT_EQ(process.exitCode(), 2) << says;
        const QByteArray errors = process.readAllStandardError();
        EXPECT_TRUE(errors.contains(QFile::encodeName(keyFile))) << errors.toStdString();
        EXPECT_TRUE(errors.contains(says)) << errors.toStdString();
        EXPECT_FALSE(errors.contains(key)) << says;
    }
}
