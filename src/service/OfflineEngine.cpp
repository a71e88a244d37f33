// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/OfflineEngine.h"

#include "service/ExtractiveSummary.h"
#include "service/Provenance.h"
#include "service/RiskAssessment.h"
#include "service/ServiceError.h"
#include "service/TextCues.h"
#include "service/TextScript.h"

namespace tavolen::service {

namespace {

using Kind = RiskAssessment::Kind;

// The user's own language: the upload's interface language.
struct Words {
    bool zh;
    QString operator()(const char *en, const char *zh) const { return QString::fromUtf8(this->zh ? zh : en); }
};

struct Tone {
    QString tone;
    std::optional<QString> label;
    QString intent;
};

bool asksQuestion(const QString &summary)
{
    return summary.contains(QLatin1Char('?')) || summary.contains(QChar(0xFF1F)) ||
           summary.contains(QStringLiteral("吗")) || summary.contains(QStringLiteral("怎么"));
}

// Tone and intent only where the wording says so; otherwise "unclear".
Tone toneOf(const RiskAssessment &risk, const QString &summary, const Words &w)
{
    if (risk.kinds.contains(Kind::Threat))
        return {QStringLiteral("threatening"), w("Threatening", "威胁"), w("To intimidate you", "恐吓你")};
    if (risk.kinds.contains(Kind::Scam))
        return {risk.urgent ? QStringLiteral("pressuring") : QStringLiteral("persuasive"),
                risk.urgent ? w("Pressuring", "施压") : w("Persuasive", "诱导"),
                w("To get money or payment from you", "想让你付钱或转账")};
    if (risk.kinds.contains(Kind::Phishing))
        return {risk.urgent ? QStringLiteral("pressuring") : QStringLiteral("official"),
                risk.urgent ? w("Pressuring", "施压") : w("Official-sounding", "官腔"),
                w("To get you to open a link or give away account details", "想让你点链接或交出账户信息")};
    if (risk.kinds.contains(Kind::Harassment))
        return {QStringLiteral("hostile"), w("Hostile", "敌意"), w("To insult or belittle", "侮辱或贬低")};
    if (risk.friendly)
        return {QStringLiteral("friendly"), w("Friendly", "友好"),
                asksQuestion(summary) ? w("Friendly, and asks a question", "友好地提出一个问题")
                                      : w("To thank, congratulate or encourage", "表达感谢、祝贺或鼓励")};
    if (asksQuestion(summary))
        return {QStringLiteral("unclear"), std::nullopt, w("Asks a question", "提出一个问题")};
    return {QStringLiteral("unclear"), std::nullopt, w("Unclear from the text alone", "仅凭文字无法判断")};
}

QString detectedLanguage(const AnalysisInput &input)
{
    const QString guess = input.textLanguage.isEmpty() ? guessTextLanguage(input.text) : input.textLanguage;
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
    const Provenance from = guessProvenance(cues, hasText);
    const Tone tone = hasText ? toneOf(risk, summaryText, w)
                              : Tone{QStringLiteral("unknown"), std::nullopt, w("Unknown", "未知")};

    protocol::AnalysisResult r;
    r.platform = from.platform;
    r.content_type = from.contentType;
    r.detected_language = hasText ? detectedLanguage(input) : QStringLiteral("unknown");
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
    onField({QStringLiteral("hidden_meaning"), std::nullopt});
    onField({QStringLiteral("risk_level"), r.risk_level});
    onField({QStringLiteral("risk_reason"), r.risk_reason});
    return r;
}

std::function<void(const QString &)> OfflineEngine::firstLinesReader(const FieldSink &onField)
{
    return [onField](const QString &firstLines) {
        const QString summary = extractiveSummary(firstLines);
        if (!summary.isEmpty())
            onField({QStringLiteral("summary"), summary});
    };
}

} // namespace tavolen::service
