// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/Decoding.h"
#include "support/ServiceAnswers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace tavolen::protocol;
using namespace tavolen::test;

namespace {

QJsonObject edited(QJsonObject o, QStringList keys, const QJsonValue &value)
{
    const QString key = keys.takeFirst();
    if (!keys.isEmpty())
        o.insert(key, edited(o.value(key).toObject(), keys, value));
    else if (value.isUndefined())
        o.remove(key);
    else
        o.insert(key, value);
    return o;
}

// The envelope with the member at `path` ("result.flags.unsupported")
// replaced, or removed when `value` is undefined.
QByteArray envelopeWithMember(const QString &path, const QJsonValue &value)
{
    const QJsonObject o = QJsonDocument::fromJson(envelopeJson()).object();
    return QJsonDocument(edited(o, path.split(u'.'), value)).toJson(QJsonDocument::Compact);
}

const QStringList kOptionalTexts =
    QStringLiteral(
        "hidden_meaning full_translation tone_label risk_reason reply_language best_reply short_reply "
        "alternative_reply best_reply_label alternative_reply_label best_reply_gloss short_reply_gloss "
        "alternative_reply_gloss")
        .split(u' ');
const QStringList kRequired =
    QStringLiteral("platform content_type detected_language summary tone intent risk_level "
                   "recommended_action action_reason auto_copy flags")
        .split(u' ');

} // namespace

TEST(Decoding, AnyMemberMissingNullOrOfTheWrongTypeFailsTheWholeEnvelope)
{
    // PATH=JSON, or PATH=- for a member taken away.
    QStringList cases{"result.summary=3",
                      "result.auto_copy=\"true\"",
                      "result.auto_copy=1",
                      "result.respondable=\"yes\"",
                      "result.respondable=1",
                      "result.flags=true",
                      "model=7",
                      "latency_ms=1.5",
                      "latency_ms=\"812\"",
                      "latency_ms=null"};
    for (const QString &key : kRequired)
        cases << "result." + key + "=-"
              << "result." + key + "=null"
              << "result." + key + "=[]";
    for (const QString &key : kOptionalTexts)
        cases << "result." + key + "=5";
    for (const QString &flag : QStringList{"no_text_detected", "sensitive_pii", "unsupported"})
        cases << "result.flags." + flag + "=-"
              << "result.flags." + flag + "=\"false\"";
    for (const QString &key :
         QStringList{"request_id", "schema_version", "model", "path", "result", "latency_ms"})
        cases << key + "=-";
    for (const QString &c : cases) {
        const QString json = c.section(u'=', 1);
        const QJsonValue value = json == u"-"
                                     ? QJsonValue(QJsonValue::Undefined)
                                     : QJsonDocument::fromJson(("[" + json + "]").toUtf8()).array().at(0);
        EXPECT_FALSE(decodeAnalyzeEnvelope(envelopeWithMember(c.section(u'=', 0, 0), value)))
            << c.toStdString();
    }
}

TEST(Decoding, LatencyMustFitAnInt64)
{
    const std::pair<const char *, bool> cases[] = {{"9223372036854775807", true},
                                                   {"9223372036854775808", false},
                                                   {"-9223372036854775809", false},
                                                   {"1e300", false}};
    for (const auto &[literal, decodes] : cases) {
        const auto e = decodeAnalyzeEnvelope(envelopeJson().replace("812", literal));
        EXPECT_EQ(bool(e), decodes) << literal;
    }
    EXPECT_EQ(decodeAnalyzeEnvelope(envelopeJson().replace("812", cases[0].first))->latency_ms,
              std::numeric_limits<std::int64_t>::max());
}

TEST(Decoding, MissingAndNullOptionalsDecodeAlikeAsAbsent)
{
    QJsonObject missing = QJsonDocument::fromJson(resultJson()).object();
    QJsonObject nulled = missing;
    for (const QString &key : kOptionalTexts + QStringList{"respondable"}) {
        missing.remove(key);
        nulled.insert(key, QJsonValue::Null);
    }
    const auto a = decodeAnalysisResult(QJsonDocument(missing).toJson());
    const auto b = decodeAnalysisResult(QJsonDocument(nulled).toJson());
    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a, *b);
    EXPECT_FALSE(a->best_reply);
    EXPECT_FALSE(a->respondable);
}

