// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "flow/ErrorTexts.h"
#include "support/ScopedSettings.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tavolen;
using api::APIClientError;
using Kind = api::TransportFailure::Kind;
namespace texts = flow::texts;

namespace {

api::TransportFailure failure(Kind kind, QString address = QStringLiteral("analysis.example.com"),
                              QString detail = QStringLiteral("Error transferring - server replied: x"))
{
    return api::TransportFailure{
        .kind = kind, .address = std::move(address), .localService = false, .detail = std::move(detail)};
}

} // namespace

TEST(ErrorTexts, FixedTextsFollowTheLanguageWhenReadAndTheServicesMessageStaysAsItCame)
{
    test::ScopedSettings s({QStringLiteral("en-US")});
    const struct {
        APIClientError error;
        QString en, zh;
    } cases[] = {
        {APIClientError::quotaExceeded(), "You've used today's free analyses.",
         "今天的免费次数用完了，明天再试试。"},
        {APIClientError::decode(), "Unexpected response", "返回格式异常"},
        {APIClientError::http(500), "That didn't work \u2014 try again", "这次没分析成功，请重试"},
        {APIClientError::http(500, QStringLiteral("服务暂时不可用")), "服务暂时不可用", "服务暂时不可用"},
        {APIClientError::transport(failure(Kind::noResponse)), "No response", "无网络响应"},
    };
    // Made while English is in force, read in both languages.
    for (const QString lang : {"en", "zh"}) {
        s.setAppLang(lang);
        for (const auto &c : cases)
            EXPECT_EQ(texts::clientError(c.error), lang == "en" ? c.en : c.zh) << c.en.toStdString();
    }
}

TEST(ErrorTexts, EveryTransportFailureIsASentenceInEachLanguageThatNamesTheAddressItConcerns)
{
    test::ScopedSettings s({QStringLiteral("en-US")});
    const Kind kinds[] = {
        Kind::connectionRefused, Kind::hostNotFound, Kind::idleTimeout, Kind::deadline, Kind::tls,
        Kind::connectionClosed,  Kind::proxy,        Kind::other};
    QStringList seen;
    for (const QString lang : {"en", "zh"}) {
        s.setAppLang(lang);
        for (const Kind kind : kinds) {
            const QString text = texts::transportFailure(failure(kind));
            SCOPED_TRACE(text.toStdString());
            EXPECT_FALSE(text.contains("%1")) << "every placeholder filled";
            // Qt's (English) words only after the sentence for a failure of no known kind.
            EXPECT_EQ(text.contains("server replied"), kind == Kind::other);
            if (kind == Kind::connectionRefused || kind == Kind::hostNotFound || kind == Kind::tls) {
                EXPECT_TRUE(text.contains("analysis.example.com")) << "where it went wrong";
            }
            // Chinese for the Chinese interface: at least one CJK character.
            const bool cjk =
                std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x4E00; });
            EXPECT_EQ(cjk, lang == "zh");
            seen << text;
        }
    }
    seen.removeDuplicates();
    EXPECT_EQ(seen.size(), 2 * qsizetype(std::size(kinds))) << "each failure says something of its own";
}
