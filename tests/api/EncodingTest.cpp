// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/Encoding.h"
#include "api/Decoding.h"
#include "support/ServiceAnswers.h"

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::test;

TEST(Encoding, EveryRecordReadsBackUnchangedThroughTheStrictDecoder)
{
    api::AnalyzeEnvelope full = *api::decodeAnalyzeEnvelope(envelopeJson());
    full.result.full_translation = QStringLiteral("全文 \"quoted\" \\ \n 😀");
    full.result.best_reply = QString(); // empty stays empty, not absent
    full.latency_ms = std::int64_t(1) << 40;
    EXPECT_EQ(api::decodeAnalyzeEnvelope(api::encodeAnalyzeEnvelope(full)), full);

    api::AnalysisResult bare;
    bare.respondable = std::nullopt;
    bare.flags.unsupported = true;
    EXPECT_EQ(api::decodeAnalysisResult(api::encodeAnalysisResult(bare)), bare) << "every optional absent";

    const api::APIErrorEnvelope error{std::nullopt,
                                      {QStringLiteral("quota_exceeded"), QStringLiteral("用完了")}};
    EXPECT_EQ(api::decodeAPIErrorEnvelope(api::encodeAPIErrorEnvelope(error)), error);
    const api::APIError codeOnly{QStringLiteral("x"), std::nullopt};
    EXPECT_EQ(api::decodeAPIError(api::encodeAPIError(codeOnly)), codeOnly);
    for (const api::FieldEvent &event : {api::FieldEvent{QStringLiteral("summary"), QStringLiteral("S")},
                                         api::FieldEvent{QStringLiteral("x"), {}}})
        EXPECT_EQ(api::decodeFieldEvent(api::encodeFieldEvent(event)), event);
}

TEST(Encoding, MembersComeInTheRecordsOrderAndAbsentOnesAreLeftOut)
{
    api::AnalysisResult r = sampleResult();
    r.hidden_meaning.reset();
    const QByteArray json = api::encodeAnalysisResult(r);
    EXPECT_TRUE(
        json.startsWith(R"({"platform":"X","content_type":"post","detected_language":"en","summary":"S",)"
                        R"("tone":"dry")"))
        << json.toStdString();
    EXPECT_FALSE(json.contains("hidden_meaning"));
    EXPECT_TRUE(
        json.endsWith(R"("flags":{"no_text_detected":false,"sensitive_pii":true,"unsupported":false}})"));
    EXPECT_EQ(api::encodeAPIErrorEnvelope({QStringLiteral("r"), {QStringLiteral("c"), std::nullopt}}),
              R"({"request_id":"r","error":{"code":"c"}})");
}
