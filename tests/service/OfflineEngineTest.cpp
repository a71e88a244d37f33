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

TEST(OfflineEngine, EachPostIsGradedByWhatItDoesInEitherLanguageAndOrdinaryWordsAreNotEnough)
{
    const struct {
        QString post;
        const char *risk;           // "not high": anything else
        const char *tone = nullptr; // unchecked when null
    } posts[] = {
        // A prize lure in English. The lookalike-link, frozen-account and
        // Chinese prize scams are corpus posts, whose recall floor has no room
        // for another miss.
        {u"Congratulations! You have won a $1000 Walmart gift card.\nClick here to claim your prize: "
         "http://bit.ly/win-now\nOffer expires today, act now!"_qs,
         "high"},
        // Threats and insults.
        {u"Delete that post or else. I know where you live."_qs, "high", "threatening"},
        {u"You are such an idiot, nobody asked you."_qs, "medium", "hostile"},
        {u"你这个废物，给我滚开"_qs, "medium"},
        // Friendly words, and words that also appear in scams; phrases match whole words only.
        {u"Congrats on the new job, Sam! So happy for you, well deserved."_qs, "low", "friendly"},
        {u"谢谢你昨天的帮忙，辛苦了！周末一起吃饭吧。"_qs, "low", "friendly"},
        {u"I can't log in to the forum today, is it down for everyone?"_qs, "not high"},
        {u"The lottery scene in this novel is the best chapter."_qs, "not high"},
        {u"We prized the old piano above everything else."_qs, "low"},
    };
    for (const auto &p : posts) {
        const protocol::AnalysisResult r = readText(p.post).result;
        if (p.risk == std::string_view("not high")) {
            EXPECT_NE(r.risk_level, "high") << p.post.toStdString();
        } else {
            EXPECT_EQ(r.risk_level, p.risk) << p.post.toStdString();
        }
        if (p.tone) {
            EXPECT_EQ(r.tone, p.tone) << p.post.toStdString();
        }
        if (r.risk_level == "high") {
            EXPECT_TRUE(r.risk_reason) << p.post.toStdString();
            EXPECT_FALSE(r.respondable.value_or(true));
            EXPECT_FALSE(r.best_reply);
        }
        if (p.tone && p.tone == std::string_view("friendly")) {
            EXPECT_FALSE(r.risk_reason) << p.post.toStdString();
            EXPECT_EQ(r.tone_label, std::optional<QString>(QStringLiteral("Friendly")));
        }
    }
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
                                                  {QStringLiteral("hidden_meaning"), r.hidden_meaning},
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

TEST(OfflineEngine, CardNumbersAndWrittenPasswordsAreSensitive)
{
    EXPECT_TRUE(
        readText(QStringLiteral("my card is 4111 1111 1111 1111 exp 12/29")).result.flags.sensitive_pii);
    EXPECT_TRUE(readText(QStringLiteral("wifi password: hunter22")).result.flags.sensitive_pii);
    EXPECT_FALSE(readText(QStringLiteral("order 4111 1111 1111 1112 shipped")).result.flags.sensitive_pii)
        << "a number failing the Luhn check is no card";
}

} // namespace
