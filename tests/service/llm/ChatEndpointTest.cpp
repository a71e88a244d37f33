// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/llm/ChatEndpoint.h"

#include <gtest/gtest.h>

using tavolen::service::llm::chatEndpoint;

TEST(ChatEndpoint, TheRequestGoesUnderTheBaseUrlsPath)
{
    const auto hosted = chatEndpoint(QStringLiteral("https://api.example.com/v1/"));
    ASSERT_TRUE(hosted);
    EXPECT_EQ(hosted->origin, "https://api.example.com");
    EXPECT_EQ(hosted->target, "/v1/chat/completions");

    const auto local = chatEndpoint(QStringLiteral(" http://127.0.0.1:11434/v1 "));
    ASSERT_TRUE(local);
    EXPECT_EQ(local->origin, "http://127.0.0.1:11434");
    EXPECT_EQ(local->target, "/v1/chat/completions");

    const auto root = chatEndpoint(QStringLiteral("http://[::1]:8080"));
    ASSERT_TRUE(root);
    EXPECT_EQ(root->origin, "http://[::1]:8080");
    EXPECT_EQ(root->target, "/chat/completions");

    const auto query = chatEndpoint(QStringLiteral("https://h.example/openai/v1?api-version=2024-10"));
    ASSERT_TRUE(query);
    EXPECT_EQ(query->target, "/openai/v1/chat/completions?api-version=2024-10");
}

TEST(ChatEndpoint, AnythingButAnHttpUrlWithAHostIsRefused)
{
    for (const char *url : {"", "api.example.com/v1", "ftp://example.com/v1", "http:///v1",
                            "http://user:pw@host/v1", "file:///etc/passwd"})
        EXPECT_FALSE(chatEndpoint(QString::fromLatin1(url))) << url;
}
