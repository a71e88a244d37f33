#include "api/APIClientError.h"

namespace tavolen::api {

APIClientError APIClientError::http(int status, std::optional<QString> message)
{
    return APIClientError(Http{status, std::move(message)});
}

APIClientError APIClientError::transport(TransportFailure failure)
{
    return APIClientError(Transport{std::move(failure)});
}

APIClientError APIClientError::quotaExceeded()
{
    return APIClientError(QuotaExceeded{});
}

APIClientError APIClientError::decode()
{
    return APIClientError(Decode{});
}

bool isQuotaExceeded(const AnalysisError &error)
{
    const auto *client = std::get_if<APIClientError>(&error);
    return client && client->isQuotaExceeded();
}

} // namespace tavolen::api
