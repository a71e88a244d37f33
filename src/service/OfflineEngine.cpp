// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/OfflineEngine.h"

#include "service/ExtractiveSummary.h"
#include "service/HiddenMeaning.h"
#include "service/Provenance.h"
#include "service/RiskAssessment.h"
#include "service/ServiceError.h"
#include "service/TextCues.h"
#include "service/TextScript.h"
#include "service/ToneReading.h"

namespace tavolen::service {

namespace {

// The user's own language: the upload's interface language.
struct Words {
    bool zh;
    QString operator()(const char *en, const char *zh) const { return QString::fromUtf8(this->zh ? zh : en); }
};

// The language of the message, not of the application's buttons around it.
QString detectedLanguage(const AnalysisInput &input)
{
    QString guess = guessTextLanguage(contentText(input.text));
    if (guess.isEmpty())
        guess = input.textLanguage.isEmpty() ? guessTextLanguage(input.text) : input.textLanguage;
    return guess.isEmpty() ? QStringLiteral("unknown") : guess;
}

} // namespace

EngineOutcome OfflineEngine::analyze(const AnalysisInput &input, const FieldSink &onField,
                                     const std::atomic<bool> &)
{
    const Words w{prefersChinese(input.uiLanguage)};
    const QString summaryText = extractiveSummary(input.text);
    const bool hasText = !summaryText.isEmpty();
    const TextCues cues(input.text);
    const RiskAssessment risk = hasText ? assessRisk(cues) : RiskAssessment{};
    // Where it was captured shows in the interface around the text, never in
    // what the text or its sender's name claims.
    const Provenance from = guessProvenance(TextCues(interfaceText(input.text)), hasText);
    const ToneReading tone = hasText
                                 ? readTone(risk, cues, summaryText, w.zh)
                                 : ToneReading{QStringLiteral("unknown"), std::nullopt, w("Unknown", "未知")};

    protocol::AnalysisResult r;
    r.platform = from.platform;
    r.content_type = from.contentType;
    r.detected_language = hasText ? detectedLanguage(input) : QStringLiteral("unknown");
    r.hidden_meaning = hasText ? hiddenMeaning(risk, tone.sarcastic(), w.zh) : std::nullopt;
    r.summary = hasText ? summaryText
                        : w("No readable text was found in this screenshot.", "这张截图里没有识别到文字。");
    r.tone = tone.tone;
    r.tone_label = tone.label;
    r.intent = tone.intent;
    r.risk_level = risk.level;
    r.risk_reason = riskReason(risk, w.zh);
    r.respondable = false;
    r.auto_copy = false;
    r.flags.no_text_detected = !hasText;
    r.flags.sensitive_pii = hasText && cues.hasSensitiveNumbers();

    if (!hasText) {
        r.recommended_action = w("Select the text itself, as large as you can, and try again.",
                                 "请只框选文字部分（尽量大一些）后再试一次。");
        r.action_reason = w("Nothing in the picture could be read as text.", "图片中没有能识别的文字。");
    } else if (risk.level == QLatin1String("high")) {
        r.recommended_action = w("Don't reply, pay or open its links; block and report the sender.",
                                 "不要回复、付款或打开其中的链接；拉黑并举报对方。");
        r.action_reason = w("Its wording matches known scams, phishing or threats. Suggested replies need a "
                            "language model, which this service is not set up with.",
                            "它的措辞与常见的诈骗、钓鱼或威胁相符。建议回复需要语言模型，本服务尚未配置。");
    } else {
        r.recommended_action = w("Read it yourself and answer in your own words: suggested replies need a "
                                 "language model.",
                                 "请自己阅读并亲自回复：建议回复需要语言模型。");
        r.action_reason =
            w("This service has no language model set up, so it reads the text but writes no "
              "replies; its administrator can configure one (the llm engine).",
              "本服务未配置语言模型，只能读取文字、不能撰写回复；管理员可以配置一个（llm 引擎）。");
    }

    // Everything is known at once: the early fields go out in their order.
    onField({QStringLiteral("tone_label"), r.tone_label});
    onField({QStringLiteral("summary"), r.summary});
    onField({QStringLiteral("hidden_meaning"), r.hidden_meaning});
    onField({QStringLiteral("risk_level"), r.risk_level});
    onField({QStringLiteral("risk_reason"), r.risk_reason});
    return r;
}

std::function<void(const QString &)> OfflineEngine::firstLinesReader(const FieldSink &onField)
{
    return [onField](const QString &firstLines) {
        const QString summary = extractiveSummary(firstLines, true);
        if (!summary.isEmpty())
            onField({QStringLiteral("summary"), summary});
    };
}

} // namespace tavolen::service
