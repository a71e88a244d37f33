#pragma once

#include "platform/ScreenGrabber.h"

#include <xcb/xcb.h>

#include <atomic>
#include <mutex>

namespace tavolen::platform::x11 {

// Reads the root window's pixels: through a shared-memory segment made for
// the one grab when the server offers MIT-SHM (no copy through the socket),
// otherwise with a plain GetImage.
class X11ScreenGrabber final : public ScreenGrabber {
public:
    // Takes Qt's connection now, on the GUI thread; grabs may then run on any.
    X11ScreenGrabber();

    std::optional<QImage> grab(QRect nativeRect) override;
    void prepare() override;
    bool translucencyShowsDesktop() const override;

private:
    xcb_connection_t *m_connection;
    std::once_flag m_prepared;
    std::atomic<bool> m_shm{false};
};

} // namespace tavolen::platform::x11
