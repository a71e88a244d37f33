// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/SingleInstance.h"
#include "e2e/harness/Desktop.h"
#include "platform/PlatformServices.h"
#include "support/ScriptedServer.h"
#include "support/ServiceAnswers.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::e2e;

// OneScreenShell: the resident app's own services on Xvfb with openbox.

namespace {

// Tavolen's windows on screen now, by id, with their widths.
QList<std::pair<QString, int>> shownWindows()
{
    QList<std::pair<QString, int>> shown;
    const QStringList ids =
        QString::fromLatin1(
            xclient("xdotool", {"search", "--onlyvisible", "--classname", "^tavolen$"}).trimmed())
            .split('\n', Qt::SkipEmptyParts);
    for (const QString &id : ids) {
        const auto size = QRegularExpression(QStringLiteral("Geometry: (\\d+)x(\\d+)"))
                              .match(QString::fromLatin1(xclient("xdotool", {"getwindowgeometry", id})));
        if (size.hasMatch())
            shown.append({id, size.captured(1).toInt()});
    }
    return shown;
}

// The tray icon is a small square window of its own.
constexpr int kTrayIconWidthAtMost = 80;

// Tavolen's windows on screen now (the toast, the panel, the overlay), not
// counting the tray icon, by their ids.
QStringList visibleWindows()
{
    QStringList wide;
    for (const auto &[id, width] : shownWindows())
        if (width > kTrayIconWidthAtMost)
            wide << id;
    return wide;
}

// Whether the window bypasses the window manager, as a menu does.
bool overrideRedirect(const QString &id)
{
    return xclient("xwininfo", {"-id", id}).contains("Override Redirect State: yes");
}

// How many of the app's menus are open (the tray menu, its submenus): its
// wide windows that bypass the window manager. The panel and the note are
// managed windows that stay above the others.
int openMenus()
{
    const QStringList wide = visibleWindows();
    return int(std::count_if(wide.begin(), wide.end(), overrideRedirect));
}

// The app's wide windows, by name and geometry, for a failure's message.
std::string windowsShown()
{
    std::string out;
    for (const QString &id : visibleWindows())
        out += std::string(overrideRedirect(id) ? "[override] " : "[managed] ") +
               xclient("xdotool", {"getwindowgeometry", id}).simplified().toStdString() + "\n";
    return out;
}

// Right-clicks the tray icon until its menu is open. Now and then a click
// on the icon goes unanswered while the app is busy with another window
// (under load, about one run in ten), and a user would click again.
bool openTrayMenu()
{
    return QTest::qWaitFor(
        [] {
            xdotool({"mousemove", "20", "20", "click", "3"});
            return QTest::qWaitFor([] { return openMenus() == 1; }, 1500);
        },
        10000);
}

// The app's tray icon, a small window of its own, is docked in the tray.
bool trayIconDocked()
{
    const auto shown = shownWindows();
    return std::any_of(shown.begin(), shown.end(),
                       [](const auto &window) { return window.second <= kTrayIconWidthAtMost; });
}

// The installed app as a user runs it: its own configuration pointing at a
// scripted service that answers one capture, introduction done.
struct TavolenHome {
    enum class Introduction { done, notYet };
    // With `notYet`, the settings hold the service's address and nothing
    // else, as on a first launch.
    explicit TavolenHome(Introduction introduction = Introduction::done)
    {
        service.script(test::kStream,
                       test::ScriptedResponse::stream({test::fieldLines("summary", "A friendly nudge"),
                                                       test::eventLines("result", test::envelopeJson())}));
        QSettings conf(configFile(), QSettings::IniFormat);
        conf.setValue(QStringLiteral("api_base"), service.baseUrl());
        if (introduction == Introduction::done) {
            conf.setValue(QStringLiteral("onboard_done"), true);
            conf.setValue(QStringLiteral("app_lang"), QStringLiteral("en"));
        }
    }
    QVariant setting(const char *key) const
    {
        return QSettings(configFile(), QSettings::IniFormat).value(QString::fromLatin1(key));
    }
    QString configFile() const { return home.filePath(QStringLiteral("tavolen/tavolen.conf")); }
    // Starts `tavolen ARGUMENTS` in `process`.
    void start(QProcess &process, const QStringList &arguments = {}) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral(TAVOLEN_BINARY), arguments);
    }

    test::ScriptedServer service;
    QTemporaryDir home;
};

} // namespace

