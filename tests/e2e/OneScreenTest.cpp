// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/SelectionView.h"
#include "e2e/harness/Desktop.h"
#include "e2e/harness/FlowHarness.h"

#include <QFile>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::e2e;

// OneScreen: Xvfb 1280 x 1024 with openbox, scale factor 1.
// ScaledScreen: the same, with this process scaling by 2 (640 x 512 logical).
// Composited: the same, with xcompmgr compositing it, so the overlay is a
// translucent window over the live desktop instead of a still of it.
// OtherDepth: the same at 16 and at 30 bits a pixel.

namespace {

// What the overlay's dim layer (black at 64 of 255) leaves of a colour.
constexpr qreal kDimmed = 1 - 64 / 255.0;

// The mean channel difference of two images of one size, over the whole of
// them or only their outermost `band` rows and columns, where the overlay
// outlines what is selected.
double meanDifference(const QImage &a, const QImage &b, std::optional<int> band = std::nullopt)
{
    const QRect inner = band ? a.rect().adjusted(*band, *band, -*band, -*band) : QRect();
    double sum = 0;
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (band && inner.contains(x, y))
                continue;
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            sum +=
                std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue());
            count += 3;
        }
    }
    return count ? sum / count : 0;
}

// Shared-memory segments mapped by this process (the grab's and Qt's window
// backing stores), with the kilobytes they hold.
struct Segments {
    int count = 0;
    qint64 kb = 0;
};

Segments sharedSegments()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    Segments s;
    if (!maps.open(QIODevice::ReadOnly))
        return s;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        if (!line.contains("/SYSV") && !line.contains("/memfd:"))
            continue;
        const QList<QByteArray> range = line.left(line.indexOf(' ')).split('-');
        s.count += 1;
        s.kb += (range.value(1).toULongLong(nullptr, 16) - range.value(0).toULongLong(nullptr, 16)) / 1024;
    }
    return s;
}

} // namespace

TEST(OneScreen, AWindowThatCannotRepaintIsCapturedAsTheUserSawIt)
{
    // Under the hint pill, which the overlay draws at the top of the screen.
    auto window = ForeignWindow::open(QRect(400, 30, 480, 320), kWarm);
    ASSERT_TRUE(window);
    const QRect region(window->client().topLeft() + QPoint(20, 5), QSize(440, 280));
    const QImage before = screenshot().copy(region);
    window->freeze(); // busy or hung: it repaints nothing the overlay covered
    FlowHarness h;
    ASSERT_TRUE(h.select([&] { drag(region.topLeft(), region.topLeft() + QPoint(440, 280)); }));
    window->thaw();
    EXPECT_EQ(h.near(), QRectF(region));
    const std::optional<QImage> uploaded = h.uploaded();
    ASSERT_TRUE(uploaded);
    ASSERT_EQ(uploaded->size(), region.size());
    // 8 x 8 blocks whose mean colour moved by more than JPEG moves it where
    // four colours meet: the dim layer and the hint pill, had the overlay's
    // leftovers been grabbed (every block, on a desktop without backing store).
    int changed = 0;
    for (int y = 0; y + 8 <= region.height(); y += 8)
        for (int x = 0; x + 8 <= region.width(); x += 8)
            changed += meanDifference(uploaded->copy(x, y, 8, 8), before.copy(x, y, 8, 8)) > 30;
    EXPECT_EQ(changed, 0);
}

TEST(OneScreen, EscapeOrAClickOnTheBareDesktopCancelsAndGivesTheFocusBack)
{
    auto window = ForeignWindow::open(QRect(300, 200, 300, 200), kWarm);
    ASSERT_TRUE(window);
    window->raise();
    ASSERT_TRUE(QTest::qWaitFor([&] { return activeWindow() == window->id(); }, 5000));
    const std::function<void()> gestures[] = {pressEscape, [] { click(QPoint(1100, 900)); }};
    for (const auto &gesture : gestures) {
        FlowHarness h;
        ASSERT_TRUE(h.select(gesture));
        EXPECT_FALSE(h.uploaded());
        EXPECT_TRUE(h.panel.shown.empty());
        EXPECT_TRUE(h.overlay().windows().isEmpty());
        EXPECT_TRUE(QTest::qWaitFor([&] { return activeWindow() == window->id(); }, 5000));
    }
}

TEST(OneScreen, ThisAppsOwnWindowsAreNeverPicked)
{
    auto window = ForeignWindow::open(QRect(200, 150, 400, 300), kWarm);
    ASSERT_TRUE(window);
    // Our own window, in front of the foreign one and reaching past it.
    QWidget own;
    own.setGeometry(window->client().center().x(), window->client().center().y(), 500, 400);
    own.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&own));
    // The overlay's window list is read from the window manager's stacking order.
    ASSERT_TRUE(QTest::qWaitFor([&] { return inFront(quint32(own.winId())); }, 5000));

    FlowHarness h;
    ASSERT_TRUE(h.select([&] { click(window->client().center() + QPoint(20, 20)); }));
    ASSERT_TRUE(h.uploaded());
    EXPECT_EQ(h.uploaded()->size(), window->frame().size()) << "the click passes through our window";

    FlowHarness second;
    ASSERT_TRUE(second.select([&] { click(own.geometry().bottomRight() - QPoint(20, 20)); }));
    EXPECT_FALSE(second.uploaded()) << "nothing foreign beneath our window";
}

