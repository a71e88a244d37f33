// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/llm/LlmFailures.h"

#include <array>

namespace tavolen::service::llm {

namespace {

struct Message {
    const char *code;
    const char *en;
    const char *zh;
};

constexpr std::array<Message, 10> kMessages{{
    {"model_unauthorized", "The language model refused the service's API key.",
     "语言模型拒绝了服务的 API 密钥。"},
    {"model_not_found",
     "The language model or its address was not found; check the service's model settings.",
     "找不到语言模型或其地址，请检查服务的模型设置。"},
    {"model_rate_limited", "The language model is busy or over its quota; try again shortly.",
     "语言模型繁忙或已超出配额，请稍后再试。"},
    {"model_request_rejected", "The language model rejected the request.", "语言模型拒绝了这次请求。"},
    {"model_unavailable", "The language model is not answering properly; try again.",
     "语言模型暂时无法正常回应，请重试。"},
    {"model_unreachable", "The language model could not be reached.", "无法连接到语言模型。"},
    {"model_timeout", "The language model took too long to answer.", "语言模型响应超时。"},
    {"model_output_invalid", "The language model's answer could not be read; try again.",
     "无法读取语言模型的回答，请重试。"},
    {"model_output_too_large", "The language model's answer was too long.", "语言模型的回答过长。"},
    {"model_misconfigured", "The service's model address is wrong; check its settings.",
     "服务的模型地址有误，请检查其设置。"},
}};

} // namespace

namespace {

const char *statusCode(int status)
{
    if (status == 401 || status == 403)
        return "model_unauthorized";
    if (status == 404)
        return "model_not_found";
    if (status == 429)
        return "model_rate_limited";
    if (status == 400 || status == 413 || status == 422)
        return "model_request_rejected";
    return "model_unavailable";
}

} // namespace

EngineFailure llmFailure(const char *code, const QString &detail)
{
    return EngineFailure{QString::fromLatin1(code), std::nullopt, detail};
}

EngineFailure statusFailure(int status, std::string_view body)
{
    // An endpoint's error message often quotes the request back, and the
    // request holds the screenshot's text: only its size goes to the log.
    return llmFailure(statusCode(status),
                      QStringLiteral("model endpoint answered %1 (%2 bytes)").arg(status).arg(body.size()));
}

EngineFailure withUserMessage(EngineFailure failure, const QString &uiLanguage)
{
    for (const Message &m : kMessages)
        if (failure.code == QLatin1String(m.code))
            failure.message_zh = QString::fromUtf8(prefersChinese(uiLanguage) ? m.zh : m.en);
    return failure;
}

} // namespace tavolen::service::llm
