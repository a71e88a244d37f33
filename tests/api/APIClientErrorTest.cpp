#include "api/APIClientError.h"
#include "support/ScopedSettings.h"

#include <gtest/gtest.h>

using namespace tavolen;
using api::APIClientError;

TEST(APIClientError, FixedTextsFollowTheLanguageWhenReadAndOthersKeepTheirs)
{
    test::ScopedSettings s({QStringLiteral("en-US")});
    // Made while English is in force; read in both languages.
    const struct {
        APIClientError error;
        QString en, zh;
    } cases[] = {
        {APIClientError::quotaExceeded(), "You've used today's free analyses.",
         "今天的免费次数用完了，明天再试试。"},
        {APIClientError::decode(), "Unexpected response", "返回格式异常"},
        {APIClientError::http(500), "That didn't work \u2014 try again", "这次没分析成功，请重试"},
        {APIClientError::http(500, QStringLiteral("服务暂时不可用")), "服务暂时不可用", "服务暂时不可用"},
        {APIClientError::http(500, QString()), "", ""},
        {APIClientError::noResponse(), "No response", "No response"},
        {APIClientError::timedOut(), "The request timed out.", "The request timed out."},
    };
    for (const QString lang : {"en", "zh"}) {
        s.store.setValue(QStringLiteral("app_lang"), lang);
        for (const auto &c : cases)
            EXPECT_EQ(c.error.errorDescription(), lang == "en" ? c.en : c.zh) << c.en.toStdString();
    }
    // Transport texts are chosen when the error is made.
    EXPECT_EQ(APIClientError::noResponse().errorDescription(), QStringLiteral("无网络响应"));
    EXPECT_EQ(APIClientError::timedOut().errorDescription(), QStringLiteral("请求超时"));
}
