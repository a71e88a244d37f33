// The whole loop on a Wayland desktop: `tavolen capture` inside the rig's
// session, the screenshot portal, the overlay on XWayland, the scripted
// analysis service in this process, the panel and the Wayland clipboard.
#include "e2e/wayland/WaylandDesktop.h"
#include "support/ScriptedServer.h"
#include "support/ServiceAnswers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

using namespace tavolen;
using namespace tavolen::e2e;

// Every picture file under `roots` (where a screenshot could be left behind).
QStringList pictureFiles(const QStringList &roots)
{
    QStringList found;
    for (const QString &root : roots) {
        QDirIterator it(root, {"*.png", "*.jpg", "*.jpeg", "*.ppm"},
                        QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
    }
    return found;
}

class WaylandCapture : public WaylandDesktop {
protected:
    // `tavolen capture` inside the session, its settings pointing at `service`.
    QProcess *startCapture()
    {
        const QString config = rig().dir() + "/home/.config";
        QDir().mkpath(config + "/tavolen");
        QFile conf(config + "/tavolen/tavolen.conf");
        EXPECT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write(QString("[General]\napi_base=%1\napp_lang=en\nonboard_done=true\n")
                       .arg(service.baseUrl())
                       .toUtf8());
        conf.close();
        rig().run({"chown", "-R", "65534:65534", config});
        // The app chooses its own window system: XWayland, as the session
        // offers it. Only the session's type is said, as a login manager would.
        QProcessEnvironment extra;
        extra.insert("XDG_CONFIG_HOME", config);
        extra.insert("XDG_SESSION_TYPE", "wayland");
        return rig().spawn({rig().stage(TAVOLEN_BINARY), "capture"}, extra);
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

    test::ScriptedServer service;
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

    QProcess *capture = startCapture();
    QByteArray out;
    const auto overlayShown = [&] {
        return rig().run({"xdotool", "search", "--onlyvisible", "--name", "Tavolen selection"}, nullptr,
                         3000) == 0;
    };
    ASSERT_TRUE(QTest::qWaitFor(overlayShown, 20000))
        << capture->readAllStandardError().toStdString() << "\n--- portal:\n"
        << rig().logTail("portal").toStdString();
    ASSERT_TRUE(rig().drag(region.topLeft(), region.topLeft() + QPoint(region.width(), region.height())));

    const QList<QJsonObject> states = statesUntil(*capture, "result", out);
    ASSERT_GE(states.size(), 2) << capture->readAllStandardError().toStdString();
    EXPECT_EQ(states[0].value("state").toString(), "hidden");
    EXPECT_EQ(states[1].value("state").toString(), "loading");
    EXPECT_EQ(states.back().value("state").toString(), "result") << out.toStdString();
    EXPECT_EQ(states.back().value("best_reply").toString(), "Sure!");

    // One upload, of the dragged pixels as the screen showed them.
    ASSERT_EQ(service.requests(test::kStream).size(), 1);
    const QImage jpeg = QImage::fromData(service.requests(test::kStream).front().jpeg(), "JPEG");
    ASSERT_EQ(jpeg.size(), region.size());
    const QPoint border = QPoint(kOutput.width() / 2, kOutput.height() / 2) - region.topLeft();
    for (const QPoint at :
         {QPoint(2, 2), border - QPoint(3, 3), border + QPoint(3, -3), border + QPoint(-3, 3),
          border + QPoint(3, 3), QPoint(region.width() - 3, region.height() - 3)})
        EXPECT_TRUE(near(jpeg.pixelColor(at), truth.pixelColor(at), 24))
            << "at " << at.x() << "," << at.y() << ": " << jpeg.pixelColor(at).name().toStdString() << " vs "
            << truth.pixelColor(at).name().toStdString();

    // The panel is on screen beside the selection, not over it.
    const QImage shown = rig().grimRegion(QRect(QPoint(), kOutput));
    QRect changed;
    for (int y = 0; y < shown.height(); y += 4)
        for (int x = 0; x < shown.width(); x += 4)
            if (!near(shown.pixelColor(x, y), desktop.pixelColor(x, y)))
                changed |= QRect(x, y, 1, 1);
    EXPECT_FALSE(changed.isEmpty()) << "no panel on the output";
    EXPECT_FALSE(changed.intersects(region.adjusted(8, 8, -8, -8))) << "the panel covers the selection";
    EXPECT_TRUE(changed.intersects(region.adjusted(-40, -40, 40, 40)) ||
                changed.adjusted(-40, -40, 40, 40).intersects(region))
        << "the panel is not beside the selection";

    // The reply on the clipboard Wayland applications paste from.
    std::optional<QByteArray> pasted;
    for (QDeadlineTimer deadline(5000); pasted != "Sure!" && !deadline.hasExpired(); QThread::msleep(100))
        pasted = rig().pasteText();
    EXPECT_EQ(pasted, "Sure!");

    // The portal's picture file is gone; nothing captured is on disk.
    EXPECT_FALSE(QFile::exists("/tmp/out.png"));
    QStringList left = pictureFiles({"/tmp", rig().dir()});
    for (const QString &file : before)
        left.removeAll(file);
    EXPECT_TRUE(left.isEmpty()) << left.join(", ").toStdString();
}

} // namespace
