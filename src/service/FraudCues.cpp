// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/FraudCues.h"

#include <QRegularExpression>

namespace tavolen::service {

namespace {

QRegularExpression pattern(const char *p)
{
    return QRegularExpression(QString::fromUtf8(p), QRegularExpression::UseUnicodePropertiesOption);
}

bool amountOfMoney(const TextCues &cues)
{
    static const QRegularExpression amount = pattern(
        "[$€£¥₩]\\s?\\d|\\d+([.,]\\d+)?\\s?(usd|eur|euros?|usdt|btc|eth|dollars?|pounds|元|块|万|rmb|円|원|"
        "руб)|[一二三四五六七八九十百千万两几]+\\s?(元|块|万)");
    return cues.words().contains(amount);
}

const QStringList &moneyWords()
{
    static const QStringList w = {"send money",  "send me money", "transfer",   "wire",    "pay",   "payment",
                                  "fee",         "deposit",       "refund",     "bitcoin", "btc",   "usdt",
                                  "gift card",   "gift cards",    "paid daily", "earn",    "转账",  "汇款",
                                  "打点钱",      "打钱",          "付款",       "充值",    "垫付",  "手续费",
                                  "赔偿",        "理赔",          "退款",       "资金",    "转入",  "转五",
                                  "交资料费",    "transferencia", "dinero",     "frais",   "payez", "zahlung",
                                  "überweisung", "入金",          "입금",       "원금",    "수익",  "оплат",
                                  "перевод"};
    return w;
}

const QStringList &urgentWords()
{
    static const QStringList w = {"urgent",        "urgently",
                                  "immediately",   "act now",
                                  "right away",    "asap",
                                  "final notice",  "last chance",
                                  "expires today", "limited time",
                                  "verify now",    "pay now",
                                  "quickly",       "only for the next",
                                  "spots left",    "紧急",
                                  "立即",          "立刻",
                                  "马上",          "尽快",
                                  "最后通知",      "限时",
                                  "急用",          "急需",
                                  "名额有限",      "最后一天",
                                  "今日停用",      "urgente",
                                  "sofort",        "срочно",
                                  "至急",          "긴급",
                                  "바로"};
    return w;
}

const QStringList &handOffWords()
{
    static const QStringList w = {"on telegram", "on whatsapp", "on signal", "whatsapp me",
                                  "telegram @",  "加qq",        "客服qq",    "qq群",
                                  "加微信",      "添加客服",    "加我微信"};
    return w;
}

const QStringList &newNumberWords()
{
    static const QStringList w = {
        "new number",   "my number",    "phone broke",    "new phone",      "lost my phone", "换号",
        "新号码",       "新号",         "新微信",         "número nuevo",   "nuevo número",  "mi número",
        "numero nuevo", "nuevo numero", "nouveau numéro", "nouveau numero", "neue nummer",   "новый номер"};
    return w;
}

// Promises no honest offer makes; "returns" alone is everyday.
const QStringList &promiseWords()
{
    static const QStringList w = {"double your", "稳赚",     "翻倍",     "翻三倍",
                                  "保证收益",    "高额回报", "원금 보장"};
    return w;
}

const QStringList &heldWords()
{
    static const QStringList w = {"on hold",
                                  "will be disabled",
                                  "disabled",
                                  "locked",
                                  "suspended",
                                  "blocked",
                                  "limited",
                                  "held at",
                                  "unpaid",
                                  "could not process",
                                  "unable to deliver",
                                  "冻结",
                                  "停用",
                                  "失效",
                                  "异常",
                                  "丢失",
                                  "en attente",
                                  "gesperrt",
                                  "bloqueada",
                                  "заблокирована",
                                  "持ち帰りました",
                                  "不在"};
    return w;
}

const QStringList &authorityWords()
{
    static const QStringList w = {"support", "ceo",    "barrister", "officer", "customer service",
                                  "公安",    "民警",   "警察",      "客服",    "王总",
                                  "领导",    "检察院", "法院"};
    return w;
}

const QStringList &warningWords()
{
    static const QStringList w = {"scam",      "scams",    "fraud",    "red flag",        "never asks",
                                  "never ask", "heads up", "beware",   "regulators warn", "诈骗",
                                  "骗局",      "不可信",   "不要相信", "提醒大家",        "防骗",
                                  "arnaque",   "betrug",   "estafa"};
    return w;
}

} // namespace

FraudCues readFraudCues(const TextCues &cues, const QString &text)
{
    FraudCues f;
    f.links = readLinks(text);
    const QString &w = cues.words();
    f.money = amountOfMoney(cues) || cues.any(moneyWords());
    static const QRegularExpression deadline =
        pattern("within \\d+\\s?(hours?|hrs|h|minutes?|days?)|next \\d+ minutes|only \\d+ "
                "(spots|places)|\\d+\\s?(小时|"
                "小時|時間|시간|stunden|heures|horas|часа|часов)|二十四小时|24小时");
    // "Today" alone is the time a chat shows; beside a payment it is a deadline.
    static const QRegularExpression payToday = pattern("\\b(pay|send|transfer|deposit|buy)\\b[^.!?]{0,60}"
                                                       "\\btoday\\b|\\btoday\\b[^.!?]{0,30}\\b(pay|send)\\b|"
                                                       "(付|转|打|充值)[^。！？]{0,10}今天|今天[^。！？]{0,"
                                                       "10}(付|转|打钱|充值)|transferencia[^.!?]{0,40}hoy");
    f.urgent = cues.any(urgentWords()) || w.contains(deadline) || w.contains(payToday);
    static const QRegularExpression qqNumber = pattern("\\b(qq|vx|wx)\\s?[:：]?\\s?\\d{5,}");
    static const QRegularExpression addOn =
        pattern("\\badd (me|us|our \\w+|my \\w+) on (telegram|whatsapp|signal|wechat)");
    f.newNumber = cues.any(newNumberWords());
    f.newChannel = f.newNumber || cues.any(handOffWords()) || w.contains(qqNumber) || w.contains(addOn);
    // A code, card or gift card asked for; a warning not to share one is not.
    static const QRegularExpression asked = pattern(
        "\\b(send|forward|give|share|tell|read|enter|provide|scratch|text)\\b[^!?]{0,40}\\b(codes?|card "
        "details|"
        "card number|pin|password)\\b|\\bcodes?\\b.{0,60}\\b(forward|send|give) "
        "(it|them|me)\\b|\\bbuy\\b[^.!?]{0,40}"
        "gift cards?|(提供|发给我|告诉我|发我|输入|报一下)[^。！？]{0,10}(验证码|银行卡|卡号|密码)|введите "
        "код");
    f.secretAsked = cues.affirmed(asked);
    static const QRegularExpression promised = pattern(
        "\\bsend\\b.{0,20}(btc|eth|usdt).{0,40}\\bsend\\b.{0,10}\\bback\\b|\\b\\d+x (returns|profits?)|"
        "guarantee[^.!?]{0,40}(returns?|profits?)|(returns?|profits?)[^.!?]{0,40}guaranteed|수익[^.!?]{0,20}"
        "확정|"
        "garant[^.!?]{0,30}(rendite|gewinn|rentab)");
    f.promise = cues.any(promiseWords()) || w.contains(promised);
    f.accountHeld = cues.any(heldWords());
    static const QRegularExpression iAm =
        pattern("我是[^，。！？]{0,8}(公安|民警|警察|客服|王总|领导|经理|老师)|\\bthis is "
                "[^.!?]{0,20}(support|security team|the bank)");
    f.claimsAuthority = w.contains(iAm) || (f.links.freeMailSender && cues.any(authorityWords()));
    static const QRegularExpression payOrElse =
        pattern("\\bor (i|l|\\|) "
                "?(will|'ll)\\b[^.!?]{0,40}\\b(share|send|post|publish|leak|tell|show)|(不转|不给|不还|不交)["
                "^。！？]{0,12}"
                "(就|我就)");
    f.blackmail = w.contains(payOrElse);
    f.warning = cues.any(warningWords());
    return f;
}

} // namespace tavolen::service
