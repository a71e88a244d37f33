// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/OfflineEngine.h"

#include <QList>

#include <gtest/gtest.h>

using namespace tavolen;

namespace {

struct Reading {
    protocol::AnalysisResult result;
    QList<protocol::FieldEvent> fields;
};

Reading readText(const QString &text, const QString &uiLanguage = QStringLiteral("en"))
{
    service::OfflineEngine engine;
    Reading out;
    const std::atomic<bool> running{false};
    service::EngineOutcome outcome = engine.analyze(
        {text, QString(), QByteArray(), uiLanguage}, [&](const protocol::FieldEvent &e) { out.fields << e; },
        running);
    EXPECT_TRUE(std::holds_alternative<protocol::AnalysisResult>(outcome));
    if (auto *r = std::get_if<protocol::AnalysisResult>(&outcome))
        out.result = *r;
    return out;
}

TEST(OfflineEngine, ScamAndPhishingMessagesAreHighRiskInEitherLanguage)
{
    const QString posts[] = {
        QStringLiteral(
            "Congratulations! You have won a $1000 Walmart gift card.\nClick here to claim your prize: "
            "http://bit.ly/win-now\nOffer expires today, act now!"),
        QStringLiteral("Security alert: unusual activity on your account. Your account will be locked within "
                       "24 hours.\nVerify your account at www.paypa1-secure.com"),
        QStringLiteral(
            "【工商银行】您的账户异常，已被冻结。请立即点击以下链接进行身份验证：http://icbc-vip.top"),
        QStringLiteral("恭喜您获得iPhone一部！请先支付手续费200元到安全账户，24小时内领取奖品。"),
    };
    for (const QString &post : posts) {
        const protocol::AnalysisResult r = readText(post).result;
        EXPECT_EQ(r.risk_level, "high") << post.toStdString();
        ASSERT_TRUE(r.risk_reason) << post.toStdString();
        EXPECT_FALSE(r.respondable.value_or(true));
        EXPECT_FALSE(r.best_reply);
    }
}

TEST(OfflineEngine, AFriendlyCommentIsLowRiskAndFriendly)
{
    for (const QString &post :
         {QStringLiteral("Congrats on the new job, Sam! So happy for you, well deserved."),
          QStringLiteral("谢谢你昨天的帮忙，辛苦了！周末一起吃饭吧。")}) {
        const Reading reading = readText(post);
        EXPECT_EQ(reading.result.risk_level, "low") << post.toStdString();
        EXPECT_FALSE(reading.result.risk_reason);
        EXPECT_EQ(reading.result.tone, "friendly") << post.toStdString();
        EXPECT_EQ(reading.result.tone_label, std::optional<QString>(QStringLiteral("Friendly")));
    }
}

TEST(OfflineEngine, ThreatsAreHighAndInsultsMedium)
{
    const protocol::AnalysisResult threat =
        readText(QStringLiteral("Delete that post or else. I know where you live.")).result;
    EXPECT_EQ(threat.risk_level, "high");
    EXPECT_EQ(threat.tone, "threatening");
    const protocol::AnalysisResult insult =
        readText(QStringLiteral("You are such an idiot, nobody asked you.")).result;
    EXPECT_EQ(insult.risk_level, "medium");
    EXPECT_EQ(insult.tone, "hostile");
    EXPECT_EQ(readText(QStringLiteral("你这个废物，给我滚开")).result.risk_level, "medium");
}

TEST(OfflineEngine, OrdinaryWordsThatAlsoAppearInScamsAreNotEnough)
{
    for (const QString &post : {QStringLiteral("I can't log in to the forum today, is it down for everyone?"),
                                QStringLiteral("The lottery scene in this novel is the best chapter."),
                                QStringLiteral("We prized the old piano above everything else.")}) {
        EXPECT_NE(readText(post).result.risk_level, "high") << post.toStdString();
    }
    EXPECT_EQ(readText(QStringLiteral("We prized the old piano above everything else.")).result.risk_level,
              "low")
        << "phrases match whole words only";
}

TEST(OfflineEngine, ItSaysOnlyWhatTheTextShowsAndWritesNoReplies)
{
    const Reading reading = readText(QStringLiteral("The meeting moved to room 4B.\nBring the slides."));
    const protocol::AnalysisResult &r = reading.result;
    EXPECT_EQ(r.tone, "unclear");
    EXPECT_FALSE(r.tone_label);
    EXPECT_FALSE(r.hidden_meaning);
    EXPECT_FALSE(r.full_translation);
    EXPECT_FALSE(r.reply_language);
    EXPECT_EQ(r.platform, "unknown");
    EXPECT_EQ(r.detected_language, "en");
    EXPECT_EQ(r.summary, "The meeting moved to room 4B. Bring the slides.");
    EXPECT_TRUE(r.recommended_action.contains(QStringLiteral("language model")));
    EXPECT_FALSE(r.auto_copy);
    EXPECT_FALSE(r.flags.no_text_detected);
}

TEST(OfflineEngine, TheEarlyFieldsGoOutInOrderWithTheReadingsValues)
{
    const Reading reading =
        readText(QStringLiteral("URGENT: wire transfer needed today, send money to this account."),
                 QStringLiteral("zh-Hans"));
    const protocol::AnalysisResult &r = reading.result;
    const QList<protocol::FieldEvent> expected = {{QStringLiteral("tone_label"), r.tone_label},
                                                  {QStringLiteral("summary"), r.summary},
                                                  {QStringLiteral("hidden_meaning"), std::nullopt},
                                                  {QStringLiteral("risk_level"), r.risk_level},
                                                  {QStringLiteral("risk_reason"), r.risk_reason}};
    EXPECT_EQ(reading.fields, expected);
    EXPECT_EQ(r.tone_label, std::optional<QString>(QStringLiteral("施压")));
    EXPECT_TRUE(r.risk_reason->contains(QStringLiteral("诈骗")));
}

TEST(OfflineEngine, NoTextIsFlaggedAndExplainedInTheUsersLanguage)
{
    for (const QString &text : {QString(), QStringLiteral("  \n @ \n 12 \n")}) {
        const protocol::AnalysisResult r = readText(text, QStringLiteral("zh-Hans")).result;
        EXPECT_TRUE(r.flags.no_text_detected) << text.toStdString();
        EXPECT_EQ(r.summary, QStringLiteral("这张截图里没有识别到文字。"));
        EXPECT_EQ(r.risk_level, "low");
        EXPECT_EQ(r.detected_language, "unknown");
        EXPECT_EQ(r.content_type, "none");
    }
}

TEST(OfflineEngine, PlatformAndKindComeFromTheApplicationsOwnWords)
{
    const auto from = [](const QString &text) {
        const protocol::AnalysisResult r = readText(text).result;
        return r.platform.toStdString() + "/" + r.content_type.toStdString();
    };
    EXPECT_EQ(
        from(QStringLiteral("Jane Doe @janedoe · 2h\nShipping the new release tonight.\n12 Reposts 40 Likes "
                            "1.2K Views")),
        "x/post");
    EXPECT_EQ(from(QStringLiteral("Replying to @janedoe\nGreat news, congrats!")), "x/comment");
    EXPECT_EQ(from(QStringLiteral("微信\n张三\n明天下午三点开会，别忘了带电脑。\n发消息")), "wechat/message");
    EXPECT_EQ(from(QStringLiteral(
                  "From: Alice <alice@example.com>\nTo: Bob\nSubject: Lunch\nAre you free at noon?")),
              "email/email");
    EXPECT_EQ(from(QStringLiteral("Just finished my first marathon.")), "unknown/text");
}

TEST(OfflineEngine, TheSummarySkipsTheInterfaceAndStaysShort)
{
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

TEST(OfflineEngine, ADisplayNameAboveItsHandleIsNotPartOfTheSummary)
{
    EXPECT_EQ(readText(QStringLiteral("Maya Thompson\n@mayagrows · 2h\nThe garden opens on Saturday. Bring "
                                      "gloves."))
                  .result.summary,
              QStringLiteral("The garden opens on Saturday. Bring gloves."));
    EXPECT_EQ(readText(QStringLiteral("See you there, Maya.\n@mayagrows · 2h")).result.summary,
              QStringLiteral("See you there, Maya."))
        << "a sentence is not a name";
}

TEST(OfflineEngine, AChineseSummaryEndsAtItsFirstSentenceAfterTheByline)
{
    const protocol::AnalysisResult r =
        readText(QStringLiteral(
                     "= @zhangsan .3 "
                     "小时\n【通知】您的账户异常，已被冻结。请立即点击以下链接进行身份验证。\n回复 转发 赞"))
            .result;
    EXPECT_EQ(r.summary, QStringLiteral("【通知】您的账户异常，已被冻结。"));
    EXPECT_EQ(r.detected_language, "zh");
    EXPECT_EQ(readText(QStringLiteral("@sam see you at the station")).result.summary,
              QStringLiteral("@sam see you at the station"));
    EXPECT_FALSE(readText(QStringLiteral("great job @sam")).result.flags.no_text_detected)
        << "a lone line that looks like a byline is still text";
}

TEST(OfflineEngine, CardNumbersAndWrittenPasswordsAreSensitive)
{
    EXPECT_TRUE(
        readText(QStringLiteral("my card is 4111 1111 1111 1111 exp 12/29")).result.flags.sensitive_pii);
    EXPECT_TRUE(readText(QStringLiteral("wifi password: hunter22")).result.flags.sensitive_pii);
    EXPECT_FALSE(readText(QStringLiteral("order 4111 1111 1111 1112 shipped")).result.flags.sensitive_pii)
        << "a number failing the Luhn check is no card";
}

} // namespace
