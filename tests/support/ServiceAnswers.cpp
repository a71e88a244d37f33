#include "support/ServiceAnswers.h"

#include "api/Decoding.h"

namespace tavolen::test {

QByteArray resultJson()
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

api::AnalysisResult sampleResult()
{
    return *api::decodeAnalysisResult(resultJson());
}

QByteArray envelopeJson()
{
    return R"({"request_id":"r-1","schema_version":"1","model":"m","path":"fast","latency_ms":812,"result":)" +
           resultJson() + "}";
}

api::AnalyzeEnvelope envelopeWith(api::AnalysisResult result)
{
    api::AnalyzeEnvelope e;
    e.result = std::move(result);
    return e;
}

QByteArray paddedEnvelopeJson(qsizetype size)
{
    const QByteArray json = envelopeJson().chopped(1) + R"(,"padding":")";
    return json + QByteArray(std::max<qsizetype>(0, size - json.size() - 2), 'x') + "\"}";
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
