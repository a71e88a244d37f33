// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/llm/StreamingJsonFields.h"

#include "protocol/StreamReader.h"
#include "service/llm/ModelReading.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <utility>

namespace tavolen::service::llm {

namespace {

// A whole JSON string as written, quotes included, decoded by the same
// parser that reads the finished answer, so an early field is refused
// exactly when the final reading would be; nullopt when it is not valid.
std::optional<std::string> decodedString(std::string_view written)
{
    const auto value = nlohmann::json::parse(written.begin(), written.end(), nullptr, false);
    if (!value.is_string())
        return std::nullopt;
    return value.get<std::string>();
}

} // namespace

StreamingJsonFields::StreamingJsonFields(FieldSink sink) : m_sink(std::move(sink))
{}

void StreamingJsonFields::feed(std::string_view piece)
{
    for (const char c : piece) {
        if (m_phase == Phase::Done)
            return;
        m_text.push_back(c);
        step(c);
    }
}

std::string_view StreamingJsonFields::objectText() const
{
    if (m_phase == Phase::Preamble || m_phase == Phase::Candidate)
        return {};
    const std::size_t end = m_phase == Phase::Done ? m_objectEnd : m_text.size();
    return std::string_view(m_text).substr(m_objectBegin, end - m_objectBegin);
}

void StreamingJsonFields::step(char c)
{
    if (m_phase == Phase::Preamble)
        preambleStep(c);
    else if (m_phase == Phase::Candidate)
        candidateStep(c);
    else if (m_inString)
        stringStep(c);
    else
        structureStep(c);
}

void StreamingJsonFields::preambleStep(char c)
{
    // A reasoning model may think aloud first, braces included. Followed a
    // character at a time: searching the whole text at every brace would
    // cost the square of a long preamble.
    if (c == '>') {
        const std::string_view text(m_text);
        if (text.ends_with("<think>"))
            m_thinking = true;
        else if (text.ends_with("</think>"))
            m_thinking = false;
    }
    if (c != '{' || m_thinking)
        return;
    m_phase = Phase::Candidate;
    m_objectBegin = m_text.size() - 1;
}

void StreamingJsonFields::candidateStep(char c)
{
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
        return;
    // An object of ours opens with a member name or closes at once; a brace
    // in prose ("{as asked}") does neither.
    if (c != '"' && c != '}') {
        m_phase = Phase::Preamble;
        preambleStep(c);
        return;
    }
    m_phase = Phase::Object;
    m_depth = 1;
    m_expectKey = true;
    structureStep(c);
}

void StreamingJsonFields::structureStep(char c)
{
    switch (c) {
    case '"':
        m_inString = true;
        m_escaped = false;
        m_stringBegin = m_text.size() - 1;
        m_stringIsKey = m_depth == 1 && m_expectKey;
        break;
    case '{':
    case '[':
        ++m_depth;
        break;
    case '}':
    case ']':
        if (--m_depth == 0) {
            m_phase = Phase::Done;
            m_objectEnd = m_text.size();
        }
        break;
    case ',':
        if (m_depth == 1)
            m_expectKey = true;
        break;
    case ':':
        if (m_depth == 1)
            m_expectKey = false;
        break;
    default:
        break;
    }
}

void StreamingJsonFields::stringStep(char c)
{
    // Only where the string ends is followed here; its content is decoded
    // whole once it has closed.
    if (std::exchange(m_escaped, false))
        return;
    if (c == '\\') {
        m_escaped = true;
    } else if (c == '"') {
        m_inString = false;
        stringClosed();
    }
}

void StreamingJsonFields::stringClosed()
{
    if (m_depth != 1)
        return;
    const std::optional<std::string> decoded = decodedString(std::string_view(m_text).substr(m_stringBegin));
    if (m_stringIsKey) {
        m_key = decoded.value_or(std::string());
        return;
    }
    const std::string key = std::exchange(m_key, {});
    if (!decoded || !protocol::isPartialField(QString::fromStdString(key)) || m_reported.count(key))
        return;
    QString value = QString::fromUtf8(decoded->data(), qsizetype(decoded->size()));
    if (key == "risk_level") {
        // Reported only in the form the finished reading will carry.
        const std::optional<QString> level = normalizedRiskLevel(value);
        if (!level)
            return;
        value = *level;
    }
    m_reported.insert(key);
    if (m_sink)
        m_sink(protocol::FieldEvent{QString::fromStdString(key), value});
}

} // namespace tavolen::service::llm
