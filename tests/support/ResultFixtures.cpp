#include "support/ResultFixtures.h"

namespace tavolen::test {

QByteArray fullResultJson()
{
    return R"({"platform":"x","content_type":"post","detected_language":"en","summary":"S",)"
           R"("hidden_meaning":"H","full_translation":"T","tone":"dry","tone_label":"Dry",)"
           R"("intent":"ask","risk_level":"low","risk_reason":"none","recommended_action":"reply",)"
           R"("action_reason":"polite","auto_copy":true,"respondable":true,"reply_language":"en",)"
           R"("best_reply":"Sure!","short_reply":"Ok","alternative_reply":"Maybe",)"
           R"("best_reply_label":"Warm","alternative_reply_label":"Cool","best_reply_gloss":"g1",)"
           R"("short_reply_gloss":"g2","alternative_reply_gloss":"g3",)"
           R"("flags":{"no_text_detected":false,"sensitive_pii":true,"unsupported":false}})";
}

QByteArray fullEnvelopeJson()
{
    return R"({"request_id":"r1","schema_version":"3","model":"m","path":"fast","latency_ms":812,"result":)" +
           fullResultJson() + "}";
}

} // namespace tavolen::test
