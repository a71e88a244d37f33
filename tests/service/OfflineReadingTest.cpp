// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Readings people got wrong from the offline engine, each as OCR gives the
// text of a capture, interface lines and all.

#include "service/OfflineEngine.h"

#include <gtest/gtest.h>

using namespace tavolen;

namespace {

struct Reading {
    protocol::AnalysisResult result;
    std::optional<QString> firstSummary;
};

Reading readText(const QString &text, const QString &uiLanguage = QStringLiteral("en"))
{
    service::OfflineEngine engine;
    Reading out;
    const auto onField = [&](const protocol::FieldEvent &e) {
        if (e.field == QLatin1String("summary") && !out.firstSummary)
            out.firstSummary = e.value;
    };
    const std::atomic<bool> cancelled{false};
    // The page's first lines go to the stream before the whole is read.
    engine.firstLinesReader(onField)(text.section(QLatin1Char('\n'), 0, 2));
    out.result = std::get<protocol::AnalysisResult>(
        engine.analyze({text, QString(), QByteArray(), uiLanguage}, onField, cancelled));
    return out;
}

} // namespace

TEST(OfflineReading, TodaysScamsAreHighRiskWhateverTheirWording)
{
    for (
        const QString &scam : {
            u"Text Message · Today 9:41\nUSPS: Your package is on hold due to an incomplete address.\nPay "
            u"the "
            "$1.99 redelivery fee within 24 hours at usps-redelivery.top to avoid return."_qs,
            u"+44 7700 900123\nonline\nHi Mum, this is my new number, my phone broke.\nCan you send me money "
            "for a bill today?"_qs,
            u"Join our trading group and get 3x returns in 7 days, guaranteed.\nDeposit 500 USDT to start."_qs,
            u"< 微信(3)\n宝贝女儿\n妈，我换号了，这是我的新号码。\n学校要交资料费，你先给我打点钱，急用。"_qs,
            u"【快递理赔】您的快递在运输中丢失，我们将为您办理理赔。\n请添加客服QQ 2836471950 领取赔偿。"_qs,
        }) {
        const protocol::AnalysisResult r = readText(scam).result;
        EXPECT_EQ(r.risk_level, "high") << scam.toStdString();
        EXPECT_TRUE(r.hidden_meaning) << scam.toStdString();
    }
}

TEST(OfflineReading, RiskyWordsUsedInnocentlyRaiseNoAlarm)
{
    for (const QString &post : {
             u"This is stupid good. The new ramen place on 5th is worth the line."_qs,
             u"Thanks for the verification code reminder, I almost forgot to set up two-factor."_qs,
             u"G-482913 is your Google verification code. Don't share it with anyone."_qs,
             u"Heads up: texts saying your USPS package is on hold are a scam. Do not click the link."_qs,
             u"提醒大家：验证码千万不要告诉任何人，银行不会打电话要验证码。"_qs,
             u"Hey it's Sam, this is my new number, save it!"_qs,
         }) {
        const protocol::AnalysisResult r = readText(post).result;
        EXPECT_EQ(r.risk_level, "low") << post.toStdString();
        EXPECT_NE(r.tone, "hostile") << post.toStdString();
        EXPECT_FALSE(r.hidden_meaning) << post.toStdString();
    }
}

TEST(OfflineReading, BackhandedPraiseIsSarcasticNeverFriendly)
{
    for (const QString &post : {u"Wow, bold of you to launch after last week… good luck 🙂"_qs,
                                u"Great job breaking production again, really impressive work"_qs,
                                u"你可真厉害，又迟到了一个小时呢🙂"_qs}) {
        const protocol::AnalysisResult r = readText(post).result;
        EXPECT_EQ(r.tone, "sarcastic") << post.toStdString();
        EXPECT_TRUE(r.hidden_meaning) << post.toStdString();
    }
}

TEST(OfflineReading, HiddenMeaningOfALureIsInTheReadersLanguage)
{
    const QString smish =
        u"Apple: your Apple ID was locked.\nUnlock it within 12 hours at apple.com-unlock.support"_qs;
    EXPECT_EQ(readText(smish).result.hidden_meaning, u"They want you to act before you check the link."_qs);
    EXPECT_EQ(readText(smish, QStringLiteral("zh-Hans")).result.hidden_meaning,
              u"对方想让你来不及核实链接就行动。"_qs);
}

