// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/Decoding.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>

namespace tavolen::api {

namespace {

using json = nlohmann::json;

// Thrown inside this file only, to abandon a decode at the first bad member;
// it never leaves the decode functions.
struct Invalid {};

const json &required(const json &object, const char *key)
{
    auto it = object.find(key);
    if (it == object.end() || it->is_null())
        throw Invalid{};
    return *it;
}

const json *optional(const json &object, const char *key)
{
    auto it = object.find(key);
    if (it == object.end() || it->is_null())
        return nullptr;
    return &*it;
}

QString asText(const json &value)
{
    if (!value.is_string())
        throw Invalid{};
    return QString::fromStdString(value.get_ref<const std::string &>());
}

bool asBool(const json &value)
{
    if (!value.is_boolean())
        throw Invalid{};
    return value.get<bool>();
}

std::int64_t asInt64(const json &value)
{
    if (value.is_number_integer()) {
        if (value.is_number_unsigned() &&
            value.get<std::uint64_t>() > std::uint64_t(std::numeric_limits<std::int64_t>::max()))
            throw Invalid{};
        return value.get<std::int64_t>();
    }
    if (value.is_number_float()) {
        // 12.0 is integral; 12.5 or 1e30 is not an int64. A literal just past the
        // range arrives here rounded to -2^63, so that bound is excluded too.
        const double d = value.get<double>();
        if (std::trunc(d) != d || d <= -9223372036854775808.0 || d >= 9223372036854775808.0)
            throw Invalid{};
        return static_cast<std::int64_t>(d);
    }
    throw Invalid{};
}

const json &asObject(const json &value)
{
    if (!value.is_object())
        throw Invalid{};
    return value;
}

QString text(const json &o, const char *key)
{
    return asText(required(o, key));
}

std::optional<QString> optText(const json &o, const char *key)
{
    const json *v = optional(o, key);
    return v ? std::optional<QString>(asText(*v)) : std::nullopt;
}

Flags flagsFrom(const json &o)
{
    asObject(o);
    return Flags{asBool(required(o, "no_text_detected")), asBool(required(o, "sensitive_pii")),
                 asBool(required(o, "unsupported"))};
}

AnalysisResult resultFrom(const json &o)
{
    asObject(o);
    AnalysisResult r;
    r.platform = text(o, "platform");
    r.content_type = text(o, "content_type");
    r.detected_language = text(o, "detected_language");
    r.summary = text(o, "summary");
    r.hidden_meaning = optText(o, "hidden_meaning");
    r.full_translation = optText(o, "full_translation");
    r.tone = text(o, "tone");
    r.tone_label = optText(o, "tone_label");
    r.intent = text(o, "intent");
    r.risk_level = text(o, "risk_level");
    r.risk_reason = optText(o, "risk_reason");
    r.recommended_action = text(o, "recommended_action");
    r.action_reason = text(o, "action_reason");
    r.auto_copy = asBool(required(o, "auto_copy"));
    if (const json *v = optional(o, "respondable"))
        r.respondable = asBool(*v);
    r.reply_language = optText(o, "reply_language");
    r.best_reply = optText(o, "best_reply");
    r.short_reply = optText(o, "short_reply");
    r.alternative_reply = optText(o, "alternative_reply");
    r.best_reply_label = optText(o, "best_reply_label");
    r.alternative_reply_label = optText(o, "alternative_reply_label");
    r.best_reply_gloss = optText(o, "best_reply_gloss");
    r.short_reply_gloss = optText(o, "short_reply_gloss");
    r.alternative_reply_gloss = optText(o, "alternative_reply_gloss");
    r.flags = flagsFrom(required(o, "flags"));
    return r;
}

AnalyzeEnvelope envelopeFrom(const json &o)
{
    asObject(o);
    AnalyzeEnvelope e;
    e.request_id = text(o, "request_id");
    e.schema_version = text(o, "schema_version");
    e.model = text(o, "model");
    e.path = text(o, "path");
    e.latency_ms = asInt64(required(o, "latency_ms"));
    e.result = resultFrom(required(o, "result"));
    return e;
}

APIError apiErrorFrom(const json &o)
{
    asObject(o);
    return APIError{text(o, "code"), optText(o, "message_zh")};
}

APIErrorEnvelope errorEnvelopeFrom(const json &o)
{
    asObject(o);
    APIErrorEnvelope e;
    e.request_id = optText(o, "request_id");
    e.error = apiErrorFrom(required(o, "error"));
    return e;
}

FieldEvent fieldEventFrom(const json &o)
{
    asObject(o);
    return FieldEvent{text(o, "field"), optText(o, "value")};
}

} // namespace

bool shallowEnough(QByteArrayView bytes)
{
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : bytes) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxNesting)
                return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

namespace {

template <class T, class F> std::optional<T> decode(const QByteArray &bytes, F from)
{
    // A hostile document of a few hundred kilobytes could otherwise cost
    // hundreds of megabytes and seconds of the GUI thread as a tree.
    if (bytes.size() > kMaxAnswerDocument || !shallowEnough(bytes))
        return std::nullopt;
    // Parsing rejects malformed JSON and ill-formed UTF-8 inside strings.
    const json doc = json::parse(bytes.begin(), bytes.end(), nullptr, /*allow_exceptions=*/false);
    if (doc.is_discarded())
        return std::nullopt;
    try {
        return from(doc);
    } catch (const Invalid &) {
        return std::nullopt;
    } catch (const json::exception &) {
        return std::nullopt;
    }
}

} // namespace

std::optional<AnalyzeEnvelope> decodeAnalyzeEnvelope(const QByteArray &json)
{
    return decode<AnalyzeEnvelope>(json, envelopeFrom);
}

std::optional<AnalysisResult> decodeAnalysisResult(const QByteArray &json)
{
    return decode<AnalysisResult>(json, resultFrom);
}

std::optional<APIErrorEnvelope> decodeAPIErrorEnvelope(const QByteArray &json)
{
    return decode<APIErrorEnvelope>(json, errorEnvelopeFrom);
}

std::optional<APIError> decodeAPIError(const QByteArray &json)
{
    return decode<APIError>(json, apiErrorFrom);
}

std::optional<FieldEvent> decodeFieldEvent(const QByteArray &json)
{
    return decode<FieldEvent>(json, fieldEventFrom);
}

} // namespace tavolen::api
