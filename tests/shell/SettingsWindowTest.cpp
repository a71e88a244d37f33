// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/SettingsWindow.h"
#include "app/AnalysisPage.h"
#include "app/GeneralPage.h"
#include "core/Settings.h"
#include "support/ScopedSettings.h"
#include "support/Scratch.h"
#include "support/ScriptedServer.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::app;
using test::ScriptedResponse;
using test::ScriptedServer;

namespace {

// An environment variable set for the length of a test.
struct ScopedEnv {
    ScopedEnv(const char *name, const QByteArray &value)
        : name(name), old(qgetenv(name)), had(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (had)
            qputenv(name, old);
        else
            qunsetenv(name);
    }
    const char *name;
    QByteArray old;
    bool had;
};

// A service on loopback that runs its built-in engine and switches when
// asked with this user's secret, and a model server beside it.
struct Rig {
    Rig()
    {
        service.script("/v1/health",
                       ScriptedResponse::body(
                           200, R"({"status":"ok","engine":"offline","model":null,"replies":false})"));
        const QByteArray modelBase = model.baseUrl().toUtf8() + "/v1";
        service.script("/v1/control/reload",
                       ScriptedResponse::body(200, R"({"engine":"llm:m1","model":"m1","base_url":")" +
                                                       modelBase + R"(","replies":true})"));
        // One tiny reply for Test, one for Use, which checks again.
        for (int times = 0; times < 2; ++times)
            model.script("/v1/chat/completions", ScriptedResponse::modelWrites("OK"));
        QDir().mkpath(home.filePath(QStringLiteral("run/tavolen")));
        test::writeFile(home.filePath(QStringLiteral("run/tavolen/service-%1.secret").arg(service.port())),
                        "0123abcd\n");
        keys::apiBase.set(settings.store, service.baseUrl());
    }
    QTemporaryDir home;
    ScopedEnv config{"TAVOLEN_SERVICE_CONFIG", home.filePath(QStringLiteral("config/service.toml")).toUtf8()};
    ScopedEnv runtime{"XDG_RUNTIME_DIR", home.filePath(QStringLiteral("run")).toUtf8()};
    test::ScopedSettings settings;
    ScriptedServer service;
    ScriptedServer model;
    QNetworkAccessManager network;
};

template <class W> W *child(QWidget &window, const char *name)
{
    return window.findChild<W *>(QString::fromLatin1(name));
}

} // namespace

TEST(SettingsWindow, AModelNamedByKeyboardIsTestedThenHandedToTheServiceWhichSwitchesAtOnce)
{
    Rig rig;
    SettingsWindow window({.settings = rig.settings.store, .network = rig.network});
    window.showPage(SettingsWindow::Page::Analysis);
    // It asks the service which engine runs, and says so.
    const auto says = [&](const QString &words) {
        const QList<QLabel *> labels = window.analysis().findChildren<QLabel *>();
        return std::any_of(labels.begin(), labels.end(),
                           [&](QLabel *l) { return l->text().contains(words); });
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return says(QStringLiteral("Now: the built-in engine")); }));

    // "Other (OpenAI-compatible)…" is the list's last row.
    auto *servers = child<QListWidget>(window, "modelServers");
    servers->setFocus();
    QTest::keyClick(servers, Qt::Key_End);
    ASSERT_TRUE(servers->currentItem()->text().startsWith(QStringLiteral("Other")));
    auto *url = child<QLineEdit>(window, "baseUrl");
    ASSERT_TRUE(url->isVisibleTo(&window)) << "the form for another endpoint opens";
    QTest::keyClicks(url, rig.model.baseUrl() + QStringLiteral("/v1"));
    QTest::keyClicks(child<QLineEdit>(window, "modelName"), QStringLiteral("m1"));
    // It reads pictures: ticked from the keyboard.
    QTest::keyClick(child<QAbstractButton>(window, "readsPictures"), Qt::Key_Space);

    auto *test = child<QAbstractButton>(window, "test");
    // The search for model servers ends while the user types; the row
    // chosen stays chosen when the list is filled in again.
    ASSERT_TRUE(QTest::qWaitFor([&] { return servers->count() > 1; }));
    ASSERT_TRUE(servers->currentItem()->text().startsWith(QStringLiteral("Other")));
    ASSERT_TRUE(test->isEnabled());
    QTest::keyClick(test, Qt::Key_Space);
    auto *report = child<QLabel>(window, "report");
    ASSERT_TRUE(QTest::qWaitFor([&] { return report->text().contains(QStringLiteral("first token after")); }))
        << report->text().toStdString();
    EXPECT_TRUE(rig.service.requests("/v1/control/reload").isEmpty()) << "a test changes nothing";

    QTest::keyClick(child<QAbstractButton>(window, "use"), Qt::Key_Space);
    ASSERT_TRUE(QTest::qWaitFor([&] { return report->text().startsWith(QStringLiteral("Done:")); }))
        << report->text().toStdString();
    const auto reloads = rig.service.requests("/v1/control/reload");
    ASSERT_EQ(reloads.size(), 1);
    EXPECT_EQ(reloads[0].header("Authorization"), QByteArray("Bearer 0123abcd"));
    QFile choice(rig.home.filePath(QStringLiteral("config/model.toml")));
    ASSERT_TRUE(choice.open(QIODevice::ReadOnly));
    const QByteArray toml = choice.readAll();
    EXPECT_TRUE(toml.contains("engine = \"llm\"")) << toml.constData();
    EXPECT_TRUE(toml.contains("model = \"m1\""));
    EXPECT_FALSE(toml.contains("api_key")) << "no key was given";
    EXPECT_TRUE(toml.contains("vision = true")) << "the model reads pictures";
    EXPECT_TRUE(says(QStringLiteral("Now: m1 at "))) << "what the service answered it runs now";
}

TEST(SettingsWindow, GeneralChoicesAreStoredAtOnceAndTheWindowWordsItselfInTheNewLanguage)
{
    Rig rig;
    int languageChanges = 0;
    SettingsWindow window({.settings = rig.settings.store, .network = rig.network, .languageChanged = [&] {
                               ++languageChanges;
                               rig.settings.language().apply();
                           }});
    window.setPage(SettingsWindow::Page::General);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tavolen Settings"));
    QComboBox &language = window.general().language();
    language.setFocus();
    QTest::keyClick(&language, Qt::Key_Down); // System → 中文, chosen as the key goes down
    EXPECT_EQ(keys::appLang.stored(rig.settings.store), QStringLiteral("zh"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return languageChanges == 1; }));
    // Qt posts the language change to every window.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.windowTitle() == QStringLiteral("Tavolen 设置"); }));
    EXPECT_EQ(window.general().sound().text(), QStringLiteral("截图时播放提示音(&S)"));

    window.general().sound().setFocus();
    QTest::keyClick(&window.general().sound(), Qt::Key_Space);
    EXPECT_EQ(keys::snapSound.value(rig.settings.store), false);
}
