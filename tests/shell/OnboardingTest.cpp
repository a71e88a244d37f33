// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Onboarding.h"
#include "app/OnboardingView.h"
#include "app/PermissionCard.h"
#include "support/FlowFakes.h"
#include "support/ScopedSettings.h"
#include "ui/Buttons.h"
#include "ui/TextBlock.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace std::chrono_literals;

namespace {

struct Rig {
    Rig() { access.permitted = false; }
    test::ScopedSettings settings;
    test::FakeScreenAccess access;
    int relaunches = 0;
    app::Onboarding onboarding{access, [this] { ++relaunches; }, {20ms, 20ms}};

    app::OnboardingView *window() const { return onboarding.window(); }
    QString status() const { return window()->card()->statusText(); }
};

bool hasChinese(const QString &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
}

} // namespace

TEST(Onboarding, AGrantTurnsTheStatusLineGreenAndRelaunchesOnce)
{
    Rig rig;
    rig.onboarding.show();
    QTest::qWait(100);
    EXPECT_EQ(rig.relaunches, 0);
    EXPECT_EQ(rig.status(), QStringLiteral("Waiting for permission\u2026 (auto-relaunches once granted)"));

    rig.access.permitted = true;
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return rig.relaunches == 1 && rig.window()->card()->granted(); }, 1000));
    EXPECT_EQ(rig.status(), QStringLiteral("Granted \u2014 relaunching\u2026"));
    QTest::qWait(100);
    EXPECT_EQ(rig.relaunches, 1);
    EXPECT_FALSE(rig.onboarding.polling());
}

TEST(Onboarding, EveryPressOfTheButtonRequestsThePermissionAgain)
{
    Rig rig;
    rig.onboarding.show();
    QTest::mouseClick(rig.window()->button(), Qt::LeftButton);
    QTest::mouseClick(rig.window()->button(), Qt::LeftButton);
    EXPECT_EQ(rig.access.requests, 2);
    EXPECT_EQ(rig.relaunches, 0);
    EXPECT_TRUE(rig.window()->isVisible());
}

TEST(Onboarding, WhileItIsUpACaptureRequestBringsItForwardInsteadOfASecondPermissionCard)
{
    Rig rig;
    EXPECT_FALSE(rig.onboarding.takeCaptureRequest()) << "not shown: the panel asks";
    rig.onboarding.show();
    EXPECT_TRUE(rig.onboarding.takeCaptureRequest());
    EXPECT_TRUE(rig.window()->isVisible());
    rig.window()->close();
    EXPECT_FALSE(rig.onboarding.takeCaptureRequest()) << "closed: the panel asks";
    rig.onboarding.show();
    rig.access.permitted = true;
    EXPECT_FALSE(rig.onboarding.takeCaptureRequest()) << "permitted: the capture runs";
}

TEST(Onboarding, ClosingTheWindowKeepsPollingUntilTheGrant)
{
    Rig rig;
    rig.onboarding.show();
    rig.window()->close();
    QTest::qWait(80);
    EXPECT_TRUE(rig.onboarding.polling());
    rig.access.permitted = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.relaunches == 1; }, 1000));
}

TEST(Onboarding, AFixedWindowFourHundredFortyWideCentredOnThePrimaryScreen)
{
    Rig rig;
    rig.onboarding.show();
    app::OnboardingView *window = rig.window();
    EXPECT_EQ(window->width(), 440);
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_GT(window->height(), 300);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(window->windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window->testAttribute(Qt::WA_ShowWithoutActivating));
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    // Within what the window manager's frame adds once it has framed the window.
    EXPECT_LE((window->frameGeometry().center() - centre).manhattanLength(), 8);
}

TEST(Onboarding, EveryTextTurnsChineseWhenTheInterfaceDoesAndTheWindowFitsThem)
{
    Rig rig;
    rig.onboarding.show();
    ASSERT_EQ(rig.window()->button()->text(), QStringLiteral("Allow Screen Capture"));
    rig.settings.setAppLang(QStringLiteral("zh"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return rig.window()->button()->text() == QStringLiteral("允许屏幕捕获"); }, 2000));
    EXPECT_EQ(rig.window()->height(), rig.window()->layout()->totalHeightForWidth(rig.window()->width()));
    const auto texts = rig.window()->findChildren<ui::TextBlock *>();
    ASSERT_EQ(texts.size(), 5);
    for (const ui::TextBlock *text : texts)
        EXPECT_TRUE(hasChinese(text->text())) << text->text().toStdString();
    EXPECT_EQ(rig.status(), QStringLiteral("等待授权…（授权后会自动重启）"));

    rig.access.permitted = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return rig.window()->card()->granted(); }, 1000));
    EXPECT_EQ(rig.status(), QStringLiteral("已授权，正在重启…"));
}