TEST(OneScreenShell, AltShiftSAtTheSKeyPositionCallsOncePerPressWhateverTheLocksAndTheLayout)
{
    platform::PlatformServices services = platform::loadPlatformServices();
    int presses = 0;
    services.hotKey->start([&] { ++presses; });
    // The X server delivers key events in order: once a press of the key
    // that counts is counted, any call that `keys` caused has come before
    // it. So `keys` made `calls` calls exactly when the count then stands at
    // the old count + calls + 1, with no guess of how long delivery takes.
    const auto callsOf = [&](const QString &keys, const QString &marker = QStringLiteral("alt+shift+s")) {
        const int before = presses;
        xdotool(QStringList{"key"} + keys.split(' ') + QStringList{marker});
        if (!QTest::qWaitFor([&] { return presses > before; }, 5000))
            return -1;
        return presses - before - 1;
    };
    EXPECT_EQ(callsOf("alt+shift+s"), 1);
    for (const char *other : {"shift+s", "alt+s", "ctrl+alt+shift+s", "super+alt+shift+s"})
        EXPECT_EQ(callsOf(other), 0) << other;
    EXPECT_EQ(callsOf("alt+shift+s alt+shift+s"), 2) << "two quick presses, two calls";

    for (const char *lock : {"Num_Lock", "Caps_Lock"}) {
        xdotool({"key", lock});
        EXPECT_EQ(callsOf("alt+shift+s"), 1) << lock;
        xdotool({"key", lock});
    }
    // On Dvorak the key at the S position types "o": that key is the one.
    // The hot key takes it again once it hears of the new keymap, which
    // this process learns of in its own time: wait until a press counts.
    xclient("setxkbmap", {"-layout", "us", "-variant", "dvorak"});
    const auto counts = [&](const QString &keys) {
        return QTest::qWaitFor(
            [&] {
                const int before = presses;
                xdotool({"key", keys});
                return QTest::qWaitFor([&] { return presses > before; }, 500);
            },
            10000);
    };
    ASSERT_TRUE(counts("alt+shift+o"));
    EXPECT_EQ(callsOf("alt+shift+o", "alt+shift+o"), 1);
    EXPECT_EQ(callsOf("alt+shift+s", "alt+shift+o"), 0) << "the letter s lies elsewhere now";
    xclient("setxkbmap", {"-layout", "us"});
    ASSERT_TRUE(counts("alt+shift+s"));
    EXPECT_EQ(callsOf("alt+shift+s"), 1);
}

