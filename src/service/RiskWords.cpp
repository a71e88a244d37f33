// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/RiskWords.h"

namespace tavolen::service {

const RiskWords &riskWords()
{
    static const RiskWords words{
        // Scams.
        {"investment opportunity",
         "you have won",
         "you've won",
         "you have been selected",
         "claim your prize",
         "claim your reward",
         "processing fee",
         "release fee",
         "customs fee",
         "unclaimed funds",
         "next of kin",
         "work from home and earn",
         "per day from home",
         "western union",
         "moneygram",
         "中奖",
         "恭喜您获得",
         "恭喜你获得",
         "领取奖品",
         "领奖",
         "刷单",
         "返利",
         "日结",
         "保证金",
         "解冻费",
         "安全账户",
         "急需用钱",
         "借我点钱",
         "借点钱",
         "洗钱"},
        // Phishing.
        {"verify your account",
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
         "update your card",
         "reset your password",
         "security alert",
         "social security number",
         "点击以下链接",
         "账户异常",
         "账号异常",
         "账户冻结",
         "账号冻结",
         "身份验证",
         "登录以下",
         "官方客服",
         "退款链接",
         "重新认证",
         "bestätigen sie",
         "confirmez votre",
         "verifique su"},
        // Threats.
        {"i will kill",     "i'll kill",       "kill you",        "hurt you",
         "you'll regret",   "you will regret", "watch your back", "i know where you live",
         "i will find you", "i'll find you",   "leak your",       "expose you",
         "or else",         "you're dead",     "you are dead",    "beat you up",
         "弄死你",          "杀了你",          "打死你",          "等着瞧",
         "你给我等着",      "后果自负",        "曝光你",          "别怪我不客气",
         "小心你的",        "我知道你住"},
        // Insults.
        {"idiot",         "stupid",        "loser",     "shut up",  "nobody likes you",
         "kill yourself", "kys",           "worthless", "pathetic", "moron",
         "dumbass",       "piece of shit", "retard",    "ugly",     "傻逼",
         "傻b",           "傻x",           "废物",      "脑残",     "白痴",
         "去死",          "滚开",          "给我滚",    "贱人",     "垃圾东西",
         "蠢货"},
        // Kindness.
        {"thank you",   "thanks",         "thx",          "congrats",     "congratulations",
         "well done",   "great job",      "love it",      "love this",    "awesome",
         "amazing",     "happy birthday", "appreciate",   "proud of you", "welcome",
         "good luck",   "have a great",   "so happy for", "so good",      "love you",
         "谢谢",        "感谢",           "恭喜",         "祝贺",         "生日快乐",
         "辛苦了",      "太棒了",         "真棒",         "哈哈",         "加油",
         "喜欢",        "祝你",           "欢迎",         "merci",        "génial",
         "danke",       "super nett",     "gracias",      "feliz",        "спасибо",
         "понравилось", "ありがとう",     "楽しかった",   "축하",         "행복"},
    };
    return words;
}

} // namespace tavolen::service