TEST(OneScreen, OverlappingWindowsPickTheFrontMost)
{
    auto a = ForeignWindow::open(QRect(150, 150, 400, 300), kWarm);
    auto b = ForeignWindow::open(QRect(350, 300, 420, 320), kCool);
    ASSERT_TRUE(a && b);
    const QPoint overlap = a->client().intersected(b->client()).center();
    for (ForeignWindow *front : {b.get(), a.get()}) {
        front->raise();
        FlowHarness h;
        ASSERT_TRUE(h.select([&] { click(overlap); }));
        EXPECT_EQ(h.expectUploadOf(front->frame(), *front), 4) << "the whole frame";
        EXPECT_EQ(h.near(), QRectF(front->frame()));
    }
}

TEST(OneScreen, ASelectionSoonAfterAnotherReusesItsWindowAndMemoryUntilBothAreLetGo)
{
    FlowHarness h;
    h.overlay().setKeepWarm(std::chrono::milliseconds(1500));
    const Segments before = sharedSegments();
    ASSERT_TRUE(h.begin());
    const QPointer<capture::OverlayWindow> first = h.overlay().windows().front();
    pressEscape();
    ASSERT_TRUE(h.waitForEnd());
    const Segments kept = sharedSegments();
    EXPECT_EQ(h.overlay().keptWindowCount(), 1);
    EXPECT_GE(kept.kb - before.kb, 2 * 1280 * 1024 * 4 / 1024) << "the still and the window's pixels";

    ASSERT_TRUE(h.begin());
    EXPECT_EQ(h.overlay().windows().front(), first.data()) << "the hidden window shows again";
    EXPECT_EQ(sharedSegments().count, kept.count) << "no segment made afresh for the grab or the window";
    pressEscape();
    ASSERT_TRUE(h.waitForEnd());

    EXPECT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }, 5000)) << "let go after a while";
    EXPECT_EQ(h.overlay().keptWindowCount(), 0);
    EXPECT_LE(sharedSegments().kb, before.kb) << "nothing of the selections is held any more";
}

TEST(ScaledScreen, DragOf100By50LogicalPixelsUploads200By100AndAClickTheNativeFrame)
{
    auto window = ForeignWindow::open(QRect(300, 250, 500, 400), kWarm);
    ASSERT_TRUE(window);
    const QPoint from = window->client().topLeft() + QPoint(100, 100); // native
    FlowHarness h;
    ASSERT_TRUE(h.select([&] { drag(from, from + QPoint(200, 100)); }));
    EXPECT_EQ(h.expectUploadOf(QRect(from, QSize(200, 100)), *window), 1);
    EXPECT_EQ(h.near(), QRectF(from.x() / 2.0, from.y() / 2.0, 100, 50));

    FlowHarness clicked;
    ASSERT_TRUE(clicked.select([&] { click(window->client().center()); }));
    EXPECT_EQ(clicked.expectUploadOf(window->frame(), *window), 4);
}

TEST(Composited, TheLiveDesktopIsDimmedAroundTheHighlightAndNoTraceOfTheOverlayReachesTheJpeg)
{
    auto window = ForeignWindow::open(QRect(200, 150, 400, 300), kWarm);
    ASSERT_TRUE(window);
    // Half on the window, half on the bare desktop, which an overlay left on
    // screen would dim or outline.
    const QPoint from = window->client().topLeft() + QPoint(250, 40);
    const QSize dragged(300, 220);
    // The compositor puts a new window on screen a moment after it is painted.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->shownIn(screenshot(), {}); }, 5000));
    const QImage before = screenshot().copy(QRect(from, dragged));
    std::unique_ptr<ForeignWindow> later;
    QImage shot;
    FlowHarness h;
    ASSERT_TRUE(h.select([&] {
        // Opened beneath the overlay: only a live desktop shows it.
        later = ForeignWindow::open(QRect(750, 550, 300, 200), kCool);
        const QPoint hover = window->client().center();
        xdotool({"mousemove", QString::number(hover.x()), QString::number(hover.y())});
        // The checks below say what was wrong if the screen never settles.
        static_cast<void>(QTest::qWaitFor(
            [&] {
                shot = screenshot();
                return later && window->shownIn(shot, {}) && later->shownIn(shot, {}, kDimmed);
            },
            5000));
        drag(from, from + QPoint(dragged.width(), dragged.height()));
    }));
    ASSERT_TRUE(later);
    EXPECT_EQ(window->expectShownIn(shot, {}), 4); // highlighted: undimmed
    EXPECT_EQ(later->expectShownIn(shot, {}, kDimmed), 4);

    EXPECT_EQ(h.expectUploadOf(QRect(from, dragged), *window), 2);
    ASSERT_TRUE(h.uploaded());
    EXPECT_LT(meanDifference(*h.uploaded(), before, 2), 6);
}

TEST(OtherDepth, TheStillAndTheCaptureShowTheWindowsColours)
{
    auto window = ForeignWindow::open(QRect(200, 150, 400, 300), kWarm);
    ASSERT_TRUE(window);
    FlowHarness h;
    ASSERT_TRUE(h.begin());
    const QImage still = h.overlay().windows().front()->view()->still();
    EXPECT_EQ(window->expectShownIn(still, {}), 4) << "the overlay shows the screen, not black";
    click(window->quadrantCentres().front());
    ASSERT_TRUE(h.waitForEnd());
    EXPECT_EQ(h.expectUploadOf(window->frame(), *window), 4);
}
