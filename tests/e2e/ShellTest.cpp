#include "app/SingleInstance.h"
#include "e2e/harness/Desktop.h"
#include "platform/PlatformServices.h"
#include "support/ScriptedServer.h"
#include "support/ServiceAnswers.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::e2e;

// OneScreenShell: the resident app's own services on Xvfb with openbox.

namespace {

// Tavolen's windows on screen now (the toast, the panel, the overlay), not
// counting the tray icon (a small square window of its own), by their ids.
QStringList visibleWindows()
{
    QStringList wide;
    const QStringList ids =
        QString::fromLatin1(
            xclient("xdotool", {"search", "--onlyvisible", "--classname", "tavolen"}).trimmed())
            .split('\n', Qt::SkipEmptyParts);
    for (const QString &id : ids) {
        const auto size = QRegularExpression(QStringLiteral("Geometry: (\\d+)x(\\d+)"))
                              .match(QString::fromLatin1(xclient("xdotool", {"getwindowgeometry", id})));
        if (size.hasMatch() && size.captured(1).toInt() > 80)
            wide << id;
    }
    return wide;
}

// The installed app as a user runs it: its own configuration pointing at a
// scripted service that answers one capture, introduction done.
struct TavolenHome {
    TavolenHome()
    {
        service.script(test::kStream,
                       test::ScriptedResponse::stream({test::eventLines("result", test::envelopeJson())}));
        QSettings conf(configFile(), QSettings::IniFormat);
        conf.setValue(QStringLiteral("api_base"), service.baseUrl());
        conf.setValue(QStringLiteral("onboard_done"), true);
        conf.setValue(QStringLiteral("app_lang"), QStringLiteral("en"));
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
    const auto pressed = [&](const QString &keys, int expected) {
        xdotool(QStringList{"key"} + keys.split(' '));
        if (!QTest::qWaitFor([&] { return presses == expected; }, 3000))
            return false;
        QTest::qWait(200); // no second call follows
        return presses == expected;
    };
    EXPECT_TRUE(pressed("alt+shift+s", 1));
    for (const char *other : {"shift+s", "alt+s", "ctrl+alt+shift+s", "super+alt+shift+s"})
        EXPECT_TRUE(pressed(other, 1)) << other;
    EXPECT_TRUE(pressed("alt+shift+s alt+shift+s", 3)) << "two quick presses, two calls";

    for (const char *lock : {"Num_Lock", "Caps_Lock"}) {
        xdotool({"key", lock});
        EXPECT_TRUE(pressed("alt+shift+s", presses + 1)) << lock;
        xdotool({"key", lock});
    }
    // On Dvorak the key at the S position types "o": that key is the one.
    xclient("setxkbmap", {"-layout", "us", "-variant", "dvorak"});
    QTest::qWait(300);
    EXPECT_TRUE(pressed("alt+shift+o", presses + 1));
    EXPECT_TRUE(pressed("alt+shift+s", presses)) << "the letter s lies elsewhere now";
    xclient("setxkbmap", {"-layout", "us"});
    QTest::qWait(300);
    EXPECT_TRUE(pressed("alt+shift+s", presses + 1));
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
    QTest::qWait(1500); // the resident app's overlay comes up
    drag(QPoint(300, 300), QPoint(500, 420));
    EXPECT_TRUE(QTest::qWaitFor([&] { return service.requests(test::kStream).size() == 1; }, 10000))
        << "the resident app uploaded the selection";
    EXPECT_TRUE(QTest::qWaitFor([] { return clipboardText() == "Sure!"; }, 10000));
    EXPECT_TRUE(xclient("xclip", {"-o", "-selection", "clipboard", "-t", "TARGETS"})
                    .contains("org.nspasteboard.TransientType"));

    // The reply outlives the panel: closed with Esc after a click on it, the clipboard still holds it.
    click(QPoint(450, 420 + 12 + 6));
    QTest::qWait(300);
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
    QTest::qWait(1500);
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
    QTest::qWait(1000);

    QProcess app;
    home.start(app);
    // Docked in the tray, it says it is ready, then the note goes.
    EXPECT_TRUE(QTest::qWaitFor([] { return !visibleWindows().isEmpty(); }, 5000)) << "the ready toast";
    EXPECT_TRUE(QTest::qWaitFor([] { return visibleWindows().isEmpty(); }, 6000)) << "and it fades away";

    click(QPoint(20, 20));
    QTest::qWait(1500);
    drag(QPoint(400, 300), QPoint(600, 420));
    EXPECT_TRUE(QTest::qWaitFor([&] { return service.requests(test::kStream).size() == 1; }, 10000))
        << "the click on the tray icon started a capture";

    // The menu, by keyboard: Language, then its second entry (中文).
    const qsizetype shown = visibleWindows().size(); // the result panel
    xdotool({"mousemove", "20", "20", "click", "3"});
    QTest::qWait(800);
    xdotool({"key", "Down", "Down", "Right", "Down", "Return"});
    const QString conf = home.configFile();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QSettings(conf, QSettings::IniFormat).value(QStringLiteral("app_lang")) == "zh"; },
        5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return visibleWindows().size() > shown; }, 3000))
        << "the toast confirms it";

    // The last item is Quit.
    xdotool({"mousemove", "20", "20", "click", "3"});
    QTest::qWait(800);
    xdotool({"key", "Up", "Return"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return app.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app.exitCode(), 0);
    stop(tray);
}
