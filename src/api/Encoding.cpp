// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/Encoding.h"

#include <nlohmann/json.hpp>

namespace tavolen::api {

namespace {

using json = nlohmann::ordered_json;

void put(json &object, const char *key, const QString &value)
{
    object[key] = value.toStdString();
}

void put(json &object, const char *key, const std::optional<QString> &value)
{
    if (value)
        put(object, key, *value);
}

json resultObject(const AnalysisResult &r)
{
    json o = json::object();
    put(o, "platform", r.platform);
    put(o, "content_type", r.content_type);
    put(o, "detected_language", r.detected_language);
    put(o, "summary", r.summary);
    put(o, "hidden_meaning", r.hidden_meaning);
    put(o, "full_translation", r.full_translation);
    put(o, "tone", r.tone);
    put(o, "tone_label", r.tone_label);
    put(o, "intent", r.intent);
    put(o, "risk_level", r.risk_level);
    put(o, "risk_reason", r.risk_reason);
    put(o, "recommended_action", r.recommended_action);
    put(o, "action_reason", r.action_reason);
    o["auto_copy"] = r.auto_copy;
    if (r.respondable)
        o["respondable"] = *r.respondable;
    put(o, "reply_language", r.reply_language);
    put(o, "best_reply", r.best_reply);
    put(o, "short_reply", r.short_reply);
    put(o, "alternative_reply", r.alternative_reply);
    put(o, "best_reply_label", r.best_reply_label);
    put(o, "alternative_reply_label", r.alternative_reply_label);
    put(o, "best_reply_gloss", r.best_reply_gloss);
    put(o, "short_reply_gloss", r.short_reply_gloss);
    put(o, "alternative_reply_gloss", r.alternative_reply_gloss);
    json flags = json::object();
    flags["no_text_detected"] = r.flags.no_text_detected;
    flags["sensitive_pii"] = r.flags.sensitive_pii;
    flags["unsupported"] = r.flags.unsupported;
    o["flags"] = std::move(flags);
    return o;
}

json errorObject(const APIError &e)
{
    json o = json::object();
    put(o, "code", e.code);
    put(o, "message_zh", e.message_zh);
    return o;
}

QByteArray dump(const json &value)
{
    // QString::toStdString gives valid UTF-8 (lone surrogates become U+FFFD),
    // so nothing is ever replaced here; replace rather than throw regardless.
    return QByteArray::fromStdString(value.dump(-1, ' ', false, json::error_handler_t::replace));
}

} // namespace

QByteArray encodeAnalysisResult(const AnalysisResult &result)
{
    return dump(resultObject(result));
}

QByteArray encodeAnalyzeEnvelope(const AnalyzeEnvelope &e)
{
    json o = json::object();
    put(o, "request_id", e.request_id);
    put(o, "schema_version", e.schema_version);
    put(o, "model", e.model);
    put(o, "path", e.path);
    o["latency_ms"] = e.latency_ms;
    o["result"] = resultObject(e.result);
    return dump(o);
}

QByteArray encodeAPIError(const APIError &error)
{
    return dump(errorObject(error));
}

QByteArray encodeAPIErrorEnvelope(const APIErrorEnvelope &e)
{
    json o = json::object();
    put(o, "request_id", e.request_id);
    o["error"] = errorObject(e.error);
    return dump(o);
}

QByteArray encodeFieldEvent(const FieldEvent &event)
{
    json o = json::object();
    put(o, "field", event.field);
    o["value"] = event.value ? json(event.value->toStdString()) : json(nullptr);
    return dump(o);
}

QByteArray encodeStreamPartial(const StreamPartial &p)
{
    json o = json::object();
    put(o, "tone_label", p.tone_label);
    put(o, "summary", p.summary);
    put(o, "hidden_meaning", p.hidden_meaning);
    put(o, "risk_level", p.risk_level);
    put(o, "risk_reason", p.risk_reason);
    return dump(o);
}

QByteArray encodeText(const QString &text)
{
    return dump(json(text.toStdString()));
}

} // namespace tavolen::api
