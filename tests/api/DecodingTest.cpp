#include "api/Decoding.h"
#include "support/ResultFixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace tavolen::api;
using tavolen::test::fullEnvelopeJson;
using tavolen::test::fullResultJson;

namespace {

QJsonObject object(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

QByteArray bytes(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

// The full result with one member replaced (or removed when value is undefined).
QByteArray resultWith(const char *key, const QJsonValue &value)
{
    QJsonObject o = object(fullResultJson());
    if (value.isUndefined())
        o.remove(QString::fromLatin1(key));
    else
        o.insert(QString::fromLatin1(key), value);
    return bytes(o);
}

QByteArray envelopeWith(const char *key, const QJsonValue &value)
{
    QJsonObject o = object(fullEnvelopeJson());
    if (value.isUndefined())
        o.remove(QString::fromLatin1(key));
    else
        o.insert(QString::fromLatin1(key), value);
    return bytes(o);
}

const char *const kOptionalTexts[] = {"hidden_meaning",
                                      "full_translation",
                                      "tone_label",
                                      "risk_reason",
                                      "reply_language",
                                      "best_reply",
                                      "short_reply",
                                      "alternative_reply",
                                      "best_reply_label",
                                      "alternative_reply_label",
                                      "best_reply_gloss",
                                      "short_reply_gloss",
                                      "alternative_reply_gloss"};

const char *const kRequired[] = {
    "platform",   "content_type",       "detected_language", "summary",   "tone", "intent",
    "risk_level", "recommended_action", "action_reason",     "auto_copy", "flags"};

} // namespace

TEST(Decoding, FullEnvelopeKeepsEveryValue)
{
    const auto e = decodeAnalyzeEnvelope(fullEnvelopeJson());
    ASSERT_TRUE(e);
    EXPECT_EQ(e->request_id, "r1");
    EXPECT_EQ(e->latency_ms, 812);
    EXPECT_EQ(e->result.summary, "S");
    EXPECT_EQ(e->result.best_reply, QString("Sure!"));
    EXPECT_EQ(e->result.alternative_reply_gloss, QString("g3"));
    EXPECT_EQ(e->result.respondable, std::optional<bool>(true));
    EXPECT_TRUE(e->result.auto_copy);
    EXPECT_EQ(e->result.flags, (Flags{false, true, false}));
}

TEST(Decoding, MissingAndNullOptionalsDecodeAlikeAsAbsent)
{
    QJsonObject missing = object(fullResultJson());
    QJsonObject nulled = missing;
    for (const char *key : kOptionalTexts) {
        missing.remove(QString::fromLatin1(key));
        nulled.insert(QString::fromLatin1(key), QJsonValue::Null);
    }
    missing.remove("respondable");
    nulled.insert("respondable", QJsonValue::Null);

    const auto a = decodeAnalysisResult(bytes(missing));
    const auto b = decodeAnalysisResult(bytes(nulled));
    ASSERT_TRUE(a);
    ASSERT_TRUE(b);
    EXPECT_EQ(*a, *b);
    EXPECT_FALSE(a->best_reply);
    EXPECT_FALSE(a->respondable);
    EXPECT_FALSE(a->alternative_reply_gloss);
}

TEST(Decoding, OptionalOfWrongTypeFailsInsteadOfBecomingAbsent)
{
    EXPECT_FALSE(decodeAnalysisResult(resultWith("respondable", "yes")));
    EXPECT_FALSE(decodeAnalysisResult(resultWith("respondable", 1)));
    for (const char *key : kOptionalTexts)
        EXPECT_FALSE(decodeAnalysisResult(resultWith(key, 5))) << key;
}

TEST(Decoding, EveryRequiredMemberMustBePresentNonNullAndTyped)
{
    for (const char *key : kRequired) {
        EXPECT_FALSE(decodeAnalysisResult(resultWith(key, QJsonValue::Undefined))) << key << " missing";
        EXPECT_FALSE(decodeAnalysisResult(resultWith(key, QJsonValue::Null))) << key << " null";
        EXPECT_FALSE(decodeAnalysisResult(resultWith(key, QJsonArray{}))) << key << " array";
    }
    EXPECT_FALSE(decodeAnalysisResult(resultWith("summary", 3)));
    EXPECT_FALSE(decodeAnalysisResult(resultWith("auto_copy", "true")));
    EXPECT_FALSE(decodeAnalysisResult(resultWith("auto_copy", 1)));
}

TEST(Decoding, FlagsNeedAllThreeBooleans)
{
    for (const char *key : {"no_text_detected", "sensitive_pii", "unsupported"}) {
        QJsonObject flags{{"no_text_detected", false}, {"sensitive_pii", false}, {"unsupported", false}};
        flags.remove(QString::fromLatin1(key));
        EXPECT_FALSE(decodeAnalysisResult(resultWith("flags", flags))) << key;
        flags.insert(QString::fromLatin1(key), "false");
        EXPECT_FALSE(decodeAnalysisResult(resultWith("flags", flags))) << key << " as string";
    }
    EXPECT_FALSE(decodeAnalysisResult(resultWith("flags", true)));
}

TEST(Decoding, LatencyMustBeAnInt64EvenThoughNobodyReadsIt)
{
    EXPECT_FALSE(decodeAnalyzeEnvelope(envelopeWith("latency_ms", 1.5)));
    EXPECT_FALSE(decodeAnalyzeEnvelope(envelopeWith("latency_ms", "812")));
    EXPECT_FALSE(decodeAnalyzeEnvelope(envelopeWith("latency_ms", QJsonValue::Undefined)));
    EXPECT_FALSE(decodeAnalyzeEnvelope(envelopeWith("latency_ms", QJsonValue::Null)));

    QByteArray big = fullEnvelopeJson();
    big.replace("812", "9223372036854775807");
    ASSERT_TRUE(decodeAnalyzeEnvelope(big));
    EXPECT_EQ(decodeAnalyzeEnvelope(big)->latency_ms, std::numeric_limits<std::int64_t>::max());
    big.replace("9223372036854775807", "9223372036854775808");
    EXPECT_FALSE(decodeAnalyzeEnvelope(big)) << "one past the int64 range";
    big.replace("9223372036854775808", "-9223372036854775809");
    EXPECT_FALSE(decodeAnalyzeEnvelope(big));
    big.replace("-9223372036854775809", "1e300");
    EXPECT_FALSE(decodeAnalyzeEnvelope(big));
}

TEST(Decoding, EveryEnvelopeMemberIsRequired)
{
    for (const char *key : {"request_id", "schema_version", "model", "path", "result"})
        EXPECT_FALSE(decodeAnalyzeEnvelope(envelopeWith(key, QJsonValue::Undefined))) << key;
    EXPECT_FALSE(decodeAnalyzeEnvelope(envelopeWith("model", 7)));
}

TEST(Decoding, UnknownMembersAreIgnoredAtAnyDepth)
{
    QJsonObject envelope = object(fullEnvelopeJson());
    QJsonObject result = envelope.value("result").toObject();
    QJsonObject flags = result.value("flags").toObject();
    flags.insert("future_flag", QJsonArray{1, 2});
    result.insert("flags", flags);
    result.insert("new_field", QJsonObject{{"deep", QJsonValue::Null}});
    envelope.insert("result", result);
    envelope.insert("trace", "abc");
    const auto e = decodeAnalyzeEnvelope(bytes(envelope));
    ASSERT_TRUE(e);
    EXPECT_EQ(*e, *decodeAnalyzeEnvelope(fullEnvelopeJson()));
}

TEST(Decoding, TextsAreTakenExactlyAsSent)
{
    const auto r = decodeAnalysisResult(resultWith("best_reply", ""));
    ASSERT_TRUE(r);
    ASSERT_TRUE(r->best_reply) << "an empty reply stays present";
    EXPECT_TRUE(r->best_reply->isEmpty());

    const auto escaped = decodeAnalysisResult(resultWith("summary", "  \u4f60\u597d\n\"x\"  "));
    ASSERT_TRUE(escaped);
    EXPECT_EQ(escaped->summary, QString::fromUtf8("  你好\n\"x\"  "));
}

TEST(Decoding, NonObjectsAndBrokenDocumentsFail)
{
    EXPECT_FALSE(decodeAnalyzeEnvelope("[" + fullEnvelopeJson() + "]"));
    EXPECT_FALSE(decodeAnalyzeEnvelope(""));
    EXPECT_FALSE(decodeAnalyzeEnvelope("<html>oops</html>"));
    EXPECT_FALSE(decodeAnalyzeEnvelope(fullEnvelopeJson() + " {}")) << "two documents";
    EXPECT_FALSE(decodeAnalyzeEnvelope(fullEnvelopeJson().chopped(1)));
    EXPECT_FALSE(decodeAPIError("\"code\""));
    QByteArray badUtf8 = R"({"code":"x","message_zh":"a)";
    badUtf8 += char(0xff);
    badUtf8 += R"("})";
    EXPECT_FALSE(decodeAPIError(badUtf8));
}

