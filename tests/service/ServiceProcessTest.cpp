// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RunningService.h"
#include "ServiceWithModel.h"

#include "support/TiedProcess.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace tavolen::test;

// ServiceProcess: tavolen-service as the systemd unit runs it, reloaded by
// signal and by its control endpoint, with a configuration of the test's own.

namespace {

int modeOf(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return int(st.st_mode & 0777);
}

class ServiceProcess : public ::testing::Test {
protected:
    ServiceProcess()
    {
        QDir(dir.path()).mkdir(QStringLiteral("config"));
        QDir(dir.path()).mkdir(QStringLiteral("run"));
        ::chmod(QFile::encodeName(dir.filePath(QStringLiteral("run"))).constData(), 0700);
        write(QStringLiteral("service.toml"), "ocr_instances = 1\n");
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port = probe.serverPort();
    }
    ~ServiceProcess() override
    {
        process.kill();
        process.waitForFinished(5000);
    }

    void write(const QString &name, const QByteArray &content, int mode = 0600)
    {
        const QString path = dir.filePath(QStringLiteral("config/") + name);
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(content);
        file.close();
        ::chmod(QFile::encodeName(path).constData(), mode_t(mode));
    }
    void start()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &name : env.keys())
            if (name.startsWith(QLatin1String("TAVOLEN_SERVICE_")))
                env.remove(name);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("run")));
        process.setProcessEnvironment(env);
        tieToThisProcess(process);
        process.start(QStringLiteral(TAVOLEN_SERVICE_BINARY),
                      {QStringLiteral("--config"), dir.filePath(QStringLiteral("config/service.toml")),
                       QStringLiteral("--port"), QString::number(port)});
    }
    // The health check's answer; empty while nothing answers.
    QJsonObject health() const
    {
        return QJsonDocument::fromJson(
                   rawExchange(port, "GET /v1/health HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", 2000).body)
            .object();
    }
    bool waitForEngine(const QString &engine) const
    {
        return QTest::qWaitFor([&] { return health().value("engine") == engine; }, 60000);
    }
    QString secretPath() const
    {
        return dir.filePath(QStringLiteral("run/tavolen/service-%1.secret").arg(port));
    }

    QTemporaryDir dir;
    quint16 port = 0;
    QProcess process;
};

} // namespace

TEST_F(ServiceProcess, SighupAndTheControlEndpointReloadItAndItsSecretEndsWithIt)
{
    FakeModelServer model;
    model.answer(modelWrites("{}"));
    start();
    ASSERT_TRUE(waitForEngine(QStringLiteral("offline"))) << process.readAllStandardError().toStdString();
    EXPECT_EQ(modeOf(secretPath()), 0600);
    EXPECT_EQ(modeOf(dir.filePath(QStringLiteral("run/tavolen"))), 0700);

    write(QStringLiteral("model.toml"), "engine = \"llm\"\n[llm]\nbase_url = \"" + model.baseUrl().toUtf8() +
                                            "\"\nmodel = \"qwen2.5:7b\"\n");
    ASSERT_EQ(process.state(), QProcess::Running) << process.readAllStandardError().toStdString();
    ASSERT_EQ(::kill(pid_t(process.processId()), SIGHUP), 0);
    EXPECT_TRUE(waitForEngine(QStringLiteral("llm:qwen2.5:7b")))
        << process.readAllStandardError().toStdString();
    EXPECT_EQ(health().value("base_url"), model.baseUrl());

    // As the app asks, with the secret it finds beside the service.
    QFile secret(secretPath());
    ASSERT_TRUE(secret.open(QIODevice::ReadOnly));
    write(QStringLiteral("model.toml"), "engine = \"offline\"\n");
    const RawAnswer answer = rawExchange(port,
                                         "POST /v1/control/reload HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                         "Content-Length: 0\r\nAuthorization: Bearer " +
                                             secret.readAll() + "\r\n\r\n",
                                         15000);
    EXPECT_EQ(answer.status, 200) << answer.body.toStdString();
    EXPECT_EQ(health().value("engine"), "offline");

    process.terminate();
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(secretPath())) << "a stopped service takes no reloads";
    const QByteArray log = process.readAllStandardError();
    EXPECT_TRUE(log.contains("reloaded: engine llm:qwen2.5:7b")) << log.toStdString();
}

TEST_F(ServiceProcess, AKeyItCannotUseStopsItAtStartWithStatus2)
{
    const QByteArray key = "sk-never-printed-77";
    const QList<std::tuple<const char *, std::optional<int>, QByteArray>> cases = {
        {"a key file others may read", 0644, "may be read by others (mode 0644)"},
        {"no key file", {}, "does not exist"},
    };
    for (const auto &[what, mode, says] : cases) {
        QFile::remove(dir.filePath(QStringLiteral("config/llm-api-key")));
        if (mode)
            write(QStringLiteral("llm-api-key"), key, *mode);
        write(QStringLiteral("model.toml"), "engine = \"llm\"\n[llm]\nbase_url = "
                                            "\"http://127.0.0.1:9/v1\"\nmodel = \"m\"\napi_key = \"file\"\n");
        start();
        ASSERT_TRUE(process.waitForFinished(30000)) << what;
        EXPECT_EQ(process.exitCode(), 2) << what;
        const QByteArray errors = process.readAllStandardError();
        EXPECT_TRUE(errors.contains(QFile::encodeName(dir.filePath(QStringLiteral("config/llm-api-key")))))
            << what << ": " << errors.toStdString();
        EXPECT_TRUE(errors.contains(says)) << what << ": " << errors.toStdString();
        EXPECT_FALSE(errors.contains(key)) << what;
    }
}
