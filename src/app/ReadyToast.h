// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "panel/PanelPlacement.h"
#include "ui/Tokens.h"

#include <QObject>
#include <QRect>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace tavolen::platform {
class FloatingWindows;
}

namespace tavolen::app {

class ToastWindow;

struct ReadyToastTimings {
    std::chrono::milliseconds fadeIn{ui::tokens::shell::toast::fadeInMs};
    // From the show to the start of the fade-out.
    std::chrono::milliseconds hideAfter{ui::tokens::shell::toast::hideAfterMs};
    std::chrono::milliseconds fadeOut{ui::tokens::shell::toast::fadeOutMs};
};

// The small capsule that says Tavolen is ready, shown for about three
// seconds beside the tray icon. It never takes the focus.
class ReadyToast final : public QObject {
public:
    using Timings = ReadyToastTimings;

    explicit ReadyToast(platform::FloatingWindows &windows, Timings timings = {});
    ~ReadyToast() override;

    // Shows a new toast beside `trayIcon` (global logical pixels), or near the
    // top of the primary screen without one, replacing any toast still shown.
    // Whatever toast is current 2.8 s later fades out then, even a newer one.
    void show(std::optional<QRect> trayIcon);

    // The toast most recently shown, kept after it has faded out.
    ToastWindow *window() const { return m_window.get(); }
    void setScreenSource(std::function<panel::ScreenLayout()> source) { m_screens = std::move(source); }

private:
    void hideStep();

    platform::FloatingWindows &m_windows;
    Timings m_timings;
    std::unique_ptr<ToastWindow> m_window;
    std::function<panel::ScreenLayout()> m_screens = panel::currentScreens;
};

} // namespace tavolen::app
