#pragma once

#include "platform/ScreenGrabber.h"
#include "platform/x11/PixelLayout.h"

#include <xcb/xcb.h>

#include <atomic>
#include <mutex>
#include <optional>

namespace tavolen::platform::x11 {

// How the root window stores its pixels; nullopt for a colour-mapped screen.
std::optional<PixelLayout> rootPixelLayout(xcb_connection_t *connection);

// Reads the root window's pixels: through a shared-memory segment made for
// the one grab when the server offers MIT-SHM (no copy through the socket),
// otherwise with a plain GetImage. Any TrueColor depth is read (16, 24, 30,
// 32 bits in place; others converted).
class X11ScreenGrabber final : public ScreenGrabber {
public:
    // Takes Qt's connection now, on the GUI thread; grabs may then run on any.
    X11ScreenGrabber();

    std::optional<QImage> grab(QRect nativeRect) override;
    void prepare() override;
    std::optional<QString> unsupportedReason() const override;
    bool translucencyShowsDesktop() const override;

private:
    xcb_connection_t *m_connection;
    std::optional<PixelLayout> m_layout;
    std::once_flag m_prepared;
    std::atomic<bool> m_shm{false};
};

} // namespace tavolen::platform::x11
