// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/TextScript.h"

#include <gtest/gtest.h>

using namespace tavolen::service;

TEST(TextScript, SpacesBetweenTwoCjkCharactersGoAndAllOthersStay)
{
    EXPECT_EQ(joinCjk(QStringLiteral("今 天 天 气 很 好 ， 我 们 去 公 园")),
              QStringLiteral("今天天气很好，我们去公园"));
    EXPECT_EQ(joinCjk(QStringLiteral("我 们 用 Qt 6 写 的")), QStringLiteral("我们用 Qt 6 写的"));
    EXPECT_EQ(joinCjk(QStringLiteral("  hello   world  \n\n 你  好 \n")),
              QStringLiteral("hello   world\n你好"));
    EXPECT_EQ(joinCjk(QStringLiteral("カ タ カ ナ")), QStringLiteral("カタカナ"));
}

TEST(TextScript, TheLanguageGuessWeighsCharactersAgainstLetters)
{
    EXPECT_EQ(guessTextLanguage(QStringLiteral("See you at the meeting on Friday")), "en");
    EXPECT_EQ(guessTextLanguage(QStringLiteral("明天下午三点在会议室见")), "zh");
    EXPECT_EQ(guessTextLanguage(QStringLiteral("明天的 meeting 改到 Friday 了")), "mixed");
    EXPECT_EQ(guessTextLanguage(QStringLiteral("我们用 Qt")), "zh") << "a brand name in Chinese text";
    EXPECT_EQ(guessTextLanguage(QStringLiteral("12:30 · 42 ，。")), "");
}

TEST(TextScript, KanaHangulAndCyrillicNameTheirLanguageAndLatinTextIsToldApartByItsCommonWords)
{
    EXPECT_EQ(guessTextLanguage(QStringLiteral("明日の会議は午後三時からです。")), "ja")
        << "kana between kanji";
    EXPECT_EQ(guessTextLanguage(QStringLiteral("내일 회의는 오후 세 시에 시작합니다.")), "ko");
    EXPECT_EQ(guessTextLanguage(QStringLiteral("Завтра встреча в три часа.")), "ru");
    EXPECT_EQ(guessTextLanguage(QStringLiteral("Merci pour la soirée, c'était vraiment génial !")), "fr");
    EXPECT_EQ(guessTextLanguage(QStringLiteral("Danke für deine Hilfe, das war super nett von dir!")), "de");
    EXPECT_EQ(guessTextLanguage(QStringLiteral("El metro cerrará dos estaciones por obras en agosto.")),
              "es");
    EXPECT_EQ(guessTextLanguage(QStringLiteral("Dziękuję bardzo, do zobaczenia jutro.")), "other")
        << "no known words: not a guess";
}