TEST(OfflineReading, TheSummaryIsTheMessagesFirstSentenceWithoutTheInterfaceOrBylineAndShort)
{
    const std::pair<QString, QString> posts[] = {
        {u"Messages\nInstagram Support\n@ig_ support - 2h\nYour account will be disabled.\nStart a new message"_qs,
         u"Your account will be disabled."_qs},
        {u"< 微信(3)\n小王\n明天下午三点开会，别忘了带电脑。\n发送"_qs,
         u"明天下午三点开会，别忘了带电脑。"_qs},
        {u"Inbox\nYour membership is on hold\nFrom: Netflix <billing@netflix-help.com>\nTo: me\nWe could not "
         "process your last payment."_qs,
         u"We could not process your last payment."_qs},
        {u"Home\nJordan Lee\n@jlee · 2h\nShipping the new release tonight.\nReply   Retweet   Like   Share"_qs,
         u"Shipping the new release tonight."_qs},
        {u"Maya Thompson\n@mayagrows · 2h\nThe garden opens on Saturday. Bring gloves."_qs,
         u"The garden opens on Saturday. Bring gloves."_qs},
        {u"See you there, Maya.\n@mayagrows · 2h"_qs, u"See you there, Maya."_qs}, // a sentence is not a name
        {u"= @zhangsan .3 小时\n【通知】您的账户异常，已被冻结。请立即点击以下链接进行身份验证。\n回复 转发 赞"_qs,
         u"【通知】您的账户异常，已被冻结。"_qs},
        {u"@sam see you at the station"_qs, u"@sam see you at the station"_qs},
    };
    for (const auto &[post, summary] : posts) {
        const Reading reading = readText(post);
        EXPECT_EQ(reading.result.summary, summary) << post.toStdString();
        // What streams first is the same summary, or the start of it.
        EXPECT_TRUE(!reading.firstSummary || *reading.firstSummary == summary ||
                    summary.startsWith(*reading.firstSummary))
            << "streamed first: " << reading.firstSummary.value_or(QString()).toStdString();
    }
    EXPECT_EQ(readText(posts[6].first).result.detected_language, "zh");
    EXPECT_FALSE(readText(QStringLiteral("great job @sam")).result.flags.no_text_detected)
        << "a lone line that looks like a byline is still text";

    const protocol::AnalysisResult r =
        readText(QStringLiteral(
                     "Jane Doe @janedoe - 2h\nReply\nThis is the first sentence of a very long post that "
                     "goes on and on about many things, well past what fits on two lines of the panel, "
                     "with more words than anyone would read at a glance, and then it still keeps going "
                     "without a full stop anywhere in sight\n12 Reposts"))
            .result;
    EXPECT_TRUE(r.summary.startsWith(QStringLiteral("This is the first sentence")))
        << r.summary.toStdString();
    EXPECT_LE(r.summary.size(), 220);
    EXPECT_TRUE(r.summary.endsWith(QChar(0x2026)));
}

TEST(OfflineReading, PlatformAndKindComeFromTheInterfaceNeverFromTheSendersName)
{
    const std::pair<QString, const char *> posts[] = {
        {u"Jane Doe @janedoe · 2h\nShipping the new release tonight.\n12 Reposts 40 Likes 1.2K Views"_qs,
         "x/post"},
        {u"Replying to @janedoe\nGreat news, congrats!"_qs, "x/comment"},
        {u"微信\n张三\n明天下午三点开会，别忘了带电脑。\n发消息"_qs, "wechat/message"},
        // The sender calls himself the boss on his "new WeChat": the interface still says WeChat.
        {u"< 微信(3)\n王总\n我是王总，这是我的新微信。\n发送"_qs, "wechat/message"},
        {u"From: Alice <alice@example.com>\nTo: Bob\nSubject: Lunch\nAre you free at noon?"_qs,
         "email/email"},
        {u"Just finished my first marathon."_qs, "unknown/text"},
    };
    for (const auto &[post, expected] : posts) {
        const protocol::AnalysisResult r = readText(post).result;
        EXPECT_EQ(r.platform.toStdString() + "/" + r.content_type.toStdString(), expected)
            << post.toStdString();
    }
    // A sender named after a platform is no sign of it.
    EXPECT_NE(readText(u"Messages\nInstagram Support\n@ig_support · 2h\nAppeal at instagram-appeal.xyz"_qs)
                  .result.platform,
              "instagram");
}
