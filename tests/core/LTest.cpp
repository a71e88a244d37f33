// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/L.h"
#include "support/ScopedSettings.h"

#include <gtest/gtest.h>

using namespace tavolen;
using tavolen::test::ScopedSettings;

TEST(L, WithoutAStoredChoiceOnlyTheFirstPreferredLanguageCounts)
{
    ScopedSettings s;
    const std::pair<QStringList, bool> cases[] = {
        {{"zh-Hans-CN", "en-US"}, true},
        {{"en-US", "zh-Hans-CN"}, false},
        {{"zh-Hant-TW"}, true}, // Traditional Chinese systems get the Simplified texts
        {{"zh-HK"}, true},
        {{}, false},
        {{"ZH-CN"}, true}, // tags are case-insensitive
        {{"zh_CN"}, true},
        {{"zha-CN"}, false}, // another language whose code begins with the same letters
    };
    for (const auto &[languages, zh] : cases) {
        s.setLanguages(languages);
        EXPECT_EQ(L::isZh(), zh) << languages.join(',').toStdString();
    }
}

TEST(L, OnlyExactlyEnOrZhStoredOverridesTheSystem)
{
    ScopedSettings s({QStringLiteral("zh-Hans-CN")});
    s.store.setValue(QStringLiteral("app_lang"), QStringLiteral("en"));
    EXPECT_FALSE(L::isZh());
    for (const QVariant &value : {QVariant("ZH"), QVariant("fr"), QVariant("zh-Hans"), QVariant("auto"),
                                  QVariant(""), QVariant("En"), QVariant(1)}) {
        s.store.setValue(QStringLiteral("app_lang"), value);
        EXPECT_TRUE(L::isZh()) << value.toString().toStdString();
    }
    s.setLanguages({QStringLiteral("en-US")});
    s.store.setValue(QStringLiteral("app_lang"), QStringLiteral("zh"));
    EXPECT_TRUE(L::isZh());
}