TEST(Decoding, ErrorEnvelopeNeedsOnlyTheCode)
{
    const auto e = decodeAPIErrorEnvelope(R"({"error":{"code":"rate"}})");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->error.code, "rate");
    EXPECT_FALSE(e->error.message_zh);
    EXPECT_FALSE(e->request_id);

    const auto full =
        decodeAPIErrorEnvelope(R"({"request_id":"q","error":{"code":"c","message_zh":"稍后"}})");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->error.message_zh, QString::fromUtf8("稍后"));

    EXPECT_FALSE(decodeAPIErrorEnvelope(R"({"error":{"message_zh":"m"}})"));
    EXPECT_FALSE(decodeAPIErrorEnvelope(R"({"request_id":"q"})"));
    EXPECT_FALSE(decodeAPIErrorEnvelope(R"({"request_id":5,"error":{"code":"c"}})"));
    EXPECT_FALSE(decodeAPIErrorEnvelope(fullEnvelopeJson())) << "a success envelope is not an error envelope";
}

TEST(Decoding, FieldEventValueMayBeMissingOrNull)
{
    EXPECT_EQ(decodeFieldEvent(R"({"field":"summary","value":"x"})"), (FieldEvent{"summary", QString("x")}));
    EXPECT_EQ(decodeFieldEvent(R"({"field":"summary"})"), (FieldEvent{"summary", std::nullopt}));
    EXPECT_EQ(decodeFieldEvent(R"({"field":"summary","value":null})"), (FieldEvent{"summary", std::nullopt}));
    EXPECT_FALSE(decodeFieldEvent(R"({"value":"x"})"));
    EXPECT_FALSE(decodeFieldEvent(R"({"field":"summary","value":3})"));
}
