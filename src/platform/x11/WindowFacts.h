// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>
#include <QtGlobal>

#include <optional>

namespace tavolen::platform::x11 {

// Left, right, top, bottom, in the order EWMH stores them.
struct Extents {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

// What the X server says about one top-level window, already read out of its
// properties, so that the choice of candidates can be tested without a server.
struct WindowFacts {
    bool viewable = false;         // mapped, and so are all its ancestors
    bool overrideRedirect = false; // menus, tooltips, other tools' overlays
    bool hidden = false;           // _NET_WM_STATE_HIDDEN
    bool notAppWindow = false;     // a dock, the desktop, a menu, a notification
    std::optional<quint32> pid;    // _NET_WM_PID
    std::optional<quint32> desktop;
    QRect client;                  // in root coordinates
    std::optional<Extents> frame;  // _NET_FRAME_EXTENTS: the manager's decorations
    std::optional<Extents> shadow; // _GTK_FRAME_EXTENTS: client-drawn, invisible
};

// The workspace value of windows shown on every workspace.
inline constexpr quint32 kAllDesktops = 0xFFFFFFFF;

// The window's visible outer rectangle when a click may pick it: decorations
// added, client-side shadows taken away. nullopt for our own process's
// windows, windows that are not the user's application windows, hidden ones,
// ones on another workspace and ones left with no area.
std::optional<QRect> candidateRect(const WindowFacts &facts, quint32 ownPid,
                                   std::optional<quint32> currentDesktop);

// An EWMH extents property (four cardinals) as Extents; nullopt unless it
// holds exactly four values.
template <class Values> std::optional<Extents> extentsFrom(const std::optional<Values> &values)
{
    if (!values || values->size() != 4)
        return std::nullopt;
    return Extents{int((*values)[0]), int((*values)[1]), int((*values)[2]), int((*values)[3])};
}

} // namespace tavolen::platform::x11