TEST(OneScreenShell, ASecondLaunchHandsOverAndTavolenCaptureRunsInTheRunningApp)
{
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "the suite runs in a D-Bus session";
    TavolenHome home;
    test::ScriptedServer &service = home.service;
    const auto start = [&](QProcess &p, const QStringList &arguments) { home.start(p, arguments); };
    const auto registered = [] {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(
            QString::fromLatin1(app::SingleInstance::kName));
    };

    QProcess resident;
    start(resident, {});
    ASSERT_TRUE(QTest::qWaitFor(registered, 10000));

    // The ready toast of the launch goes; a second launch brings it back.
    EXPECT_TRUE(QTest::qWaitFor([] { return !visibleWindows().isEmpty(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([] { return visibleWindows().isEmpty(); }, 8000));
    QProcess second;
    start(second, {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(resident.state(), QProcess::Running);
    EXPECT_TRUE(QTest::qWaitFor([] { return !visibleWindows().isEmpty(); }, 3000))
        << "the running one says it is ready";

    QProcess capture;
    start(capture, {QStringLiteral("capture")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return capture.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(capture.exitCode(), 0) << "handed over at once";
    ASSERT_TRUE(QTest::qWaitFor(overlayShown, 10000)) << "the resident app's overlay";
    drag(QPoint(300, 300), QPoint(500, 420));
    EXPECT_TRUE(QTest::qWaitFor([&] { return service.requests(test::kStream).size() == 1; }, 10000))
        << "the resident app uploaded the selection";
    EXPECT_TRUE(QTest::qWaitFor([] { return clipboardText() == "Sure!"; }, 10000));

    // The reply outlives the panel: closed with Esc after a click on it, the clipboard still holds it.
    click(QPoint(450, 420 + 12 + 6));
    ASSERT_TRUE(QTest::qWaitFor(tavolenHasFocus, 5000)) << "the click gives the panel the keyboard";
    pressEscape();
    EXPECT_TRUE(QTest::qWaitFor([] { return visibleWindows().isEmpty(); }, 5000)) << "the panel closed";
    EXPECT_EQ(clipboardText(), QByteArray("Sure!"));

    // The hot key of the running app starts the next capture; a click on another program's window
    // uploads exactly that window.
    auto window = ForeignWindow::open(QRect(200, 150, 500, 300), kWarm);
    ASSERT_TRUE(window);
    service.script(test::kStream,
                   test::ScriptedResponse::stream({test::eventLines("result", test::envelopeJson())}));
    xdotool({"key", "alt+shift+s"});
    ASSERT_TRUE(QTest::qWaitFor(overlayShown, 10000));
    click(window->frame().center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.requests(test::kStream).size() == 2; }, 10000));
    const QImage uploaded = QImage::fromData(service.requests(test::kStream).back().jpeg(), "JPEG");
    EXPECT_EQ(uploaded.size(), window->frame().size());
    EXPECT_EQ(window->expectShownIn(uploaded, window->frame().topLeft()), 4);

    resident.terminate();
    EXPECT_TRUE(QTest::qWaitFor([&] { return resident.state() == QProcess::NotRunning; }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !registered(); }, 5000)) << "the name goes with it";
}

TEST(OneScreenShell, ALeftClickOnTheTrayIconCapturesAndQuitFromItsMenuLeavesNoProcess)
{
    TavolenHome home;
    test::ScriptedServer &service = home.service;
    // A tray in the top-left corner, one icon wide.
    QProcess tray;
    tray.start(QStringLiteral("trayer"),
               {"--edge", "top", "--align", "left", "--widthtype", "pixel", "--width", "40", "--heighttype",
                "pixel", "--height", "40", "--SetDockType", "true", "--expand", "false"});
    ASSERT_TRUE(tray.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor(
        [] {
            return !xclient("xdotool", {"search", "--onlyvisible", "--class", "^trayer$"}).isEmpty();
        },
        10000));

    QProcess app;
    home.start(app);
    // Docked in the tray, it says it is ready, then the note goes.
    EXPECT_TRUE(QTest::qWaitFor([] { return !visibleWindows().isEmpty(); }, 5000)) << "the ready toast";
    EXPECT_TRUE(QTest::qWaitFor([] { return visibleWindows().isEmpty(); }, 6000)) << "and it fades away";
    ASSERT_TRUE(QTest::qWaitFor(trayIconDocked, 10000));

    click(QPoint(20, 20));
    ASSERT_TRUE(QTest::qWaitFor(overlayShown, 10000)) << "the click on the tray icon started a capture";
    drag(QPoint(400, 300), QPoint(600, 420));
    EXPECT_TRUE(QTest::qWaitFor([&] { return service.requests(test::kStream).size() == 1; }, 10000))
        << "the click on the tray icon started a capture";

    // The menu, by keyboard: Language, then its second entry (中文).
    ASSERT_TRUE(QTest::qWaitFor([] { return !visibleWindows().isEmpty(); }, 10000)) << "the result panel";
    const qsizetype shown = visibleWindows().size();
    ASSERT_TRUE(openTrayMenu()) << "the menu\n" << windowsShown();
    xdotool({"key", "Down", "Down", "Right"});
    ASSERT_TRUE(QTest::qWaitFor([] { return openMenus() == 2; }, 5000)) << "its submenu\n" << windowsShown();
    xdotool({"key", "Down", "Return"});
    const QString conf = home.configFile();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QSettings(conf, QSettings::IniFormat).value(QStringLiteral("app_lang")) == "zh"; },
        5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return openMenus() == 0 && visibleWindows().size() > shown; }, 5000))
        << "the toast confirms it";

    // The last item is Quit.
    ASSERT_TRUE(openTrayMenu()) << "the menu\n" << windowsShown();
    xdotool({"key", "Up", "Return"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return app.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app.exitCode(), 0);
    stop(tray);
}

TEST(OneScreenShell, TheFirstLaunchReadsTheSamplePostAndTheNextLaunchOnlySaysItIsReady)
{
    TavolenHome home(TavolenHome::Introduction::notYet);
    test::ScriptedServer &service = home.service;
    // Whatever the clipboard held before is replaced by the sample's reply.
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));

    QProcess first;
    home.start(first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.requests(test::kStream).size() == 1; }, 15000))
        << "the sample post was not uploaded";
    EXPECT_FALSE(QImage::fromData(service.requests(test::kStream).front().jpeg(), "JPEG").isNull());
    EXPECT_TRUE(QTest::qWaitFor([] { return clipboardText() == "Sure!"; }, 10000)) << "the best reply";
    EXPECT_TRUE(QTest::qWaitFor([&] { return visibleWindows().size() == 1; }, 10000)) << "its reading";
    EXPECT_TRUE(QTest::qWaitFor([&] { return home.setting("onboard_done").toBool(); }, 5000));

    first.terminate();
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.state() == QProcess::NotRunning; }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([] { return visibleWindows().isEmpty(); }, 5000));

    // The next launch says it is ready, and the note goes away on its own:
    // a demonstration's panel would stay far longer.
    QProcess second;
    home.start(second);
    EXPECT_TRUE(QTest::qWaitFor([] { return !visibleWindows().isEmpty(); }, 10000)) << "the ready note";
    EXPECT_TRUE(QTest::qWaitFor([] { return visibleWindows().isEmpty(); }, 8000)) << "and only that";
    EXPECT_EQ(service.requests(test::kStream).size(), 1) << "no second demonstration";
    EXPECT_EQ(second.state(), QProcess::Running);
    stop(second);
}
