// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/ServiceUrl.h"
#include "capture/TavolenSound.h"
#include "core/L.h"
#include "core/Settings.h"
#include "platform/IniSettingsStore.h"
#include "support/FlowFakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
    void TearDown() override { installSettings(nullptr); }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("tavolen/tavolen.conf"));
};

} // namespace

TEST_F(SettingsFileTest, HandWrittenKeysUnderGeneralAreReadAndEditsSeenOnTheNextRead)
{
    write("[General]\napi_base=https://svc.example/api/\napp_lang=zh\nsnap_sound=false\n");
    platform::IniSettingsStore store(path);
    installSettings(&store);
    EXPECT_EQ(api::endpoint(settings(), QStringLiteral("v1/health")).toString(),
              QStringLiteral("https://svc.example/api/v1/health"));
    EXPECT_TRUE(L::isZh());
    test::FakeSound sound;
    capture::TavolenSound::play(store, sound);
    EXPECT_TRUE(sound.events.empty());

    // QSettings notices an edit by the file's size and time stamp.
    write("[General]\napp_lang=en\nsnap_sound=true\n");
    EXPECT_FALSE(L::isZh());
}
