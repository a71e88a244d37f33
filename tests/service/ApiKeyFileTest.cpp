// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/ApiKeyFile.h"
#include "support/Scratch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavolen::service;

// ApiKeyFile: the key in llm-api-key, used only when nobody else can read it.

namespace {

constexpr auto kKey = "sk-live-0123456789";

QString writeKey(const QTemporaryDir &dir, const QByteArray &content, int mode)
{
    return tavolen::test::writeFile(apiKeyFilePath(dir.path()), content, mode);
}

} // namespace

TEST(ApiKeyFile, IsReadOnlyWhenNoOneElseMayReadOrWriteIt)
{
    const QList<std::pair<int, bool>> modes = {
        {0600, true}, {0400, true}, {0640, false}, {0604, false}, {0644, false}, {0620, false}, {0660, false},
    };
    for (const auto &[mode, used] : modes) {
        QTemporaryDir dir;
        const QString path = writeKey(dir, QByteArray(kKey) + "\n", mode);
        const KeyRead read = readApiKeyFile(path);
        const std::string what = "mode " + QString::number(mode, 8).toStdString();
        if (used) {
            EXPECT_EQ(read.key, kKey) << what << ", its line break left out";
            EXPECT_TRUE(read.error.isEmpty()) << what;
        } else {
            EXPECT_TRUE(read.key.isEmpty()) << what;
            EXPECT_TRUE(read.error.contains(path)) << what << ": " << read.error.toStdString();
            EXPECT_TRUE(read.error.contains(QStringLiteral("chmod 600"))) << what;
            EXPECT_FALSE(read.error.contains(QLatin1String(kKey))) << what;
        }
    }
}

TEST(ApiKeyFile, AFileThatHoldsNoUsableKeyIsAnErrorNamingIt)
{
    QTemporaryDir dir;
    const QString path = apiKeyFilePath(dir.path());
    EXPECT_TRUE(readApiKeyFile(path).error.contains(QStringLiteral("does not exist")));

    writeKey(dir, "\r\n", 0600);
    EXPECT_TRUE(readApiKeyFile(path).error.endsWith(QStringLiteral("is empty")));

    writeKey(dir, QByteArray(kKey) + "\r\n", 0600);
    EXPECT_EQ(readApiKeyFile(path).key, kKey) << "a line break written on Windows too";

    // A link is not followed: it could point at a file the check never saw.
    QTemporaryDir other;
    const QString elsewhere = writeKey(other, kKey, 0600);
    QFile::remove(path);
    ASSERT_TRUE(QFile::link(elsewhere, path));
    const KeyRead linked = readApiKeyFile(path);
    EXPECT_TRUE(linked.key.isEmpty());
    EXPECT_TRUE(linked.error.contains(path)) << linked.error.toStdString();

    QFile::remove(path);
    QDir(dir.path()).mkdir(QStringLiteral("llm-api-key"));
    EXPECT_TRUE(readApiKeyFile(path).error.endsWith(QStringLiteral("is not a regular file")));
}