TEST(Decoding, UnknownMembersAreIgnoredAtAnyDepthAndTextsKeptExactly)
{
    QByteArray extra = envelopeWithMember("result.flags.future_flag", QJsonArray{1, 2});
    extra.replace(R"("model")", R"("trace":"abc","model")");
    extra.replace(R"("summary")", R"("new_field":{"deep":null},"summary")");
    EXPECT_EQ(decodeAnalyzeEnvelope(extra), decodeAnalyzeEnvelope(envelopeJson()));

    const auto empty = decodeAnalyzeEnvelope(envelopeWithMember("result.best_reply", ""));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->result.best_reply, QString("")) << "an empty reply stays present";
    const auto escaped =
        decodeAnalyzeEnvelope(envelopeWithMember("result.summary", "  \u4f60\u597d\n\"x\"  "));
    ASSERT_TRUE(escaped);
    EXPECT_EQ(escaped->result.summary, QString::fromUtf8("  你好\n\"x\"  "));
}

TEST(Decoding, NonObjectsAndBrokenDocumentsFail)
{
    for (const QByteArray &doc : {"[" + envelopeJson() + "]", QByteArray(), QByteArray("<html>oops</html>"),
                                  envelopeJson() + " {}", envelopeJson().chopped(1)})
        EXPECT_FALSE(decodeAnalyzeEnvelope(doc)) << doc.left(40).toStdString();
    EXPECT_FALSE(decodeAPIError("\"code\""));
    EXPECT_FALSE(decodeAPIError(QByteArray(R"({"code":"x","message_zh":"a)") + char(0xff) + R"("})"));
}

TEST(Decoding, DocumentsNestedDeeperThanTheBoundAreRefusedWhateverTheyHold)
{
    // An unknown member 64 levels deep is ignored; 65 refuses the document.
    // Brackets inside texts (escaped quotes included) do not count.
    const auto nested = [](int depth) {
        return envelopeJson().chopped(1) + R"(,"x":)" + QByteArray(depth - 1, '[') +
               QByteArray(depth - 1, ']') + R"(,"t":"[[[\"[[[")" + "}";
    };
    EXPECT_TRUE(decodeAnalyzeEnvelope(nested(kMaxNesting)));
    EXPECT_FALSE(decodeAnalyzeEnvelope(nested(kMaxNesting + 1)));
    EXPECT_FALSE(decodeAnalyzeEnvelope(paddedEnvelopeJson(kMaxAnswerDocument + 1)))
        << "nor larger than the bound";
}

TEST(Decoding, ErrorEnvelopeNeedsOnlyTheCode)
{
    const auto e = decodeAPIErrorEnvelope(R"({"error":{"code":"rate"}})");
    ASSERT_TRUE(e);
    EXPECT_EQ(*e, (APIErrorEnvelope{std::nullopt, {"rate", std::nullopt}}));
    EXPECT_EQ(decodeAPIErrorEnvelope(R"({"request_id":"q","error":{"code":"c","message_zh":"稍后"}})"),
              (APIErrorEnvelope{QString("q"), {"c", QString::fromUtf8("稍后")}}));
    for (const QByteArray &bad :
         {QByteArray(R"({"error":{"message_zh":"m"}})"), QByteArray(R"({"request_id":"q"})"),
          QByteArray(R"({"request_id":5,"error":{"code":"c"}})"), envelopeJson()})
        EXPECT_FALSE(decodeAPIErrorEnvelope(bad)) << bad.left(40).toStdString();
}

TEST(Decoding, FieldEventValueMayBeMissingOrNull)
{
    EXPECT_EQ(decodeFieldEvent(R"({"field":"summary","value":"x"})"), (FieldEvent{"summary", QString("x")}));
    EXPECT_EQ(decodeFieldEvent(R"({"field":"summary"})"), (FieldEvent{"summary", std::nullopt}));
    EXPECT_EQ(decodeFieldEvent(R"({"field":"summary","value":null})"), (FieldEvent{"summary", std::nullopt}));
    EXPECT_FALSE(decodeFieldEvent(R"({"value":"x"})"));
    EXPECT_FALSE(decodeFieldEvent(R"({"field":"summary","value":3})"));
}
