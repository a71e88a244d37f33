// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/llm/LlmEngine.h"

#include "core/Log.h"
#include "service/llm/ChatCall.h"
#include "service/llm/ChatPrompt.h"
#include "service/llm/ChatStream.h"
#include "service/llm/LlmFailures.h"
#include "service/llm/ModelReading.h"
#include "service/llm/StreamingJsonFields.h"

namespace tavolen::service::llm {

LlmEngine::LlmEngine(LlmSettings settings) : m_settings(std::move(settings))
{}

QString LlmEngine::name() const
{
    return QStringLiteral("llm:") + m_settings.model;
}

EngineOutcome LlmEngine::analyze(const AnalysisInput &input, const FieldSink &onField,
                                 const std::atomic<bool> &cancelled)
{
    EngineOutcome outcome = read(input, onField, cancelled);
    if (auto *failure = std::get_if<EngineFailure>(&outcome))
        *failure = withUserMessage(std::move(*failure), input.uiLanguage);
    return outcome;
}

EngineOutcome LlmEngine::read(const AnalysisInput &input, const FieldSink &onField,
                              const std::atomic<bool> &cancelled)
{
    const std::optional<ChatEndpoint> endpoint = chatEndpoint(m_settings.base_url);
    if (!endpoint)
        return llmFailure("model_misconfigured", QStringLiteral("the model base URL is not an http(s) URL"));
    // A line break in the key would end its header and start another.
    for (const QChar c : m_settings.api_key)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return llmFailure("model_misconfigured", QStringLiteral("the API key holds a control character"));

    const LlmLimits &limits = m_settings.limits;
    StreamingJsonFields fields(onField);
    std::size_t textBytes = 0;
    bool textTooLong = false;
    ChatStream stream(
        [&](std::string_view piece) {
            textBytes += piece.size();
            if (textBytes > limits.max_text_bytes) {
                textTooLong = true;
                return;
            }
            fields.feed(piece);
        },
        limits.max_line_bytes);

    const auto building = std::chrono::steady_clock::now();
    const ChatCallRequest request{*endpoint, m_settings.api_key.toStdString(),
                                  chatRequestBody(m_settings, input), m_settings.timeouts,
                                  limits.max_stream_bytes};
    // Times and sizes only, for the benchmark's breakdown of a reading's delay.
    qCDebug(lcService).noquote() << QStringLiteral("model request: prompt built in %1 ms, %2 bytes")
                                        .arg(std::chrono::duration<double, std::milli>(
                                                 std::chrono::steady_clock::now() - building)
                                                 .count(),
                                             0, 'f', 2)
                                        .arg(request.body.size());
    // Once the object has closed, whatever else the model writes (a closing
    // fence, a remark, usage numbers) cannot change the reading.
    const auto sink = [&](std::string_view bytes) {
        return stream.feed(bytes) && !textTooLong && !fields.objectClosed();
    };
    if (std::optional<EngineFailure> failure = runChatCall(request, sink, cancelled))
        return *failure;
    stream.finish();

    if (textTooLong)
        return llmFailure("model_output_too_large",
                          QStringLiteral("the model wrote more than %1 bytes").arg(limits.max_text_bytes));
    if (!fields.objectClosed()) {
        if (stream.failure())
            return *stream.failure();
        QString detail = fields.objectText().empty()
                             ? QStringLiteral("the model's answer holds no JSON object")
                             : QStringLiteral("the model's answer ended before its JSON object closed");
        if (stream.cutShort())
            detail += QStringLiteral(" (it reached its token limit)");
        return llmFailure("model_output_invalid", detail);
    }
    return readingFromModelObject(fields.objectText());
}

} // namespace tavolen::service::llm
