// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

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

// The endpoint's words may quote the request, and with it the screenshot's
// text: the log line gets their size only.
EngineFailure streamedError(std::string_view payload)
{
    return llmFailure(
        "model_unavailable",
        QStringLiteral("the model endpoint reported an error in its stream (%1 bytes)").arg(payload.size()));
}

} // namespace

ChatStream::ChatStream(ContentSink onContent, std::size_t maxLine)
    : m_onContent(std::move(onContent)), m_maxLine(maxLine), m_lines(qsizetype(maxLine))
{}

bool ChatStream::feed(std::string_view bytes)
{
    if (m_finished || m_failure)
        return false;
    if (m_framing == Framing::Unknown) {
        const std::size_t first = bytes.find_first_not_of(" \t\r\n");
        if (first == std::string_view::npos)
            return true;
        bytes.remove_prefix(first);
        m_framing = bytes.front() == '{' ? Framing::WholeJson : Framing::Events;
    }
    if (m_framing == Framing::WholeJson) {
        if (m_whole.size() + bytes.size() > m_maxLine) {
            m_failure = tooLarge();
            return false;
        }
        m_whole.append(bytes);
        return true;
    }
    m_lines.append(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    drainLines();
    return !m_finished && !m_failure;
}

void ChatStream::finish()
{
    if (m_finished || m_failure)
        return;
    if (m_framing == Framing::WholeJson) {
        chunk(m_whole);
        m_whole.clear();
    } else {
        m_lines.close();
        drainLines();
    }
}

void ChatStream::drainLines()
{
    while (!m_finished && !m_failure) {
        const std::optional<QByteArray> next = m_lines.next();
        if (!next)
            break;
        line(std::string_view(next->constData(), std::size_t(next->size())));
    }
    if (m_lines.overflowed() && !m_failure)
        m_failure = tooLarge();
}

EngineFailure ChatStream::tooLarge() const
{
    return llmFailure(
        "model_output_too_large",
        m_framing == Framing::Events
            ? QStringLiteral("the model endpoint sent a line longer than %1 bytes").arg(m_maxLine)
            : QStringLiteral("the model endpoint's answer is longer than %1 bytes").arg(m_maxLine));
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
    if (member(doc, "error")) {
        m_failure = streamedError(payload);
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
