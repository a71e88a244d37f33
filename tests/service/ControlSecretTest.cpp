// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/ControlSecret.h"
#include "support/Scratch.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavolen::service;

// ControlSecret: the reload endpoint's secret, in a file for this user alone.

using tavolen::test::modeOf;

TEST(ControlSecret, IsFreshRandomHexInAFileOnlyThisUserCanReachUntilTheServiceEnds)
{
    QTemporaryDir runtime;
    // Left open by someone else: closed again.
    QDir(runtime.path()).mkdir(QStringLiteral("tavolen"));
    ::chmod(QFile::encodeName(runtime.filePath(QStringLiteral("tavolen"))).constData(), 0755);
    QString error;
    std::unique_ptr<ControlSecret> secret = ControlSecret::create(runtime.path(), 8765, error);
    ASSERT_TRUE(secret) << error.toStdString();
    EXPECT_EQ(secret->path(), runtime.filePath(QStringLiteral("tavolen/service-8765.secret")));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]{64}$")).match(secret->value()).hasMatch());
    QFile file(secret->path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLatin1(file.readAll()), secret->value());
    EXPECT_EQ(modeOf(secret->path()), 0600);
    EXPECT_EQ(modeOf(runtime.filePath(QStringLiteral("tavolen"))), 0700);
    EXPECT_EQ(QDir(runtime.filePath(QStringLiteral("tavolen"))).entryList(QDir::Files).size(), 1)
        << "no half-written file left behind";

    std::unique_ptr<ControlSecret> another = ControlSecret::create(runtime.path(), 8766, error);
    ASSERT_TRUE(another);
    EXPECT_NE(another->value(), secret->value());

    const QString path = secret->path();
    secret.reset();
    EXPECT_FALSE(QFile::exists(path)) << "a stopped service takes no reloads";
    EXPECT_TRUE(QFile::exists(another->path()));
}
