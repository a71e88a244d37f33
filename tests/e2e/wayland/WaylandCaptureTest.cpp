// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The whole loop on a Wayland desktop: `tavolen capture` inside the rig's
// session, the screenshot portal, the overlay on XWayland, the scripted
// analysis service in this process, the panel and the Wayland clipboard.
#include "e2e/wayland/WaylandDesktop.h"
#include "support/ScriptedServer.h"
#include "support/ServiceAnswers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <unistd.h>

namespace {

using namespace tavolen;
using namespace tavolen::e2e;

// Every picture file under `roots` (where a screenshot could be left
// behind) that the session's user could have written: when the test runs as
// root, the session runs as uid 65534, so pictures other programs on the
// machine write meanwhile (another test suite's, say) are not counted.
QStringList pictureFiles(const QStringList &roots)
{
    QStringList found;
    for (const QString &root : roots) {
        QDirIterator it(root, {"*.png", "*.jpg", "*.jpeg", "*.ppm"},
                        QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (::geteuid() != 0 || QFileInfo(file).ownerId() == 65534)
                found << file;
        }
    }
    return found;
}

class WaylandCapture : public WaylandDesktop {
protected:
    void TearDown() override
    {
        // The next test starts its own; a panel left up would be in its
        // picture. The compositor takes the windows of a killed client away
        // in its own time, so wait until the output shows only the pattern.
        for (QProcess *app : m_apps) {
            app->kill();
            (void)QTest::qWaitFor([&] { return app->state() == QProcess::NotRunning; }, 10000);
        }
        if (!m_apps.isEmpty()) {
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return showsOnlyPattern(rig().grimRegion(QRect(QPoint(), kOutput))); }, 20000))
                << "a window of the test is still on the output";
        }
    }

    // `tavolen ARGUMENTS` inside the session, its settings pointing at `service`.
    QProcess *startTavolen(const QStringList &arguments)
    {
        // Written as the session's user, so the app can keep its device id.
        const QString config = rig().dir() + "/home/.config";
        const QByteArray settings = QString("[General]\napi_base=%1\napp_lang=en\nonboard_done=true\n")
                                        .arg(service.baseUrl())
                                        .toUtf8();
        EXPECT_EQ(
            rig().run({"sh", "-c", "mkdir -p \"$0/tavolen\" && cat > \"$0/tavolen/tavolen.conf\"", config},
                      nullptr, 5000, settings),
            0);
        // The app chooses its own window system: XWayland, as the session
        // offers it. Only the session's type is said, as a login manager would.
        QProcessEnvironment extra;
        extra.insert("XDG_CONFIG_HOME", config);
        extra.insert("XDG_SESSION_TYPE", "wayland");
        m_apps << rig().spawn(QStringList{rig().stage(TAVOLEN_BINARY)} + arguments, extra);
        return m_apps.back();
    }
    QProcess *startCapture() { return startTavolen({"capture"}); }
    bool overlayShown()
    {
        return rig().run({"xdotool", "search", "--onlyvisible", "--name", "Tavolen selection"}, nullptr,
                         3000) == 0;
    }
    std::optional<QByteArray> pastedWithin(const QByteArray &expected, int timeoutMs)
    {
        std::optional<QByteArray> pasted;
        for (QDeadlineTimer deadline(timeoutMs); pasted != expected && !deadline.hasExpired();
             QThread::msleep(100))
            pasted = rig().pasteText();
        return pasted;
    }

    // The panel states `tavolen capture` printed, once `state` is among them.
    static QList<QJsonObject> statesUntil(QProcess &capture, const QString &state, QByteArray &seen)
    {
        QList<QJsonObject> states;
        const auto arrived = [&] {
            seen += capture.readAllStandardOutput();
            states.clear();
            for (const QByteArray &line : seen.split('\n'))
                if (!line.trimmed().isEmpty())
                    states << QJsonDocument::fromJson(line).object();
            return std::any_of(states.begin(), states.end(),
                               [&](const QJsonObject &o) { return o.value("state").toString() == state; });
        };
        (void)QTest::qWaitFor(arrived, 20000);
        return states;
    }

    // `tavolen capture`, a drag over `region` (desktop coordinates) once the
    // overlay shows, and the panel states until the result.
    QList<QJsonObject> captureByDragging(QRect region)
    {
        QProcess *capture = startCapture();
        // Generous: the portal writes and the app decodes a picture of the
        // whole desktop first, which takes seconds on a loaded machine.
        if (!QTest::qWaitFor([&] { return overlayShown(); }, 60000)) {
            ADD_FAILURE() << "no overlay: " << capture->readAllStandardError().toStdString()
                          << "\n--- portal:\n"
                          << rig().logTail("portal").toStdString();
            return {};
        }
        EXPECT_TRUE(rig().drag(region.topLeft(), region.topLeft() + QPoint(region.width(), region.height())));
        QByteArray out;
        const QList<QJsonObject> states = statesUntil(*capture, "result", out);
        EXPECT_FALSE(states.isEmpty()) << capture->readAllStandardError().toStdString();
        return states;
    }

    // The one JPEG the service received, checked against `truth` (what grim saw
    // of the same region) 3 px either side of the pattern's colour borders at
    // `border` (in the JPEG's pixels).
    void expectUploadOf(const QImage &truth, QPoint border)
    {
        ASSERT_EQ(service.requests(test::kStream).size(), 1);
        const QImage jpeg = QImage::fromData(service.requests(test::kStream).front().jpeg(), "JPEG");
        ASSERT_EQ(jpeg.size(), truth.size());
        ASSERT_TRUE(QRect(QPoint(3, 3), truth.size() - QSize(6, 6)).contains(border)) << "no border to check";
        for (const QPoint at :
             {QPoint(2, 2), border - QPoint(3, 3), border + QPoint(3, -3), border + QPoint(-3, 3),
              border + QPoint(3, 3), QPoint(truth.width() - 3, truth.height() - 3)})
            EXPECT_TRUE(near(jpeg.pixelColor(at), truth.pixelColor(at), 24))
                << "at " << at.x() << "," << at.y() << ": " << jpeg.pixelColor(at).name().toStdString()
                << " vs " << truth.pixelColor(at).name().toStdString();
    }

    test::ScriptedServer service;

