// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/RiskAssessment.h"

#include "service/FraudCues.h"
#include "service/RiskWords.h"

#include <QRegularExpression>

namespace tavolen::service {

namespace {

using Sign = RiskAssessment::Sign;
using Kind = RiskAssessment::Kind;

// The reader's own language.
struct Words {
    bool zh;
    QString operator()(const char *en, const char *zh) const { return QString::fromUtf8(this->zh ? zh : en); }
};

QString kindText(Kind kind, const Words &w)
{
    switch (kind) {
    case Kind::Scam:
        return w("a scam", "诈骗");
    case Kind::Phishing:
        return w("phishing", "钓鱼");
    case Kind::Threat:
        return w("a threat", "威胁");
    case Kind::Harassment:
        return w("harassment", "骚扰或辱骂");
    }
    return {};
}

QString signText(Sign sign, const RiskAssessment &risk, const Words &w)
{
    switch (sign) {
    case Sign::LookAlikeLink:
        return (w.zh ? QStringLiteral("链接冒用了%1的名字，却不是它的网址")
                     : QStringLiteral("a link borrows the name %1 on a domain that is not theirs"))
            .arg(risk.brands.join(QLatin1Char('/')));
    case Sign::ThrowawayLink:
        return w("a link on a throwaway domain", "链接用的是廉价的一次性域名");
    case Sign::HiddenLink:
        return w("a link that hides where it leads", "链接隐藏了真实去向");
    case Sign::MoneyAsked:
        return w("it asks for money", "要钱或要求付款");
    case Sign::NewChannel:
        return w("it moves you to another app or contact", "要你换到别的聊天工具或联系方式");
    case Sign::NewNumber:
        return w("the writer says they have a new number", "对方说自己换了号码");
    case Sign::SecretAsked:
        return w("it asks for a code, card details or gift cards", "索要验证码、银行卡信息或礼品卡");
    case Sign::Promise:
        return w("it promises returns no honest offer guarantees", "承诺正规投资不可能保证的收益");
    case Sign::AccountHeld:
        return w("it says your account or parcel is held", "声称你的账户或包裹出了问题");
    case Sign::Authority:
        return w("the sender claims an office they cannot prove", "对方自称某种无法核实的身份");
    case Sign::Blackmail:
        return w("it demands something under threat", "以威胁逼你就范");
    }
    return {};
}

bool aimedAtSomeone(const TextCues &cues)
{
    static const QRegularExpression you(QStringLiteral("\\b(you|your|you're|youre|u|ur|yourself)\\b"));
    return cues.words().contains(you) || cues.words().contains(QChar(0x4F60)) ||
           cues.words().contains(QChar(0x60A8));
}

} // namespace

RiskAssessment assessRisk(const TextCues &cues)
{
    RiskAssessment out;
    const RiskWords &lists = riskWords();
    const QStringList threat = cues.found(lists.threat);
    const QStringList scam = cues.foundAffirmed(lists.scam);
    const QStringList phishing = cues.foundAffirmed(lists.phishing);
    const QStringList harassment = aimedAtSomeone(cues) ? cues.found(lists.harassment) : QStringList();
    const FraudCues f = readFraudCues(cues, cues.original());
    out.urgent = f.urgent;
    out.friendly = cues.any(lists.friendly);
    out.brands = f.links.brands;

    const bool threatened = !threat.isEmpty() || f.blackmail;
    // A text that warns about scams names their moves without making them,
    // unless it carries a suspicious link itself.
    const bool fraudCounts = !f.warning || f.links.suspicious();
    const bool strongScam = fraudCounts && !scam.isEmpty();
    const bool phish = fraudCounts && !phishing.isEmpty();
    const auto sign = [&](bool found, Sign s) {
        if (found && (fraudCounts || s == Sign::Blackmail))
            out.signs << s;
    };
    sign(f.links.lookAlike, Sign::LookAlikeLink);
    sign(f.links.throwaway, Sign::ThrowawayLink);
    sign(f.links.hidden, Sign::HiddenLink);
    sign(f.secretAsked, Sign::SecretAsked);
    sign(f.promise, Sign::Promise);
    sign(f.newNumber && f.money, Sign::NewNumber);
    sign(!f.newNumber && f.newChannel && f.money, Sign::NewChannel);
    sign(f.money && (f.links.any || f.urgent || f.newChannel || f.claimsAuthority || strongScam || f.promise),
         Sign::MoneyAsked);
    sign(f.accountHeld && (f.links.any || f.secretAsked), Sign::AccountHeld);
    sign(f.claimsAuthority && (f.money || f.secretAsked), Sign::Authority);
    sign(f.blackmail, Sign::Blackmail);

    const bool suspiciousLink = fraudCounts && f.links.suspicious();
    const bool high =
        threatened || (fraudCounts && f.links.lookAlike && (f.links.throwaway || f.links.hidden)) ||
        (suspiciousLink && (f.money || f.urgent || f.accountHeld || f.secretAsked || phish || strongScam)) ||
        (fraudCounts && f.secretAsked &&
         (f.links.any || f.urgent || f.newChannel || f.claimsAuthority || f.money)) ||
        (fraudCounts && f.newChannel && f.money) ||
        (fraudCounts && f.promise && (f.money || f.urgent || f.links.any)) ||
        (strongScam && (scam.size() >= 2 || f.money || f.urgent || f.links.any || f.newChannel)) ||
        (phish && (f.links.any || f.urgent || f.accountHeld)) ||
        (fraudCounts && f.claimsAuthority && f.money && f.urgent);
    const bool fraud = strongScam || phish || !out.signs.isEmpty();

    if (threatened)
        out.kinds << Kind::Threat;
    const bool linkLed = suspiciousLink || phish || f.secretAsked || out.has(Sign::AccountHeld);
    const bool moneyLed = strongScam || f.promise || out.has(Sign::NewChannel) || out.has(Sign::NewNumber) ||
                          out.has(Sign::MoneyAsked);
    if (fraud && !f.blackmail) {
        if (linkLed && !(moneyLed && !suspiciousLink))
            out.kinds << Kind::Phishing;
        if (moneyLed)
            out.kinds << Kind::Scam;
        if (linkLed && moneyLed && !suspiciousLink)
            out.kinds << Kind::Phishing;
    }
    if (!harassment.isEmpty())
        out.kinds << Kind::Harassment;

    if (high)
        out.level = QStringLiteral("high");
    else if (fraud || !harassment.isEmpty())
        out.level = QStringLiteral("medium");

    for (const QStringList *list :
         std::initializer_list<const QStringList *>{&threat, &scam, &phishing, &harassment})
        out.evidence << *list;
    if (!fraudCounts)
        out.evidence = QStringList(threat) << harassment;
    out.evidence = out.evidence.mid(0, 3);
    return out;
}

std::optional<QString> riskReason(const RiskAssessment &risk, bool zh)
{
    const Words w{zh};
    if (risk.kinds.isEmpty())
        return std::nullopt;
    QStringList kinds;
    for (Kind k : risk.kinds)
        kinds << kindText(k, w);
    QStringList shown;
    for (const QString &e : risk.evidence)
        shown << (w.zh ? QStringLiteral("“%1”").arg(e) : QStringLiteral("\"%1\"").arg(e));
    for (Sign s : risk.signs)
        shown << signText(s, risk, w);
    const QString list = kinds.join(w.zh ? QStringLiteral("、") : QStringLiteral(" or "));
    QString reason = w.zh ? QStringLiteral("符合%1的特征：%2").arg(list, shown.join(QStringLiteral("；")))
                          : QStringLiteral("Looks like %1: %2").arg(list, shown.join(QStringLiteral("; ")));
    if (risk.urgent && (risk.kinds.contains(Kind::Scam) || risk.kinds.contains(Kind::Phishing)))
        reason += w("; it also pushes you to act at once", "，并催你立刻行动");
    return reason + w(".", "。");
}

} // namespace tavolen::service
