// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/CaptureStack.h"
#include "capture/OverlayWindow.h"
#include "core/MemorySettingsStore.h"
#include "e2e/harness/Desktop.h"
#include "flow/CaptureFlow.h"
#include "support/FlowFakes.h"

#include <QImage>
#include <QTest>
#include <QWindow>

#include <functional>
#include <optional>

namespace tavolen::e2e {

// A capture run wired exactly as the app wires it (the real overlay, window
// list, grab, focus handling and clipboard on X11), with the analysis service
// replaced by a fake, so a test sees exactly the JPEG that would be uploaded.
// The panel is a recorder, or the real result panel with the recorder watching.
class FlowHarness {
public:
    enum class Panel { Recorded, Real };
    explicit FlowHarness(Panel kind = Panel::Recorded)
        : m_stack(kind == Panel::Real ? std::make_unique<app::CaptureStack>(settings, &analysis, &panel)
                                      : std::make_unique<app::CaptureStack>(settings, panel, &analysis))
    {
        QObject::connect(&flow(), &flow::CaptureFlow::runFinished, [this] { m_ended = true; });
    }

    // Starts a run and waits until every overlay window is on screen and the
    // first has the keyboard. False when that does not happen.
    bool begin()
    {
        m_ended = false;
        flow().begin();
        const QList<capture::OverlayWindow *> windows = overlay().windows();
        if (windows.size() != QGuiApplication::screens().size())
            return false;
        for (capture::OverlayWindow *w : windows)
            if (!QTest::qWaitForWindowExposed(w, 5000))
                return false;
        return QTest::qWaitFor(
            [&] { return QGuiApplication::focusWindow() == windows.front()->windowHandle(); }, 5000);
    }
    // Waits until the run has ended (selection cancelled or analysis done).
    bool waitForEnd()
    {
        return QTest::qWaitFor([&] { return m_ended; }, 10000);
    }
    // A whole run: begin(), the gesture on the overlay, waitForEnd().
    bool select(const std::function<void()> &gesture)
    {
        if (!begin())
            return false;
        gesture();
        return waitForEnd();
    }

    // The JPEG handed to the analysis service, decoded; nullopt when none was.
    std::optional<QImage> uploaded() const
    {
        if (analysis.streamJpegs.empty())
            return std::nullopt;
        return QImage::fromData(analysis.streamJpegs.front(), "JPEG");
    }
    // Checks that the uploaded JPEG is exactly `area` of the desktop (native
    // pixels) and compares `window`'s colours in it; how many of its
    // quadrants were compared (none when nothing was uploaded).
    int expectUploadOf(QRect area, const ForeignWindow &window) const
    {
        const QImage jpeg = uploaded().value_or(QImage());
        EXPECT_EQ(jpeg.size(), area.size()) << (jpeg.isNull() ? "nothing was uploaded" : "");
        return window.expectShownIn(jpeg, area.topLeft());
    }
    // Where the panel was first told to appear (global logical pixels).
    std::optional<QRectF> near() const
    {
        for (const auto &shown : panel.shown)
            if (shown.near)
                return shown.near;
        return std::nullopt;
    }

    capture::SelectionOverlay &overlay() { return m_stack->overlay(); }
    flow::CaptureFlow &flow() { return m_stack->flow(); }
    // Null unless built with the real panel.
    panel::ResultPanel *resultPanel() { return m_stack->resultPanel(); }
    MemorySettingsStore settings;
    test::FakeAnalysis analysis;
    test::RecordingPanel panel;

private:
    // Destroyed last: lets the overlay's deferred deletions run before the next test starts.
    struct Settle {
        ~Settle() { QTest::qWait(1); }
    } m_settle;
    std::unique_ptr<app::CaptureStack> m_stack;
    bool m_ended = false;
};

} // namespace tavolen::e2e
