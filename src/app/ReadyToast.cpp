// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ReadyToast.h"

#include "app/ToastPlacement.h"
#include "app/ToastView.h"
#include "app/ToastWindow.h"
#include "platform/FloatingWindows.h"

#include <QPointer>
#include <QPropertyAnimation>
#include <QTimer>
#include <QWindow>

namespace tavolen::app {

namespace {

void fade(ToastWindow *window, double to, std::chrono::milliseconds duration, std::function<void()> done = {})
{
    auto *animation = new QPropertyAnimation(window, "windowOpacity", window);
    animation->setDuration(int(duration.count()));
    animation->setStartValue(window->windowOpacity());
    animation->setEndValue(to);
    if (done)
        QObject::connect(animation, &QAbstractAnimation::finished, window, std::move(done));
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace

ReadyToast::ReadyToast(platform::FloatingWindows &windows, Timings timings)
    : m_windows(windows), m_timings(timings)
{}

ReadyToast::~ReadyToast() = default;

void ReadyToast::show(std::optional<QRect> trayIcon)
{
    if (m_window)
        m_window->hide();

    // Asked afresh for every toast: a compositor may have started or stopped.
    const bool translucent = m_windows.compositing();
    auto *view = new ToastView(translucent ? ui::Backdrop::Translucent : ui::Backdrop::Opaque);
    auto window = std::make_unique<ToastWindow>(view, translucent);
    view->ensurePolished();
    const QSizeF size = view->fittingSize();
    const std::optional<QRectF> icon = trayIcon ? std::optional<QRectF>(QRectF(*trayIcon)) : std::nullopt;
    window->placeCapsule(QRectF(toastOrigin(size, icon, m_screens()), size));

    window->setWindowOpacity(0);
    platform::showAsPanel(m_windows, *window);
    window->raise();
    m_window = std::move(window);

    fade(m_window.get(), 1, m_timings.fadeIn);
    // Bound to this object: once the toast object is gone the step does nothing.
    QTimer::singleShot(m_timings.hideAfter, this, [this] { hideStep(); });
}

void ReadyToast::hideStep()
{
    if (!m_window)
        return;
    // Whichever toast is current now fades, even one shown after this step was scheduled.
    QPointer<ToastWindow> window = m_window.get();
    fade(window, 0, m_timings.fadeOut, [window] {
        if (window)
            window->hide();
    });
}

} // namespace tavolen::app
