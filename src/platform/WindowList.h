// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QRect>

namespace tavolen::platform {

// The user's windows that a click on the overlay can pick.
class WindowList {
public:
    virtual ~WindowList() = default;
    // Outer rectangles (decorations included, invisible client-side shadows
    // excluded) in the display server's own pixels, i.e. native pixels of the
    // virtual desktop, front-most first. Leaves out this process's windows,
    // panels and docks, the desktop, hidden windows and windows on other
    // workspaces. Empty when the list cannot be read.
    virtual QList<QRect> frontToBack() const = 0;
    // Whether this session tells applications where windows are at all (a
    // Wayland desktop does not); without, the overlay offers regions only.
    virtual bool canList() const { return true; }
};

} // namespace tavolen::platform
