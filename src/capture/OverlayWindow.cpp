// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/OverlayWindow.h"

#include "capture/SelectionView.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace tavolen::capture {

namespace {
// The grab fails until the server has mapped the window; a few short retries
// cover that without holding up the GUI thread.
constexpr int kGrabAttempts = 50;
constexpr int kGrabRetryMs = 10;
} // namespace

OverlayWindow::OverlayWindow(QScreen *screen, SelectionView *view, bool translucent)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::X11BypassWindowManagerHint | Qt::NoDropShadowWindowHint),
      m_screen(screen), m_view(view)
{
    setAttribute(Qt::WA_TranslucentBackground, translucent);
    setAttribute(Qt::WA_NoSystemBackground, !translucent);
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    setWindowTitle(QStringLiteral("Tavolen selection"));
    setScreen(screen);
    setGeometry(screen->geometry());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    adopt(view);
}

void OverlayWindow::setView(SelectionView *view)
{
    delete std::exchange(m_view, view);
    m_grabAttempts = 0;
    adopt(view);
}

void OverlayWindow::adopt(SelectionView *view)
{
    layout()->addWidget(view);
    view->onRelease = [this](std::optional<QRectF> rect) {
        report(rect ? std::optional(Selection{*rect, m_screen, m_view->still()}) : std::nullopt);
    };
}

void OverlayWindow::cover()
{
    // A Wayland client cannot bypass the compositor's window management (sway
    // would tile the overlay into part of the screen); full screen on its
    // screen is the one way it may cover it.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        setScreen(m_screen);
        showFullScreen();
        return;
    }
    show();
}

void OverlayWindow::takeKeyboard()
{
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
    QWindow *window = windowHandle();
    if (window && window->setKeyboardGrabEnabled(true))
        return;
    if (++m_grabAttempts >= kGrabAttempts)
        return;
    QPointer<OverlayWindow> self(this);
    QTimer::singleShot(kGrabRetryMs, this, [self] {
        if (self && self->isVisible())
            self->takeKeyboard();
    });
}

void OverlayWindow::keyPressEvent(QKeyEvent *event)
{
    // Every other key is swallowed: nothing beneath should react meanwhile.
    event->accept();
    if (event->key() == Qt::Key_Escape)
        report(std::nullopt);
}

void OverlayWindow::report(std::optional<Selection> outcome)
{
    if (onFinish) {
        const auto finish = onFinish;
        finish(std::move(outcome));
    }
}

} // namespace tavolen::capture
