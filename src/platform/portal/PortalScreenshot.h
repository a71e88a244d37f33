// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/ScreenAccess.h"
#include "platform/ScreenGrabber.h"

#include <QDBusConnection>

#include <memory>

namespace tavolen::platform::portal {

// What the Screenshot portal has told us so far, shared by the grabber that
// asks it and the access check that reports it.
struct ScreenshotAccess {
    // False once the portal turned out to be missing or without Screenshot.
    bool offered = true;
    // True once a screenshot was refused or could not be had; cleared when
    // access is asked for again.
    bool refused = false;
};

// Reads the screen through org.freedesktop.portal.Screenshot, the only way a
// Wayland client may. The portal writes the picture to a file: it is read
// into memory and deleted at once, so nothing captured stays on disk.
class PortalScreenGrabber final : public ScreenGrabber {
public:
    PortalScreenGrabber(QDBusConnection bus, std::shared_ptr<ScreenshotAccess> access);

    std::optional<QImage> grab(QRect) override { return std::nullopt; }
    bool translucencyShowsDesktop() const override { return false; }
    bool readsStillsOnly() const override { return true; }
    QCoro::Task<std::optional<QImage>> desktopStill() override;

private:
    QDBusConnection m_bus;
    std::shared_ptr<ScreenshotAccess> m_access;
};

// Screen access as the Screenshot portal grants it: assumed until the portal
// is found missing or a screenshot is refused.
class PortalScreenAccess final : public ScreenAccess {
public:
    // Asks, without waiting, whether the portal offers screenshots at all.
    PortalScreenAccess(QDBusConnection bus, std::shared_ptr<ScreenshotAccess> access);

    bool isPermitted() const override { return m_access->offered && !m_access->refused; }
    // The next screenshot asks the portal again, which asks the user itself;
    // a portal that failed once (restarted, slow to start) gets another try.
    void request() override
    {
        m_access->refused = false;
        m_access->offered = true;
    }

private:
    std::shared_ptr<ScreenshotAccess> m_access;
};

// The picture the portal left at `path`, read and then deleted whatever
// happens. nullopt when it is not a plain file of a sane size or does not
// decode. Runs on a worker thread.
std::optional<QImage> takePictureFile(const QString &path);

} // namespace tavolen::platform::portal
