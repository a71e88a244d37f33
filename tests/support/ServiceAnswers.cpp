#include "support/ServiceAnswers.h"

namespace tavolen::test {

namespace {

const char kResult[] =
    R"({"platform":"X","content_type":"post","detected_language":"en","summary":"S",)"
    R"("hidden_meaning":null,"tone":"dry","tone_label":"Dry","intent":"tease",)"
    R"("risk_level":"low","risk_reason":"none","recommended_action":"reply",)"
    R"("action_reason":"friendly","auto_copy":true,"respondable":true,)"
    R"("reply_language":"en","best_reply":"B","short_reply":"b",)"
    R"("alternative_reply":"A","best_reply_label":"Warm","alternative_reply_label":"Cool",)"
    R"("best_reply_gloss":"g1","short_reply_gloss":"g2","alternative_reply_gloss":"g3",)"
    R"("flags":{"no_text_detected":false,"sensitive_pii":false,"unsupported":false}})";

} // namespace

QByteArray envelopeJson()
{
    return QByteArray(
               R"({"request_id":"r-1","schema_version":"1","model":"m","path":"fast","latency_ms":42,)") +
           R"("result":)" + kResult + "}";
}

QByteArray paddedEnvelopeJson(qsizetype size)
{
    QByteArray json = envelopeJson();
    json.chop(1);
    const QByteArray open = R"(,"padding":")";
    const QByteArray close = "\"}";
    const qsizetype fill = size - json.size() - open.size() - close.size();
    return json + open + QByteArray(std::max<qsizetype>(0, fill), 'x') + close;
}

QByteArray errorEnvelopeJson(const QByteArray &code, const QByteArray &message)
{
    QByteArray error = R"({"code":")" + code + '"';
    if (!message.isEmpty())
        error += R"(,"message_zh":")" + message + '"';
    return R"({"request_id":"r-9","error":)" + error + "}}";
}

QByteArray fieldJson(const QByteArray &field, const QByteArray &valueLiteral)
{
    return R"({"field":")" + field + R"(","value":)" + valueLiteral + "}";
}

} // namespace tavolen::test
