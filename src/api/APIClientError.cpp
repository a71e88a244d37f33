#include "api/APIClientError.h"

#include "core/L.h"

namespace tavolen::api {

APIClientError APIClientError::http(int status, std::optional<QString> message)
{
    return APIClientError(Http{status, std::move(message)});
}

APIClientError APIClientError::transport(QString message)
{
    return APIClientError(Transport{std::move(message)});
}

APIClientError APIClientError::quotaExceeded()
{
    return APIClientError(QuotaExceeded{});
}

APIClientError APIClientError::decode()
{
    return APIClientError(Decode{});
}

APIClientError APIClientError::noResponse()
{
    return transport(L::text(QStringLiteral("No response"), QStringLiteral("无网络响应")));
}

APIClientError APIClientError::timedOut()
{
    return transport(L::text(QStringLiteral("The request timed out."), QStringLiteral("请求超时")));
}

QString APIClientError::errorDescription() const
{
    struct Describe {
        QString operator()(const Http &h) const
        {
            if (h.message)
                return *h.message;
            return L::text(QStringLiteral("That didn't work — try again"),
                           QStringLiteral("这次没分析成功，请重试"));
        }
        QString operator()(const Transport &t) const { return t.message; }
        QString operator()(const QuotaExceeded &) const
        {
            return L::text(QStringLiteral("You've used today's free analyses."),
                           QStringLiteral("今天的免费次数用完了，明天再试试。"));
        }
        QString operator()(const Decode &) const
        {
            return L::text(QStringLiteral("Unexpected response"), QStringLiteral("返回格式异常"));
        }
    };
    return std::visit(Describe{}, m_case);
}

QString describe(const AnalysisError &error)
{
    if (const auto *client = std::get_if<APIClientError>(&error))
        return client->errorDescription();
    return std::get<PlatformError>(error).description;
}

bool isQuotaExceeded(const AnalysisError &error)
{
    const auto *client = std::get_if<APIClientError>(&error);
    return client && client->isQuotaExceeded();
}

} // namespace tavolen::api