private:
    QList<QProcess *> m_apps;
};

TEST_F(WaylandCapture, ADragUploadsExactlyThePixelsUnderItAndTheReplyReachesTheWaylandClipboard)
{
    service.script(test::kStream,
                   test::ScriptedResponse::stream({test::fieldLines("summary", "\"On its way\""),
                                                   test::eventLines("result", test::envelopeJson())}));
    // Off the quadrants' meeting point by odd amounts, so a shifted or scaled
    // cut shows at the colour borders.
    const QRect region(kOutput.width() / 2 - 137, kOutput.height() / 2 - 61, 251, 143);
    const QImage desktop = rig().grimRegion(QRect(QPoint(), kOutput));
    ASSERT_EQ(desktop.size(), kOutput);
    const QImage truth = desktop.copy(region);
    const QStringList before = pictureFiles({"/tmp", rig().dir()});

    const QList<QJsonObject> states = captureByDragging(region);
    ASSERT_GE(states.size(), 2);
    EXPECT_EQ(states[0].value("state").toString(), "hidden");
    EXPECT_EQ(states[1].value("state").toString(), "loading");
    EXPECT_EQ(states.back().value("state").toString(), "result");
    EXPECT_EQ(states.back().value("best_reply").toString(), "Sure!");

    // One upload, of the dragged pixels as the screen showed them.
    expectUploadOf(truth, QPoint(kOutput.width() / 2, kOutput.height() / 2) - region.topLeft());

    // The panel is on screen beside the selection, not over it. The app has
    // printed its state when the compositor may not have shown it yet.
    QRect changed;
    const auto panelShown = [&] {
        const QImage shown = rig().grimRegion(QRect(QPoint(), kOutput));
        changed = QRect();
        for (int y = 0; y < shown.height(); y += 4)
            for (int x = 0; x < shown.width(); x += 4)
                if (!near(shown.pixelColor(x, y), desktop.pixelColor(x, y)))
                    changed |= QRect(x, y, 1, 1);
        return !changed.isEmpty();
    };
    EXPECT_TRUE(QTest::qWaitFor(panelShown, 10000)) << "no panel on the output";
    EXPECT_FALSE(changed.intersects(region.adjusted(8, 8, -8, -8))) << "the panel covers the selection";
    EXPECT_TRUE(changed.intersects(region.adjusted(-40, -40, 40, 40)) ||
                changed.adjusted(-40, -40, 40, 40).intersects(region))
        << "the panel is not beside the selection";

    // The reply on the clipboard Wayland applications paste from.
    EXPECT_EQ(pastedWithin("Sure!", 5000), "Sure!");

    // The portal's picture file is gone; nothing captured is on disk.
    EXPECT_FALSE(QFile::exists("/tmp/out.png"));
    QStringList left = pictureFiles({"/tmp", rig().dir()});
    for (const QString &file : before)
        left.removeAll(file);
    EXPECT_TRUE(left.isEmpty()) << left.join(", ").toStdString();
}

