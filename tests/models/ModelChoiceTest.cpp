// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/ModelChoice.h"
#include "models/ApiKeyStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavolen::models;

namespace {

// Whether only the owner may read or write the file.
bool ownerOnly(const QFile &file)
{
    const QFileDevice::Permissions others =
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    return (file.permissions() & others) == 0 && (file.permissions() & QFileDevice::ReadOwner);
}

} // namespace

TEST(ModelChoice, WritesTheModelAsTomlWithItsTextsEscaped)
{
    const ModelChoice choice{false, QUrl(QStringLiteral("http://127.0.0.1:11434/v1")),
                             QStringLiteral("od\"d\\name\n"), KeySource::Keyring, true};
    const QByteArray toml = modelChoiceToml(choice);
    EXPECT_TRUE(toml.contains("engine = \"llm\"\n\n[llm]\nbase_url = \"http://127.0.0.1:11434/v1\"\n"))
        << toml.constData();
    EXPECT_TRUE(toml.contains("model = \"od\\\"d\\\\name\\u000a\"\n")) << toml.constData();
    EXPECT_TRUE(toml.contains("api_key = \"keyring\"\nvision = true\n"));
    EXPECT_FALSE(
        modelChoiceToml({false, QUrl(QStringLiteral("http://h/v1")), QStringLiteral("m"), KeySource::None})
            .contains("api_key"));
    EXPECT_FALSE(
        modelChoiceToml({false, QUrl(QStringLiteral("http://h/v1")), QStringLiteral("m"), KeySource::None})
            .contains("vision"));
    // The built-in engine needs nothing else, whatever was chosen before.
    EXPECT_TRUE(modelChoiceToml(ModelChoice{}).endsWith("engine = \"offline\"\n"));
}

TEST(ModelChoice, TheChoiceAndAKeyFileAreReadableByTheUserAloneAndReplacedWhole)
{
    QTemporaryDir home;
    const QString dir = home.filePath(QStringLiteral("config/tavolen"));
    ASSERT_TRUE(writeModelChoice(dir, ModelChoice{}).isEmpty());
    ASSERT_TRUE(writeModelChoice(
                    dir, {false, QUrl(QStringLiteral("http://h/v1")), QStringLiteral("m"), KeySource::File})
                    .isEmpty());
    QFile choice(dir + QStringLiteral("/model.toml"));
    EXPECT_TRUE(ownerOnly(choice)) << std::hex << int(choice.permissions());
    ASSERT_TRUE(choice.open(QIODevice::ReadOnly));
    EXPECT_FALSE(choice.readAll().contains("offline"));

    ASSERT_TRUE(storeKeyInFile(dir, QStringLiteral("sk-secret")).ok);
    QFile key(dir + QStringLiteral("/llm-api-key"));
    EXPECT_TRUE(ownerOnly(key)) << std::hex << int(key.permissions());
    ASSERT_TRUE(key.open(QIODevice::ReadOnly));
    EXPECT_EQ(key.readAll(), QByteArray("sk-secret"));

    // A folder that cannot be made is said so, not written around.
    EXPECT_FALSE(writeModelChoice(choice.fileName() + QStringLiteral("/below"), ModelChoice{}).isEmpty());
}

TEST(ModelChoice, LivesBesideTheServiceConfiguration)
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral("/x/config"));
    EXPECT_EQ(serviceConfigDir(env), QStringLiteral("/x/config/tavolen"));
    env.insert(QStringLiteral("TAVOLEN_SERVICE_CONFIG"), QStringLiteral("/etc/tavolen/service.toml"));
    EXPECT_EQ(serviceConfigDir(env), QStringLiteral("/etc/tavolen"));
}

TEST(ModelChoice, RemembersWhereItsKeyIsSoThatOnlyAKeyringKeyIsForgottenThere)
{
    QTemporaryDir home;
    EXPECT_EQ(storedKeySource(home.path()), KeySource::None) << "no choice yet";
    for (const KeySource source : {KeySource::Keyring, KeySource::File, KeySource::None}) {
        ASSERT_TRUE(writeModelChoice(home.path(), {false, QUrl(QStringLiteral("http://h/v1")),
                                                   QStringLiteral("m"), source})
                        .isEmpty());
        EXPECT_EQ(storedKeySource(home.path()), source);
    }
}
