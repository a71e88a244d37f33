#include "core/L.h"
#include "support/ScopedSettings.h"

#include <gtest/gtest.h>

using namespace tavolen;
using tavolen::test::ScopedSettings;

TEST(L, WithoutSettingOnlyTheFirstPreferredLanguageCounts)
{
    ScopedSettings s({QStringLiteral("zh-Hans-CN"), QStringLiteral("en-US")});
    EXPECT_TRUE(L::isZh());
    s.setLanguages({QStringLiteral("en-US"), QStringLiteral("zh-Hans-CN")});
    EXPECT_FALSE(L::isZh());
    s.setLanguages({QStringLiteral("zh-Hant-TW")});
    EXPECT_TRUE(L::isZh()) << "Traditional Chinese systems get the Simplified texts";
    s.setLanguages({QStringLiteral("zh-HK")});
    EXPECT_TRUE(L::isZh());
    s.setLanguages({});
    EXPECT_FALSE(L::isZh());
    s.setLanguages({QStringLiteral("ZH-CN")});
    EXPECT_FALSE(L::isZh()) << "the prefix test is case-sensitive";
}

TEST(L, StoredChoiceOverridesTheSystem)
{
    ScopedSettings s({QStringLiteral("en-US")});
    s.store.setValue(QStringLiteral("app_lang"), QStringLiteral("zh"));
    EXPECT_TRUE(L::isZh());
    s.setLanguages({QStringLiteral("zh-Hans-CN")});
    s.store.setValue(QStringLiteral("app_lang"), QStringLiteral("en"));
    EXPECT_FALSE(L::isZh());
}

TEST(L, AnyOtherStoredValueFollowsTheSystem)
{
    ScopedSettings s({QStringLiteral("zh-Hans-CN")});
    for (const auto *value : {"ZH", "fr", "zh-Hans", "auto", "", "En"}) {
        s.store.setValue(QStringLiteral("app_lang"), QString::fromLatin1(value));
        EXPECT_TRUE(L::isZh()) << value;
    }
    s.store.setValue(QStringLiteral("app_lang"), 1);
    EXPECT_TRUE(L::isZh()) << "a value that is not a string counts as absent";
}

TEST(L, TextIsChosenWhenProducedAndFollowsAChange)
{
    ScopedSettings s({QStringLiteral("en-GB")});
    EXPECT_EQ(L::text(QStringLiteral("Hello"), QStringLiteral("你好")), QStringLiteral("Hello"));
    EXPECT_EQ(L::uiLang(), QStringLiteral("en"));
    s.store.setValue(QStringLiteral("app_lang"), QStringLiteral("zh"));
    EXPECT_EQ(L::text(QStringLiteral("Hello"), QStringLiteral("你好")), QStringLiteral("你好"));
    EXPECT_EQ(L::uiLang(), QStringLiteral("zh-Hans"));
}
