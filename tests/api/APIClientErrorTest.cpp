#include "api/APIClientError.h"
#include "support/ScopedSettings.h"

#include <gtest/gtest.h>

using namespace tavolen;
using api::APIClientError;
using tavolen::test::ScopedSettings;

TEST(APIClientError, FixedTextsFollowTheLanguageWhenRead)
{
    ScopedSettings s({QStringLiteral("en-US")});
    const APIClientError quota = APIClientError::quotaExceeded();
    const APIClientError decode = APIClientError::decode();
    const APIClientError http = APIClientError::http(500);
    EXPECT_EQ(quota.errorDescription(), QStringLiteral("You've used today's free analyses."));
    EXPECT_EQ(decode.errorDescription(), QStringLiteral("Unexpected response"));
    EXPECT_EQ(http.errorDescription(), QStringLiteral("That didn't work \u2014 try again"));

    s.store.setValue(QStringLiteral("app_lang"), QStringLiteral("zh"));
    EXPECT_EQ(quota.errorDescription(), QStringLiteral("今天的免费次数用完了，明天再试试。"));
    EXPECT_EQ(decode.errorDescription(), QStringLiteral("返回格式异常"));
    EXPECT_EQ(http.errorDescription(), QStringLiteral("这次没分析成功，请重试"));
}

TEST(APIClientError, ReceivedAndTransportTextsKeepTheirLanguage)
{
    ScopedSettings s({QStringLiteral("en-US")});
    const APIClientError service = APIClientError::http(500, QStringLiteral("服务暂时不可用"));
    const APIClientError noResponse = APIClientError::noResponse();
    const APIClientError timedOut = APIClientError::timedOut();
    s.store.setValue(QStringLiteral("app_lang"), QStringLiteral("zh"));
    EXPECT_EQ(service.errorDescription(), QStringLiteral("服务暂时不可用"));
    EXPECT_EQ(noResponse.errorDescription(), QStringLiteral("No response"));
    EXPECT_EQ(timedOut.errorDescription(), QStringLiteral("The request timed out."));
    EXPECT_EQ(APIClientError::noResponse().errorDescription(), QStringLiteral("无网络响应"));
    EXPECT_EQ(APIClientError::timedOut().errorDescription(), QStringLiteral("请求超时"));
    EXPECT_EQ(APIClientError::http(500, QString()).errorDescription(), QString())
        << "an empty service message is still the service's message";
}

TEST(APIClientError, OnlyTheClientsQuotaAnswerCountsAsQuota)
{
    EXPECT_TRUE(api::isQuotaExceeded(APIClientError::quotaExceeded()));
    EXPECT_FALSE(api::isQuotaExceeded(APIClientError::http(429)));
    EXPECT_FALSE(api::isQuotaExceeded(PlatformError{QStringLiteral("quota")}));
    EXPECT_EQ(api::describe(PlatformError{QStringLiteral("Host not found")}),
              QStringLiteral("Host not found"));
}
