#pragma once

#include "api/Records.h"

#include <QByteArray>

namespace tavolen::test {

// Where the service takes the two analysis calls.
inline const QByteArray kPlain = "/v1/analyze-screenshot";
inline const QByteArray kStream = "/v1/analyze-screenshot-stream";

// What the analysis service sends, for decoding tests and scripts.

// A complete result: hidden_meaning null, full_translation missing, every
// other optional present; summary "S", best_reply "Sure!", respondable and
// auto_copy true, flags {false, true, false} so a swapped flag shows.
QByteArray resultJson();
api::AnalysisResult sampleResult();
// A complete envelope around resultJson(), with "latency_ms":812.
QByteArray envelopeJson();
api::AnalyzeEnvelope envelopeWith(api::AnalysisResult result);
// The envelope padded with an ignored member to `size` bytes (or the least it can be).
QByteArray paddedEnvelopeJson(qsizetype size);
// {"error": {"code": CODE, "message_zh": MESSAGE}}; no message_zh when empty.
QByteArray errorEnvelopeJson(const QByteArray &code, const QByteArray &message = {});
// {"field": FIELD, "value": VALUE} with VALUE a JSON literal.
QByteArray fieldJson(const QByteArray &field, const QByteArray &valueLiteral);

} // namespace tavolen::test
