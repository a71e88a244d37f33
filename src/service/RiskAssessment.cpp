// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/RiskAssessment.h"

namespace tavolen::service {

namespace {

QStringList words(const char *const *list, std::size_t n)
{
    QStringList out;
    for (std::size_t i = 0; i < n; ++i)
        out << QString::fromUtf8(list[i]);
    return out;
}

template <std::size_t N> QStringList words(const char *const (&list)[N])
{
    return words(list, N);
}

const char *const kScam[] = {
    "gift card",
    "gift cards",
    "wire transfer",
    "western union",
    "moneygram",
    "bitcoin",
    "btc wallet",
    "crypto wallet",
    "usdt",
    "investment opportunity",
    "guaranteed return",
    "guaranteed profit",
    "double your money",
    "you have won",
    "you've won",
    "you have been selected",
    "claim your prize",
    "claim your reward",
    "lottery",
    "inheritance",
    "processing fee",
    "release fee",
    "customs fee",
    "send money",
    "send me money",
    "bank details",
    "cash app",
    "zelle",
    "risk-free",
    "risk free",
    "unclaimed funds",
    "next of kin",
    "work from home and earn",
    "earn $",
    "per day from home",
    "转账",
    "汇款",
    "中奖",
    "恭喜您获得",
    "恭喜你获得",
    "领取奖品",
    "领奖",
    "高额回报",
    "稳赚",
    "保证收益",
    "刷单",
    "返利",
    "日结",
    "手续费",
    "保证金",
    "解冻费",
    "安全账户",
    "比特币",
    "虚拟货币",
    "投资理财",
    "急需用钱",
    "借我点钱",
    "借点钱",
};

const char *const kPhishing[] = {
    "verify your account",
    "verify your identity",
    "confirm your identity",
    "confirm your account",
    "account has been suspended",
    "account is suspended",
    "account will be locked",
    "account will be closed",
    "account has been locked",
    "unusual activity",
    "suspicious activity",
    "unusual sign-in",
    "update your payment",
    "update your billing",
    "reset your password",
    "security alert",
    "one-time code",
    "verification code",
    "social security number",
    "验证码",
    "点击以下链接",
    "账户异常",
    "账号异常",
    "账户冻结",
    "账号冻结",
    "身份验证",
    "银行卡号",
    "登录以下",
    "官方客服",
    "退款链接",
};

// Everyday words that add to other signs of phishing but mean nothing alone.
const char *const kPhishingWeak[] = {
    "click the link", "click this link", "click here", "click below", "log in to", "login to",
    "sign in to",     "your password",   "点击链接",   "点这个链接",  "密码",      "登录",
};

const char *const kThreat[] = {
    "i will kill",     "i'll kill",       "kill you",        "hurt you",
    "you'll regret",   "you will regret", "watch your back", "i know where you live",
    "i will find you", "i'll find you",   "leak your",       "expose you",
    "or else",         "you're dead",     "you are dead",    "beat you up",
    "弄死你",          "杀了你",          "打死你",          "等着瞧",
    "你给我等着",      "后果自负",        "曝光你",          "别怪我不客气",
    "小心你的",        "我知道你住",
};

const char *const kHarassment[] = {
    "idiot",         "stupid",        "loser",     "shut up",  "nobody likes you",
    "kill yourself", "kys",           "worthless", "pathetic", "moron",
    "dumbass",       "piece of shit", "retard",    "ugly",     "傻逼",
    "傻b",           "傻x",           "废物",      "脑残",     "白痴",
    "去死",          "滚开",          "给我滚",    "贱人",     "垃圾东西",
    "蠢货",
};

const char *const kUrgent[] = {
    "urgent",     "urgently",     "immediately", "act now",       "right away",   "asap", "within 24 hours",
    "within 24h", "final notice", "last chance", "expires today", "limited time", "紧急", "立即",
    "立刻",       "马上",         "尽快",        "24小时内",      "最后通知",     "限时",
};

const char *const kFriendly[] = {
    "thank you", "thanks",         "thx",          "congrats",     "congratulations",
    "well done", "great job",      "love it",      "love this",    "awesome",
    "amazing",   "happy birthday", "appreciate",   "proud of you", "welcome",
    "good luck", "have a great",   "so happy for", "谢谢",         "感谢",
    "恭喜",      "祝贺",           "生日快乐",     "辛苦了",       "太棒了",
    "真棒",      "哈哈",           "加油",         "喜欢",         "祝你",
    "欢迎",
};

// The reader's own language.
struct Words {
    bool zh;
    QString operator()(const char *en, const char *zh) const { return QString::fromUtf8(this->zh ? zh : en); }
};

QString kindText(RiskAssessment::Kind kind, const Words &w)
{
    switch (kind) {
    case RiskAssessment::Kind::Scam:
        return w("a scam", "诈骗");
    case RiskAssessment::Kind::Phishing:
        return w("phishing", "钓鱼");
    case RiskAssessment::Kind::Threat:
        return w("a threat", "威胁");
    case RiskAssessment::Kind::Harassment:
        return w("harassment", "骚扰或辱骂");
    }
    return {};
}

} // namespace

RiskAssessment assessRisk(const TextCues &cues)
{
    RiskAssessment out;
    // Made once: every analysis reads them.
    static const QStringList threatWords = words(kThreat), scamWords = words(kScam),
                             phishingWords = words(kPhishing), harassmentWords = words(kHarassment),
                             weakWords = words(kPhishingWeak), urgentWords = words(kUrgent),
                             friendlyWords = words(kFriendly);
    const QStringList threat = cues.found(threatWords);
    const QStringList scam = cues.found(scamWords);
    const QStringList phishing = cues.found(phishingWords);
    const QStringList harassment = cues.found(harassmentWords);
    const QStringList weak = cues.found(weakWords);
    out.urgent = cues.any(urgentWords);
    out.friendly = cues.any(friendlyWords);

    // A link beside account or payment wording is the core of phishing;
    // "click here" beside a link and pressure is suspicious even alone.
    const bool link = cues.hasLink();
    const int fraudSigns =
        int(scam.size() + phishing.size() + weak.size()) + (out.urgent ? 1 : 0) + (link ? 1 : 0);
    QStringList phishingSigns = phishing;
    if (!weak.isEmpty() && (link || out.urgent || !phishing.isEmpty() || !scam.isEmpty()))
        phishingSigns << weak;
    if (!threat.isEmpty())
        out.kinds << RiskAssessment::Kind::Threat;
    if (scam.size() >= phishingSigns.size() && !scam.isEmpty())
        out.kinds << RiskAssessment::Kind::Scam;
    if (!phishingSigns.isEmpty())
        out.kinds << RiskAssessment::Kind::Phishing;
    if (scam.size() < phishingSigns.size() && !scam.isEmpty())
        out.kinds << RiskAssessment::Kind::Scam;
    if (!harassment.isEmpty())
        out.kinds << RiskAssessment::Kind::Harassment;

    const bool strongFraud = !scam.isEmpty() || !phishing.isEmpty();
    const bool fraud = strongFraud || !phishingSigns.isEmpty();
    if (!threat.isEmpty() || (strongFraud && fraudSigns >= 2) || (fraud && fraudSigns >= 3))
        out.level = QStringLiteral("high");
    else if (fraud || !harassment.isEmpty())
        out.level = QStringLiteral("medium");

    for (const QStringList *list :
         std::initializer_list<const QStringList *>{&threat, &scam, &phishingSigns, &harassment})
        out.evidence << *list;
    out.evidence = out.evidence.mid(0, 3);
    return out;
}

std::optional<QString> riskReason(const RiskAssessment &risk, bool zh)
{
    const Words w{zh};
    if (risk.kinds.isEmpty())
        return std::nullopt;
    QStringList kinds;
    for (RiskAssessment::Kind k : risk.kinds)
        kinds << kindText(k, w);
    QStringList quoted;
    for (const QString &e : risk.evidence)
        quoted << (w.zh ? QStringLiteral("“%1”").arg(e) : QStringLiteral("\"%1\"").arg(e));
    const QString list = kinds.join(w.zh ? QStringLiteral("、") : QStringLiteral(" or "));
    QString reason =
        w.zh ? QStringLiteral("含有%1常见的措辞：%2").arg(list, quoted.join(QStringLiteral("、")))
             : QStringLiteral("Uses wording typical of %1: %2").arg(list, quoted.join(QStringLiteral(", ")));
    if (risk.urgent && (risk.kinds.contains(RiskAssessment::Kind::Scam) ||
                        risk.kinds.contains(RiskAssessment::Kind::Phishing)))
        reason += w("; it also pushes you to act at once", "，并催你立刻行动");
    return reason + w(".", "。");
}

} // namespace tavolen::service
