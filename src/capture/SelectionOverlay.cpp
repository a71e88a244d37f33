// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/SelectionOverlay.h"

#include "capture/OverlayWindow.h"
#include "capture/ScreenGeometry.h"
#include "capture/SelectionTargets.h"
#include "capture/SelectionView.h"
#include "platform/ScreenGrabber.h"
#include "platform/WindowList.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <qcoro/qcorotimer.h>

namespace tavolen::capture {

namespace {
constexpr std::chrono::milliseconds kRepaintTime{50};
} // namespace

SelectionOverlay::SelectionOverlay(platform::WindowList &windows, platform::ScreenGrabber &grabber,
                                   QObject *parent)
    : QObject(parent), m_windowList(windows), m_grabber(grabber)
{
    m_keepWarm.setSingleShot(true);
    m_keepWarm.setInterval(kKeepWarm);
    connect(&m_keepWarm, &QTimer::timeout, this, &SelectionOverlay::releaseSpare);
}

SelectionOverlay::~SelectionOverlay()
{
    closeWindows();
    releaseSpare();
}

QList<OverlayWindow *> SelectionOverlay::windows() const
{
    QList<OverlayWindow *> result;
    for (const auto &w : m_windows) {
        if (w)
            result.append(w.data());
    }
    return result;
}

void SelectionOverlay::begin(SelectionCompletion completion)
{
    if (isSelecting())
        return;
    if (QGuiApplication::screens().isEmpty()) {
        // Nothing to show on; the caller still gets its one answer.
        if (completion)
            completion(std::nullopt);
        return;
    }
    m_completion = std::move(completion);
    if (m_grabber.readsStillsOnly())
        showOnDesktopStill();
    else
        showWindows(std::nullopt);
}

QCoro::Task<> SelectionOverlay::showOnDesktopStill()
{
    QPointer<SelectionOverlay> self(this);
    m_awaitingStill = true;
    // The panel of the last run was hidden a moment ago; the compositor
    // needs a frame or two to repaint what it covered before it takes the
    // picture.
    co_await QCoro::sleepFor(kRepaintTime);
    if (!self)
        co_return;
    std::optional<QImage> desktop = co_await m_grabber.desktopStill();
    if (!self)
        co_return;
    m_awaitingStill = false;
    // Refused, failed, or every screen gone meanwhile: the selection ends
    // unmade, and the caller asks the session why.
    if (!desktop || desktop->isNull() || QGuiApplication::screens().isEmpty()) {
        finish(std::nullopt);
        co_return;
    }
    showWindows(std::move(desktop));
}

void SelectionOverlay::showWindows(std::optional<QImage> desktop)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    QList<ScreenMetrics> metrics;
    QRect desktopArea;
    for (QScreen *screen : screens) {
        metrics.append(metricsOf(*screen));
        desktopArea |= metrics.back().nativeRect();
    }
    const bool windowsPickable = m_windowList.canList();
    const QList<QRect> targets =
        windowsPickable ? pickableWindows(m_windowList.frontToBack(), metrics) : QList<QRect>();
    // Without a compositor a translucent window shows black instead of the
    // desktop, so each screen shows a still of itself under the dim layer.
    const bool translucent = !desktop && m_grabber.translucencyShowsDesktop();
    const QPoint pointer = QCursor::pos();

    QPointer<SelectionOverlay> self(this);
    for (qsizetype i = 0; i < screens.size(); ++i) {
        QScreen *screen = screens[i];
        QImage frozen;
        if (desktop) {
            frozen = screenStill(*desktop, desktopArea, metrics[i]);
        } else if (!translucent) {
            frozen = m_grabber.grab(metrics[i].nativeRect()).value_or(QImage());
            frozen.setDevicePixelRatio(metrics[i].pixelRatio);
        }
        auto *view = new SelectionView(SelectionModel(targetsOnScreen(targets, metrics[i]), screen->size()),
                                       std::move(frozen));
        if (!windowsPickable)
            view->offerRegionsOnly();
        OverlayWindow *window = windowFor(screen, view, translucent);
        if (screen->geometry().contains(pointer))
            view->hoverAt(QPointF(pointer - screen->geometry().topLeft()));
        window->onFinish = [self](std::optional<Selection> outcome) {
            if (self)
                self->finish(std::move(outcome));
        };
        view->onHovered = [self, view] {
            if (self)
                self->pointerOn(view);
        };
        window->cover();
        m_windows.append(window);
    }
    // Kept windows for screens that are gone, or of another kind, are not wanted.
    dropSpareWindows();
    // Only the first screen's window takes the keyboard, so only it sees Esc.
    m_windows.front()->takeKeyboard();
}

OverlayWindow *SelectionOverlay::windowFor(QScreen *screen, SelectionView *view, bool translucent)
{
    m_keepWarm.stop();
    for (qsizetype i = 0; i < m_spare.size(); ++i) {
        OverlayWindow *spare = m_spare[i];
        if (spare && spare->overlayScreen() == screen && spare->geometry() == screen->geometry() &&
            spare->isTranslucent() == translucent) {
            m_spare.removeAt(i);
            spare->setView(view);
            return spare;
        }
    }
    return new OverlayWindow(screen, view, translucent);
}

void SelectionOverlay::dropSpareWindows()
{
    for (const auto &spare : std::exchange(m_spare, {})) {
        if (spare)
            spare->deleteLater();
    }
}

void SelectionOverlay::releaseSpare()
{
    dropSpareWindows();
    m_grabber.releaseSpareMemory();
}

void SelectionOverlay::pointerOn(SelectionView *here)
{
    // One highlight at a time, on the screen under the pointer: a window that
    // spans two screens is ringed only where the pointer is.
    for (const auto &window : m_windows) {
        if (window && window->view() != here)
            window->view()->clearHover();
    }
}

void SelectionOverlay::finish(std::optional<Selection> outcome)
{
    // Taken first, so a second report (another screen, a late key) finds
    // nothing to call.
    SelectionCompletion completion = std::exchange(m_completion, {});
    closeWindows();
    if (completion)
        completion(std::move(outcome));
}

void SelectionOverlay::closeWindows()
{
    for (const auto &window : std::exchange(m_windows, {})) {
        if (!window)
            continue;
        window->onFinish = nullptr;
        window->hide();
        window->view()->releaseStill();
        m_spare.append(window);
    }
    if (!m_spare.isEmpty())
        m_keepWarm.start();
}

} // namespace tavolen::capture
