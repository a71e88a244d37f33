// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/InterfaceLanguage.h"
#include "core/MemorySettingsStore.h"
#include "core/Settings.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace tavolen;

namespace {

QString chosen(std::optional<QString> appLang, QStringList preferred)
{
    return InterfaceLanguage::choose(appLang, preferred);
}

// A text of the panel as the interface shows it now.
QString copiedBadge()
{
    return QCoreApplication::translate("PanelTexts", "Copied · Ctrl+V");
}

} // namespace

TEST(InterfaceLanguage, WithoutAStoredChoiceOnlyTheFirstPreferredLanguageCounts)
{
    const std::pair<QStringList, QString> cases[] = {
        {{"zh-Hans-CN", "en-US"}, "zh_CN"},
        {{"en-US", "zh-Hans-CN"}, ""},
        {{"zh-Hant-TW"}, "zh_CN"}, // Traditional Chinese systems get the Simplified texts
        {{"zh-HK"}, "zh_CN"},
        {{}, ""},
        {{"ZH-CN"}, "zh_CN"}, // tags are case-insensitive
        {{"zh_CN"}, "zh_CN"},
        {{"zha-CN"}, ""}, // another language whose code begins with the same letters
        {{"fr-FR", "zh-CN"}, ""},
    };
    for (const auto &[languages, expected] : cases)
        EXPECT_EQ(chosen(std::nullopt, languages), expected) << languages.join(',').toStdString();
}

TEST(InterfaceLanguage, OnlyTheValuesTheMenuWritesOverrideTheSystem)
{
    EXPECT_EQ(chosen(QStringLiteral("en"), {"zh-Hans-CN"}), QString());
    EXPECT_EQ(chosen(QStringLiteral("zh"), {"en-US"}), QStringLiteral("zh_CN"));
    for (const char *value : {"ZH", "fr", "zh-Hans", "auto", "", "En"})
        EXPECT_EQ(chosen(QString::fromLatin1(value), {"zh-Hans-CN"}), QStringLiteral("zh_CN")) << value;
}

TEST(InterfaceLanguage, ApplyingTranslatesEveryTextAndTheServiceTagUntilEnglishOrTheEnd)
{
    MemorySettingsStore store;
    QStringList system{QStringLiteral("en-US")};
    {
        InterfaceLanguage language(store, [&] { return system; });
        language.apply();
        EXPECT_EQ(copiedBadge(), QStringLiteral("Copied · Ctrl+V"));
        EXPECT_EQ(serviceLanguage(), QStringLiteral("en"));

        keys::appLang.set(store, QStringLiteral("zh"));
        language.apply();
        EXPECT_EQ(language.current(), QStringLiteral("zh_CN"));
        EXPECT_EQ(copiedBadge(), QStringLiteral("已复制 · Ctrl+V"));
        EXPECT_EQ(serviceLanguage(), QStringLiteral("zh-Hans"));
        language.apply(); // applying again changes nothing
        EXPECT_EQ(copiedBadge(), QStringLiteral("已复制 · Ctrl+V"));

        keys::appLang.remove(store);
        language.apply();
        EXPECT_EQ(copiedBadge(), QStringLiteral("Copied · Ctrl+V"));
        system = {QStringLiteral("zh-CN")};
        language.apply();
        EXPECT_EQ(serviceLanguage(), QStringLiteral("zh-Hans"));
    }
    EXPECT_EQ(serviceLanguage(), QStringLiteral("en")) << "a language that goes takes its translation along";
}
