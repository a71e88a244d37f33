// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/Decoding.h"

#include <QByteArray>

// What the analysis service sends, for decoding tests and scripts.
namespace tavolen::test {

// Where the service takes the two analysis calls.
inline const QByteArray kPlain = "/v1/analyze-screenshot";
inline const QByteArray kStream = "/v1/analyze-screenshot-stream";

// A complete result: hidden_meaning null, full_translation missing, every
// other optional present; summary "S", best_reply "Sure!", respondable and
// auto_copy true, flags {false, true, false} so a swapped flag shows.
inline QByteArray resultJson()
{
    return R"({"platform":"X","content_type":"post","detected_language":"en","summary":"S",)"
           R"("hidden_meaning":null,"tone":"dry","tone_label":"Dry","intent":"tease",)"
           R"("risk_level":"low","risk_reason":"none","recommended_action":"reply",)"
           R"("action_reason":"friendly","auto_copy":true,"respondable":true,)"
           R"("reply_language":"en","best_reply":"Sure!","short_reply":"Ok",)"
           R"("alternative_reply":"A","best_reply_label":"Warm","alternative_reply_label":"Cool",)"
           R"("best_reply_gloss":"g1","short_reply_gloss":"g2","alternative_reply_gloss":"g3",)"
           R"("flags":{"no_text_detected":false,"sensitive_pii":true,"unsupported":false}})";
}

inline protocol::AnalysisResult sampleResult()
{
    return *protocol::decodeAnalysisResult(resultJson());
}

// A complete envelope around resultJson(), with "latency_ms":812.
inline QByteArray envelopeJson()
{
    return R"({"request_id":"r-1","schema_version":"1","model":"m","path":"fast","latency_ms":812,"result":)" +
           resultJson() + "}";
}

inline protocol::AnalyzeEnvelope envelopeWith(protocol::AnalysisResult result)
{
    protocol::AnalyzeEnvelope e;
    e.result = std::move(result);
    return e;
}

// The envelope padded with an ignored member to `size` bytes (or the least it can be).
inline QByteArray paddedEnvelopeJson(qsizetype size)
{
    const QByteArray json = envelopeJson().chopped(1) + R"(,"padding":")";
    return json + QByteArray(std::max<qsizetype>(0, size - json.size() - 2), 'x') + "\"}";
}

// {"error": {"code": CODE, "message_zh": MESSAGE}}; no message_zh when empty.
inline QByteArray errorEnvelopeJson(const QByteArray &code, const QByteArray &message = {})
{
    const QByteArray text = message.isEmpty() ? "" : R"(,"message_zh":")" + message + '"';
    return R"({"request_id":"r-9","error":{"code":")" + code + '"' + text + "}}";
}

// A partial reading as the stream builds it, with only these fields known.
inline protocol::StreamPartial partial(std::optional<QString> summary,
                                       std::optional<QString> tone = std::nullopt,
                                       std::optional<QString> risk = std::nullopt)
{
    protocol::StreamPartial p;
    p.summary = std::move(summary);
    p.tone_label = std::move(tone);
    p.risk_level = std::move(risk);
    return p;
}

// {"field": FIELD, "value": VALUE} with VALUE a JSON literal.
inline QByteArray fieldJson(const QByteArray &field, const QByteArray &valueLiteral)
{
    return R"({"field":")" + field + R"(","value":)" + valueLiteral + "}";
}

} // namespace tavolen::test
