// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/RequestHeaders.h"

#include <gtest/gtest.h>

using namespace tavolen::service;

TEST(RequestHeaders, OnlyTheExactBearerTokenIsAccepted)
{
    const QString token = QStringLiteral("tavolen_abc123");
    EXPECT_TRUE(bearerMatches("Bearer tavolen_abc123", token));
    EXPECT_TRUE(bearerMatches("bearer tavolen_abc123", token)) << "the scheme in any case";
    EXPECT_FALSE(bearerMatches("Bearer tavolen_abc12", token));
    EXPECT_FALSE(bearerMatches("Bearer tavolen_abc1234", token));
    EXPECT_FALSE(bearerMatches("Bearer tavolen_abc124", token));
    EXPECT_FALSE(bearerMatches("Basic tavolen_abc123", token));
    EXPECT_FALSE(bearerMatches("tavolen_abc123", token));
    EXPECT_FALSE(bearerMatches("", token));
    EXPECT_FALSE(bearerMatches("Bearer ", QString())) << "an empty token matches nothing";
}

TEST(RequestHeaders, APlainRequestIdIsKeptAndAnythingElseReplaced)
{
    const QString app = QStringLiteral("0B6A3E1C-2F4D-4E5A-9B7C-1D2E3F4A5B6C");
    EXPECT_EQ(acceptedRequestId(app), app);
    for (const QString &odd : {QString(), QStringLiteral("a b"), QStringLiteral("id\nforged log line"),
                               QString(101, QLatin1Char('x'))}) {
        const QString id = acceptedRequestId(odd);
        EXPECT_NE(id, odd);
        EXPECT_EQ(id.size(), 36);
    }
}