TEST_F(WaylandCapture, TheCaptureCommandBoundToAKeyHandsTheCaptureToTheRunningApp)
{
    // Where the desktop has no shortcuts portal (sway), the user binds
    // `tavolen capture` to a key; the resident app does the capture.
    service.script(test::kStream,
                   test::ScriptedResponse::stream({test::eventLines("result", test::envelopeJson())}));
    QProcess *resident = startTavolen({});
    const auto registered = [&] {
        QByteArray out;
        rig().run({"dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                   "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                   "string:app.tavolen.Tavolen"},
                  &out, 3000);
        return out.contains("boolean true");
    };
    ASSERT_TRUE(QTest::qWaitFor(registered, 20000)) << resident->readAllStandardError().toStdString();

    // What the screen shows before the capture starts: once the overlay is
    // up, the compositor may already show its dim layer over it. The launch's
    // ready note goes first, so that the portal's picture cannot hold it.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return showsOnlyPattern(rig().grimRegion(QRect(QPoint(), kOutput))); }, 20000))
        << "the ready note stays on the output";
    const QRect region(kOutput.width() / 2 - 40, kOutput.height() / 2 - 90, 180, 130);
    const QImage truth = rig().grimRegion(region);
    ASSERT_EQ(truth.size(), region.size());
    EXPECT_EQ(rig().run({rig().stage(TAVOLEN_BINARY), "capture"}, nullptr, 10000), 0)
        << "handed over at once";
    ASSERT_TRUE(QTest::qWaitFor([&] { return overlayShown(); }, 60000))
        << resident->readAllStandardError().toStdString();
    ASSERT_TRUE(rig().drag(region.topLeft(), region.topLeft() + QPoint(region.width(), region.height())));

    ASSERT_TRUE(QTest::qWaitFor([&] { return service.requests(test::kStream).size() == 1; }, 20000));
    expectUploadOf(truth, QPoint(kOutput.width() / 2, kOutput.height() / 2) - region.topLeft());
    EXPECT_EQ(pastedWithin("Sure!", 10000), "Sure!");
    EXPECT_EQ(resident->state(), QProcess::Running);
}

class WaylandTwoOutputs : public WaylandCapture {};

TEST_F(WaylandTwoOutputs, ASelectionOnAnOutputAtTwiceTheScaleIsCutAtThatOutputsOwnPixels)
{
    // A second output right of the first, 1280x720 pixels at scale 2: 640x360
    // in desktop coordinates. The portal's picture of the whole desktop comes
    // at the highest scale, so the first output's part is twice its size.
    ASSERT_EQ(rig().run({"swaymsg", "create_output"}), 0);
    ASSERT_EQ(rig().run({"swaymsg", "output HEADLESS-2 resolution 1280x720 position 1920 0 scale 2"}), 0);
    ASSERT_EQ(rig().run({"swaymsg", "focus output HEADLESS-2"}), 0);
    const QRect second(1920, 0, 640, 360);
    QStringList argv{rig().stage(TAVOLEN_PATTERN_HELPER), "0", "0", "400", "300"};
    for (const QColor &c : kQuadrants)
        argv << c.name();
    QProcessEnvironment xcb;
    xcb.insert("QT_QPA_PLATFORM", "xcb");
    rig().spawn(argv, xcb);
    // The pattern's top-left quadrant fills the output's top-left quarter.
    const auto shown = [&] {
        const QImage picture = rig().grimRegion(second);
        return picture.size() == QSize(1280, 720) && near(picture.pixelColor(320, 180), kQuadrants[0]) &&
               near(picture.pixelColor(960, 540), kQuadrants[3]);
    };
    ASSERT_TRUE(QTest::qWaitFor(shown, 30000)) << "the pattern did not show on the second output";

    service.script(test::kStream,
                   test::ScriptedResponse::stream({test::eventLines("result", test::envelopeJson())}));
    const QPoint middle = second.center() + QPoint(1, 1);
    const QRect region(middle - QPoint(77, 41), QSize(150, 90));
    const QImage truth = rig().grimRegion(region);
    ASSERT_EQ(truth.size(), region.size() * 2) << "grim grabs at the output's own scale";

    const QList<QJsonObject> states = captureByDragging(region);
    ASSERT_FALSE(states.isEmpty());
    EXPECT_EQ(states.back().value("state").toString(), "result");
    expectUploadOf(truth, (middle - region.topLeft()) * 2);
}

} // namespace
