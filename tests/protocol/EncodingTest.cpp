// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/Encoding.h"
#include "protocol/Decoding.h"
#include "support/ServiceAnswers.h"

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::test;

TEST(Encoding, EveryRecordReadsBackUnchangedThroughTheStrictDecoder)
{
    // Every member set, and none to its default: a member the field tables
    // miss is neither written nor read, and so comes back as its default.
    protocol::AnalyzeEnvelope full = *protocol::decodeAnalyzeEnvelope(envelopeJson());
    full.result.hidden_meaning = QStringLiteral("H");
    full.result.flags = {true, true, true};
    full.result.full_translation = QStringLiteral("全文 \"quoted\" \\ \n 😀");
    full.result.best_reply = QString(); // empty stays empty, not absent
    full.latency_ms = std::int64_t(1) << 40;
    EXPECT_EQ(protocol::decodeAnalyzeEnvelope(protocol::encodeAnalyzeEnvelope(full)), full);

    protocol::AnalysisResult bare;
    bare.respondable = std::nullopt;
    bare.flags.unsupported = true;
    EXPECT_EQ(protocol::decodeAnalysisResult(protocol::encodeAnalysisResult(bare)), bare)
        << "every optional absent";

    const protocol::APIErrorEnvelope error{std::nullopt,
                                           {QStringLiteral("quota_exceeded"), QStringLiteral("用完了")}};
    EXPECT_EQ(protocol::decodeAPIErrorEnvelope(protocol::encodeAPIErrorEnvelope(error)), error);
    const protocol::APIError codeOnly{QStringLiteral("x"), std::nullopt};
    EXPECT_EQ(protocol::decodeAPIError(protocol::encodeAPIError(codeOnly)), codeOnly);
    for (const protocol::FieldEvent &event :
         {protocol::FieldEvent{QStringLiteral("summary"), QStringLiteral("S")},
          protocol::FieldEvent{QStringLiteral("x"), {}}})
        EXPECT_EQ(protocol::decodeFieldEvent(protocol::encodeFieldEvent(event)), event);
}

TEST(Encoding, MembersComeInTheRecordsOrderAndAbsentOnesAreLeftOut)
{
    protocol::AnalysisResult r = sampleResult();
    r.hidden_meaning.reset();
    const QByteArray json = protocol::encodeAnalysisResult(r);
    EXPECT_TRUE(
        json.startsWith(R"({"platform":"X","content_type":"post","detected_language":"en","summary":"S",)"
                        R"("tone":"dry")"))
        << json.toStdString();
    EXPECT_FALSE(json.contains("hidden_meaning"));
    EXPECT_TRUE(
        json.endsWith(R"("flags":{"no_text_detected":false,"sensitive_pii":true,"unsupported":false}})"));
    EXPECT_EQ(protocol::encodeAPIErrorEnvelope({QStringLiteral("r"), {QStringLiteral("c"), std::nullopt}}),
              R"({"request_id":"r","error":{"code":"c"}})");
    EXPECT_EQ(protocol::encodeFieldEvent({QStringLiteral("summary"), std::nullopt}),
              R"({"field":"summary","value":null})")
        << "an absent value is written as null";
    EXPECT_EQ(protocol::encodeStreamPartial(partial(QStringLiteral("S"), QStringLiteral("Dry"))),
              R"({"tone_label":"Dry","summary":"S"})");
}
