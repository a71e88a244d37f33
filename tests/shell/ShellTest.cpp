// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/LaunchDecision.h"
#include "app/SingleInstance.h"
#include "app/TrayIcon.h"
#include "app/UpdateCheck.h"
#include "support/FlowFakes.h"
#include "support/ScopedSettings.h"

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QUuid>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::app;
using Transport = SingleInstance::Transport;

namespace {

QString uniqueName()
{
    return QStringLiteral("app.tavolen.Test%1").arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
}

QStringList titles(const QMenu &menu)
{
    QStringList out;
    for (const QAction *a : menu.actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QMenu *languageMenu(TrayIcon &tray)
{
    return tray.menu().actions().at(4)->menu();
}

} // namespace

TEST(SingleInstance, TheFirstClaimsLaterOnesHandTheirRequestOverOnEitherTransport)
{
    std::vector<Transport> transports{Transport::LocalSocket};
    if (QDBusConnection::sessionBus().isConnected())
        transports.push_back(Transport::SessionBus);
    for (Transport transport : transports) {
        SCOPED_TRACE(transport == Transport::SessionBus ? "session bus" : "local socket");
        const QString name = uniqueName();
        EXPECT_FALSE(SingleInstance::send(SingleInstance::Request::Capture, name, transport))
            << "no one runs yet";
        auto first = std::make_unique<SingleInstance>(name, transport);
        ASSERT_TRUE(first->claim());
        QSignalSpy requests(first.get(), &SingleInstance::requested);
        SingleInstance second(name, transport);
        EXPECT_FALSE(second.claim());
        EXPECT_TRUE(SingleInstance::send(SingleInstance::Request::ShowReady, name, transport));
        EXPECT_TRUE(SingleInstance::send(SingleInstance::Request::Capture, name, transport));
        ASSERT_TRUE(QTest::qWaitFor([&] { return requests.size() == 2; }, 3000));
        EXPECT_EQ(requests.at(0).at(0).value<SingleInstance::Request>(), SingleInstance::Request::ShowReady);
        EXPECT_EQ(requests.at(1).at(0).value<SingleInstance::Request>(), SingleInstance::Request::Capture);

        // A relaunch waits for the instance that started it to leave.
        QTimer::singleShot(300, [&] { first.reset(); });
        SingleInstance relaunched(name, transport);
        EXPECT_TRUE(relaunched.claim(std::chrono::seconds(5)));
    }
}

TEST(SingleInstance, ASocketLeftByACrashedInstanceIsTakenOver)
{
    const QString name = uniqueName();
    // Something at the socket's path that nobody answers on, as a killed instance leaves it.
    QFile leftover(app::SingleInstance::socketPath(name));
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    SingleInstance instance(name, Transport::LocalSocket);
    EXPECT_TRUE(instance.claim());
    EXPECT_FALSE(SingleInstance(name, Transport::LocalSocket).claim())
        << "and then answers as the running one";
}

TEST(LaunchDecision, ToastOnceIntroducedDemonstrationWhenPermittedOnboardingOtherwise)
{
    test::ScopedSettings settings;
    test::FakeScreenAccess access;
    access.permitted = false;
    EXPECT_EQ(decideLaunch(settings.store, access), LaunchStep::Onboarding);
    EXPECT_FALSE(keys::onboardDone.stored(settings.store)) << "left unset until access is granted";
    access.permitted = true;
    EXPECT_EQ(decideLaunch(settings.store, access), LaunchStep::Demonstration);
    EXPECT_EQ(keys::onboardDone.stored(settings.store), true);
    access.permitted = false;
    EXPECT_EQ(decideLaunch(settings.store, access), LaunchStep::ReadyToast) << "access is not asked again";
}

TEST(TrayIcon, MenuFollowsTheLanguageAndMarksTheStoredChoice)
{
    test::ScopedSettings settings({QStringLiteral("zh-CN")});
    TrayIcon tray({}, settings.store);
    tray.rebuildMenu();
    // This build has no update feed; the check is offered all the same, and
    // the hot key shows once, in the shortcut column.
    ASSERT_TRUE(builtInFeedUrl().isEmpty());
    EXPECT_EQ(titles(tray.menu()), (QStringList{"不留存任何截图", "-", "Snap 一下", "-", "语言", "检查更新…",
                                                "设置…", "退出 Tavolen"}));
    EXPECT_TRUE(tray.menu().actions().at(5)->isEnabled());
    EXPECT_EQ(tray.menu().actions().at(2)->shortcut(), QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_S));
    EXPECT_FALSE(tray.menu().actions().at(0)->isEnabled());
    EXPECT_EQ(languageMenu(tray)->actions().at(0)->text(), QStringLiteral("跟随系统"));
    EXPECT_TRUE(languageMenu(tray)->actions().at(0)->isChecked());

    settings.setAppLang(QStringLiteral("en"));
    tray.rebuildMenu();
    EXPECT_EQ(titles(tray.menu()).at(2), QStringLiteral("Snap it"));
    EXPECT_EQ(titles(tray.menu()).at(6), QStringLiteral("Settings…"));
    EXPECT_EQ(titles(tray.menu()).at(7), QStringLiteral("Quit Tavolen"));
    const QList<QAction *> choices = languageMenu(tray)->actions();
    EXPECT_EQ(choices.at(0)->text(), QStringLiteral("System"));
    EXPECT_FALSE(choices.at(0)->isChecked());
    EXPECT_TRUE(choices.at(2)->isChecked()) << "English";

    settings.setAppLang(QStringLiteral("fr"));
    tray.rebuildMenu();
    for (const QAction *choice : languageMenu(tray)->actions())
        EXPECT_FALSE(choice->isChecked()) << choice->text().toStdString();
}

TEST(TrayIcon, ChoosingALanguageStoresItAndConfirmsAfterTheMenuClosesAndALeftClickCaptures)
{
    test::ScopedSettings settings;
    int confirmations = 0;
    int captures = 0;
    TrayIcon tray({.capture = [&] { ++captures; },
                   .checkForUpdates = {},
                   .settings = {},
                   .languageChanged = [&] { ++confirmations; },
                   .quit = {}},
                  settings.store);
    tray.rebuildMenu();
    languageMenu(tray)->actions().at(1)->trigger();
    EXPECT_EQ(keys::appLang.stored(settings.store), QStringLiteral("zh"));
    EXPECT_EQ(confirmations, 0);
    QTest::qWait(1);
    EXPECT_EQ(confirmations, 1);
    tray.rebuildMenu();
    languageMenu(tray)->actions().at(0)->trigger();
    EXPECT_FALSE(settings.store.value(QStringLiteral("app_lang"))) << "System removes the key";

    tray.rebuildMenu();
    tray.menu().actions().at(2)->trigger();
    EXPECT_EQ(captures, 1);
}
