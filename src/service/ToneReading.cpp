// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/ToneReading.h"

#include <QRegularExpression>

namespace tavolen::service {

namespace {

using Kind = RiskAssessment::Kind;

struct Words {
    bool zh;
    QString operator()(const char *en, const char *zh) const { return QString::fromUtf8(this->zh ? zh : en); }
};

bool asksQuestion(const QString &summary)
{
    return summary.contains(QLatin1Char('?')) || summary.contains(QChar(0xFF1F)) ||
           summary.contains(QStringLiteral("吗")) || summary.contains(QStringLiteral("怎么"));
}

const QStringList kComplaint = {"worst", "rude", "terrible", "awful", "disgusting", "never coming back",
                                "太差",  "恶心", "再也不来"};
const QStringList kPressure = {"must", "hurry", "ends tonight", "don't miss", "last chance",
                               "必须", "马上",  "不能再拖",     "赶紧"};
const QStringList kFormal = {"dear",
                             "sehr geehrte",
                             "mit freundlichen",
                             "sincerely",
                             "regards",
                             "attached",
                             "please review",
                             "your order",
                             "has shipped",
                             "maintenance",
                             "is your",
                             "estimado",
                             "madame",
                             "monsieur",
                             "уважаем",
                             "您",
                             "各位",
                             "尊敬",
                             "【"};

} // namespace

bool soundsBackhanded(const TextCues &cues)
{
    static const QStringList praise = {"wow",
                                       "bold of you",
                                       "great job",
                                       "oh great",
                                       "impressive",
                                       "thanks for the quick",
                                       "love that for us",
                                       "good luck",
                                       "nice going",
                                       "well done",
                                       "genius",
                                       "bravo",
                                       "真厉害",
                                       "可真",
                                       "佩服",
                                       "了不起",
                                       "真行",
                                       "真棒"};
    // What went wrong, said beside the praise; an ironic smile counts too.
    static const QRegularExpression barb(QStringLiteral(
        "\\b(again|after last week|only took|could have been|another meeting|breaking|broke|\\d+ weeks)\\b|"
        "又|难吃|迟到|搞砸|失败|难看|🙂|🙃|🙄|😒"));
    return cues.any(praise) && cues.words().contains(barb);
}

ToneReading readTone(const RiskAssessment &risk, const TextCues &cues, const QString &summary, bool zh)
{
    const Words w{zh};
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
    if (soundsBackhanded(cues))
        return {QStringLiteral("sarcastic"), w("Sarcastic", "讽刺"),
                w("To mock while seeming to praise", "表面夸奖，实则挖苦")};
    if (cues.any(kComplaint))
        return {QStringLiteral("hostile"), w("Hostile", "敌意"), w("To complain", "抱怨")};
    if (risk.friendly)
        return {QStringLiteral("friendly"), w("Friendly", "友好"),
                asksQuestion(summary) ? w("Friendly, and asks a question", "友好地提出一个问题")
                                      : w("To thank, congratulate or encourage", "表达感谢、祝贺或鼓励")};
    if (risk.urgent || cues.any(kPressure))
        return {QStringLiteral("pressuring"), w("Pressing", "催促"),
                w("To make you act soon", "催你尽快行动")};
    if (cues.any(kFormal))
        return {QStringLiteral("formal"), w("Formal", "正式"),
                asksQuestion(summary) ? w("Asks a question", "提出一个问题")
                                      : w("To inform you", "告知信息")};
    if (asksQuestion(summary))
        return {QStringLiteral("unclear"), std::nullopt, w("Asks a question", "提出一个问题")};
    return {QStringLiteral("unclear"), std::nullopt, w("Unclear from the text alone", "仅凭文字无法判断")};
}

} // namespace tavolen::service
