// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ScreenGrabber.h"
#include "platform/x11/PixelLayout.h"

#include <xcb/xcb.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

namespace tavolen::platform::x11 {

// How the root window stores its pixels; nullopt for a colour-mapped screen.
std::optional<PixelLayout> rootPixelLayout(xcb_connection_t *connection);

// Reads the root window's pixels: through a shared-memory segment when the
// server offers MIT-SHM (no copy through the socket), otherwise with a plain
// GetImage. The segment of the last grab is kept for the next one until
// releaseSpareMemory(): touching a fresh full-screen segment costs the server
// tens of milliseconds in page faults on some machines. Any TrueColor depth is read (16, 24, 30,
// 32 bits in place; others converted).
class X11ScreenGrabber final : public ScreenGrabber {
public:
    // Takes Qt's connection now, on the GUI thread; grabs may then run on any.
    X11ScreenGrabber();

    std::optional<QImage> grab(QRect nativeRect) override;
    void prepare() override;
    std::optional<PaletteDisplay> unsupportedDisplay() const override;
    bool translucencyShowsDesktop() const override;
    void releaseSpareMemory() override;

    struct SegmentPool;

private:
    xcb_connection_t *m_connection;
    std::optional<PixelLayout> m_layout;
    std::once_flag m_prepared;
    std::atomic<bool> m_shm{false};
    // Shared with the images that borrow a segment, which may outlive us.
    std::shared_ptr<SegmentPool> m_pool;
};

} // namespace tavolen::platform::x11
