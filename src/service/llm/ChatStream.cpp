#include "service/llm/ChatStream.h"

#include "service/llm/LlmFailures.h"

#include <nlohmann/json.hpp>

#include <utility>

namespace tavolen::service::llm {

namespace {

using json = nlohmann::json;

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

const json *member(const json &object, const char *key)
{
    if (!object.is_object())
        return nullptr;
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

const std::string *textMember(const json &object, const char *key)
{
    const json *value = member(object, key);
    return value && value->is_string() ? &value->get_ref<const std::string &>() : nullptr;
}

// The endpoint's own words for an error event, shortened for a log line.
EngineFailure streamedError(const json &error)
{
    const std::string *message =
        error.is_string() ? &error.get_ref<const std::string &>() : textMember(error, "message");
    const QString text = message ? QString::fromStdString(*message) : QStringLiteral("no message");
    return llmFailure(
        "model_unavailable",
        QStringLiteral("the model endpoint reported an error in its stream: %1").arg(text.left(200)));
}

} // namespace

ChatStream::ChatStream(ContentSink onContent, std::size_t maxLine)
    : m_onContent(std::move(onContent)), m_maxLine(maxLine)
{}

bool ChatStream::feed(std::string_view bytes)
{
    for (const char c : bytes) {
        if (m_finished || m_failure)
            return false;
        if (m_framing == Framing::Unknown) {
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
                continue;
            m_framing = c == '{' ? Framing::WholeJson : Framing::Events;
        }
        const bool afterCr = std::exchange(m_afterCarriageReturn, c == '\r');
        if (m_framing == Framing::Events && c == '\n' && afterCr)
            continue;
        if (m_framing == Framing::Events && (c == '\r' || c == '\n')) {
            line(m_line);
            m_line.clear();
            continue;
        }
        if (m_line.size() >= m_maxLine) {
            m_failure = llmFailure(
                "model_output_too_large",
                m_framing == Framing::Events
                    ? QStringLiteral("the model endpoint sent a line longer than %1 bytes").arg(m_maxLine)
                    : QStringLiteral("the model endpoint's answer is longer than %1 bytes").arg(m_maxLine));
            return false;
        }
        m_line.push_back(c);
    }
    return !m_finished && !m_failure;
}

void ChatStream::finish()
{
    if (m_finished || m_failure)
        return;
    if (m_framing == Framing::WholeJson)
        chunk(m_line);
    else if (!m_line.empty())
        line(m_line);
    m_line.clear();
}

void ChatStream::line(std::string_view text)
{
    if (!text.starts_with("data:"))
        return;
    const std::string_view payload = trimmed(text.substr(5));
    if (payload == "[DONE]")
        m_finished = true;
    else if (!payload.empty())
        chunk(payload);
}

void ChatStream::chunk(std::string_view payload)
{
    const json doc = json::parse(payload.begin(), payload.end(), nullptr, /*allow_exceptions=*/false);
    if (!doc.is_object())
        return; // a keep-alive or a line we do not understand; the final check catches lost text
    if (const json *error = member(doc, "error")) {
        m_failure = streamedError(*error);
        return;
    }
    const json *choices = member(doc, "choices");
    if (!choices || !choices->is_array() || choices->empty())
        return;
    const json &choice = choices->front();
    if (const std::string *reason = textMember(choice, "finish_reason"); reason && *reason == "length")
        m_cutShort = true;
    // Streamed chunks carry "delta"; an endpoint that answers in one piece
    // anyway carries "message".
    for (const char *part : {"delta", "message"})
        if (const json *holder = member(choice, part))
            if (const std::string *content = textMember(*holder, "content"); content && m_onContent)
                m_onContent(*content);
}

} // namespace tavolen::service::llm
