// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/ServiceError.h"

namespace tavolen::service {

namespace {

ServiceError make(int status, const char *code, bool zh, const char *en, const char *zhText)
{
    return {status, QLatin1String(code), QString::fromUtf8(zh ? zhText : en)};
}

} // namespace

ServiceError ServiceError::badRequest(bool zh)
{
    return make(400, "bad_request", zh, "The upload was incomplete or malformed. Please try again.",
                "上传的内容不完整或格式不对，请重试。");
}

ServiceError ServiceError::unauthorized(bool zh)
{
    return make(401, "unauthorized", zh, "This analysis service does not accept this app's key.",
                "分析服务不接受此应用的密钥。");
}

ServiceError ServiceError::notFound(bool zh)
{
    return make(404, "not_found", zh, "The analysis service has no such endpoint.", "分析服务没有这个接口。");
}

ServiceError ServiceError::methodNotAllowed(bool zh)
{
    return make(405, "method_not_allowed", zh, "The analysis service does not take this method here.",
                "分析服务的这个接口不接受这种请求方法。");
}

ServiceError ServiceError::requestTimeout(bool zh)
{
    return make(408, "request_timeout", zh, "The upload took too long. Please try again.",
                "上传超时，请重试。");
}

ServiceError ServiceError::payloadTooLarge(bool zh)
{
    return make(413, "payload_too_large", zh, "The screenshot is too large. Select a smaller area.",
                "截图太大了，请框选小一点的区域。");
}

ServiceError ServiceError::unsupportedImage(bool zh)
{
    return make(415, "unsupported_image", zh, "Only JPEG screenshots can be analysed.",
                "只能分析 JPEG 格式的截图。");
}

ServiceError ServiceError::unreadableImage(bool zh)
{
    return make(422, "unreadable_image", zh,
                "The screenshot could not be decoded, or is too large a picture.",
                "截图无法解码，或者画面太大。");
}

ServiceError ServiceError::quotaExceeded(bool zh)
{
    return make(429, "quota_exceeded", zh, "You've used today's analyses.",
                "今天的分析次数已用完，明天再试试。");
}

ServiceError ServiceError::internal(bool zh)
{
    return make(500, "internal", zh, "The analysis service failed. Please try again.",
                "分析服务出错了，请重试。");
}

ServiceError ServiceError::busy(bool zh)
{
    return make(503, "busy", zh, "The analysis service is busy. Please try again in a moment.",
                "分析服务正忙，请稍后再试。");
}

ServiceError ServiceError::readingTimeout(bool zh)
{
    return make(504, "reading_timeout", zh, "The analysis took too long. Please try again.",
                "分析超时，请重试。");
}

ServiceError ServiceError::invalidReading(bool zh)
{
    return make(502, "invalid_reading", zh, "The analysis engine gave an unusable reading. Please try again.",
                "分析引擎返回的结果无法使用，请重试。");
}

ServiceError ServiceError::forStatus(int status, bool zh)
{
    switch (status) {
    case 401:
        return unauthorized(zh);
    case 404:
        return notFound(zh);
    case 405:
        return methodNotAllowed(zh);
    case 408:
        return requestTimeout(zh);
    case 413:
        return payloadTooLarge(zh);
    case 415:
        return unsupportedImage(zh);
    case 429:
        return quotaExceeded(zh);
    default:
        break;
    }
    if (status >= 400 && status < 500) {
        ServiceError e = badRequest(zh);
        e.status = status;
        return e;
    }
    ServiceError e = internal(zh);
    e.status = status;
    return e;
}

} // namespace tavolen::service
