// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/ServiceUrl.h"
#include "capture/TavolenSound.h"
#include "core/InterfaceLanguage.h"
#include "core/Settings.h"
#include "platform/IniSettingsStore.h"
#include "support/FlowFakes.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavolen;

namespace {

// Settings written the way a user would, with a text editor. That the app
// writes its own at the top level too shows in AnalyzeCommandTest's device id.
class SettingsFileTest : public ::testing::Test {
protected:
    void write(const QByteArray &contents)
    {
        QDir().mkpath(dir.filePath(QStringLiteral("tavolen")));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("tavolen/tavolen.conf"));
};

} // namespace

TEST_F(SettingsFileTest, HandWrittenKeysUnderGeneralAreReadAndAnEditIsSeenOnceTheFileChanges)
{
    write("[General]\napi_base=https://svc.example/api/\napp_lang=zh\nsnap_sound=false\n");
    platform::IniSettingsStore store(path);
    EXPECT_EQ(api::endpoint(store, QStringLiteral("v1/health")).toString(),
              QStringLiteral("https://svc.example/api/v1/health"));
    EXPECT_EQ(keys::appLang.stored(store), QStringLiteral("zh"));
    test::FakeSound sound;
    capture::TavolenSound::play(store, sound);
    EXPECT_TRUE(sound.events.empty());

    // The user's editor replaces the file while the app runs.
    write("[General]\napp_lang=en\nsnap_sound=true\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return keys::appLang.stored(store) == QStringLiteral("en"); }, 5000));
    EXPECT_EQ(keys::snapSound.value(store), true);
}

TEST_F(SettingsFileTest, WhatTheAppStoresIsInTheFileAtOnceBesideWhatAnotherWriterAdded)
{
    platform::IniSettingsStore store(path); // the folder does not exist yet
    keys::deviceId.set(store, QStringLiteral("d-1"));
    EXPECT_EQ(QSettings(path, QSettings::IniFormat).value("device_id"), QStringLiteral("d-1"));

    QSettings(path, QSettings::IniFormat).setValue("api_base", QStringLiteral("https://svc.example"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return keys::apiBase.stored(store).has_value(); }, 5000));
    keys::onboardDone.set(store, true);
    keys::deviceId.remove(store);
    QSettings file(path, QSettings::IniFormat);
    EXPECT_EQ(file.value("api_base"), QStringLiteral("https://svc.example")) << "not written over";
    EXPECT_EQ(file.value("onboard_done").toBool(), true);
    EXPECT_FALSE(file.contains("device_id"));
}
