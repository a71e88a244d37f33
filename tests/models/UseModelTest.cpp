// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/UseModel.h"
#include "core/RunToEnd.h"
#include "support/Scratch.h"
#include "support/ScriptedServer.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::models;
using test::ScriptedResponse;
using test::ScriptedServer;

namespace {

// A service that switches when asked with this user's secret, a model
// beside it, and no keyring at all: the session bus this process sees
// leads nowhere.
struct Switch {
    Switch()
    {
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/tavolen-test-bus");
        service.setFallback(ScriptedResponse::body(
            200, R"({"engine":"llm:m","model":"m","base_url":"http://h/v1","replies":true})"));
        model.setFallback(ScriptedResponse::modelWrites("OK"));
        QDir().mkpath(home.filePath(QStringLiteral("run/tavolen")));
        test::writeFile(home.filePath(QStringLiteral("run/tavolen/service-%1.secret").arg(service.port())),
                        "s3cret\n");
        target.env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("run")));
    }
    UseOutcome use(QString key, bool allowKeyFile)
    {
        return runToEnd(useModel(network, target,
                                 {QUrl(model.baseUrl() + QStringLiteral("/v1")), QStringLiteral("m"), key},
                                 allowKeyFile));
    }
    bool written(const char *name) const
    {
        return QFile::exists(target.configDir + QLatin1Char('/') + QLatin1String(name));
    }

    QTemporaryDir home;
    ScriptedServer service;
    ScriptedServer model;
    QNetworkAccessManager network;
    ServiceTarget target{QUrl(service.baseUrl()), home.filePath(QStringLiteral("config")),
                         QProcessEnvironment()};
};

} // namespace

TEST(UseModel, WithoutAKeyringTheKeyGoesToAPrivateFileOnlyWithConsent)
{
    Switch s;
    const UseOutcome refused = s.use(QStringLiteral("sk-1"), false);
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.needsKeyFileConsent) << refused.problem.toStdString();
    EXPECT_FALSE(s.written("model.toml")) << "nothing is chosen half-way";
    EXPECT_FALSE(s.written("llm-api-key"));
    EXPECT_TRUE(s.service.requests().isEmpty());

    const UseOutcome agreed = s.use(QStringLiteral("sk-1"), true);
    ASSERT_TRUE(agreed.ok()) << agreed.problem.toStdString();
    EXPECT_EQ(agreed.keyStored, KeySource::File);
    EXPECT_EQ(storedKeySource(s.target.configDir), KeySource::File);
    const auto reloads = s.service.requests("/v1/control/reload");
    ASSERT_EQ(reloads.size(), 1);
    EXPECT_EQ(reloads[0].header("Authorization"), QByteArray("Bearer s3cret"));
    EXPECT_EQ(agreed.engine->engine, QStringLiteral("llm:m"));
    // The model was asked with the key it is to be used with.
    EXPECT_EQ(s.model.requests().front().header("Authorization"), QByteArray("Bearer sk-1"));

    // Back to the built-in engine: the key file goes with the choice.
    const UseOutcome builtIn = runToEnd(useBuiltIn(s.network, s.target));
    EXPECT_TRUE(builtIn.ok());
    EXPECT_FALSE(s.written("llm-api-key"));
}

TEST(UseModel, AModelThatFailsItsCheckOrAServiceThatCannotSwitchChangesNothing)
{
    Switch s;
    s.model.setFallback(ScriptedResponse::body(404, R"({"error":"model 'm' not found"})"));
    const UseOutcome missing = s.use({}, false);
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.problem.contains(QStringLiteral("no model named"))) << missing.problem.toStdString();
    EXPECT_FALSE(s.written("model.toml"));
    EXPECT_TRUE(s.service.requests().isEmpty());

    // A shared service elsewhere is its administrator's to switch; one here
    // without this user's secret cannot be asked either.
    for (const QUrl &elsewhere :
         {QUrl(QStringLiteral("https://analysis.example.com")), QUrl(QStringLiteral("http://127.0.0.1:1"))}) {
        s.target.apiBase = elsewhere;
        const UseOutcome refused = s.use({}, false);
        EXPECT_FALSE(refused.ok());
        EXPECT_FALSE(runToEnd(useBuiltIn(s.network, s.target)).ok());
        EXPECT_FALSE(s.written("model.toml")) << elsewhere.toString().toStdString();
    }
    EXPECT_TRUE(s.model.requests("/v1/chat/completions").size() == 1)
        << "only the first, local, attempt asked";
}
