// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "capture/Selection.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <qcoro/qcorotask.h>

#include <chrono>

namespace tavolen::platform {
class ScreenGrabber;
class WindowList;
} // namespace tavolen::platform

namespace tavolen::capture {

class OverlayWindow;
class SelectionView;

// Lets the user pick a window or drag a region on any screen: one overlay
// window per screen while a selection is in progress. Afterwards the windows
// and the grabber's memory are kept hidden for a while: a full-screen window
// made afresh costs tens of milliseconds in page faults before its first
// frame, which a user selecting one message after another would feel.
class SelectionOverlay final : public QObject, public Selector {
    Q_OBJECT
public:
    // Both services must outlive the overlay.
    SelectionOverlay(platform::WindowList &windows, platform::ScreenGrabber &grabber,
                     QObject *parent = nullptr);
    ~SelectionOverlay() override;

    void begin(SelectionCompletion completion) override;

    // Also while the desktop's picture is awaited, before any window shows.
    bool isSelecting() const { return m_awaitingStill || !m_windows.isEmpty(); }
    // The windows shown, in the order of QGuiApplication::screens().
    QList<OverlayWindow *> windows() const;

    // How long the hidden windows and the grabber's memory are kept after a
    // selection (a full-screen window holds 8 MB at 1080p, 33 MB at 4K).
    static constexpr std::chrono::milliseconds kKeepWarm{60000};
    void setKeepWarm(std::chrono::milliseconds keep) { m_keepWarm.setInterval(keep); }
    int keptWindowCount() const { return int(m_spare.size()); }

private:
    QCoro::Task<> showOnDesktopStill();
    // `desktop`: the whole desktop's picture to show and cut from, if any.
    void showWindows(std::optional<QImage> desktop);
    void pointerOn(SelectionView *here);
    void finish(std::optional<Selection> outcome);
    void closeWindows();
    OverlayWindow *windowFor(QScreen *screen, SelectionView *view, bool translucent);
    void dropSpareWindows();
    void releaseSpare();

    platform::WindowList &m_windowList;
    platform::ScreenGrabber &m_grabber;
    QList<QPointer<OverlayWindow>> m_windows;
    QList<QPointer<OverlayWindow>> m_spare; // hidden, kept for the next selection
    QTimer m_keepWarm;
    SelectionCompletion m_completion;
    bool m_awaitingStill = false;
};

} // namespace tavolen::capture
