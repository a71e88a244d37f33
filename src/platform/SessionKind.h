// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QProcessEnvironment>

namespace tavolen::platform {

enum class SessionKind { x11, wayland, unknown };

// What the desktop session is: Wayland when it gives us WAYLAND_DISPLAY and
// does not call itself X11 (XDG_SESSION_TYPE), else X11 when DISPLAY is set. TAVOLEN_SESSION (`x11`,
// `wayland` or `none`) overrides it, so tests can run one kind's backends in another.
SessionKind sessionKind(const QProcessEnvironment &environment);
SessionKind currentSessionKind();
// "x11", "wayland" or "none", for a log.
const char *sessionName(SessionKind kind);

// Whether the windows of this process have somewhere to go: a display is
// named, or Qt was told to draw somewhere that needs none (offscreen, for
// tests and the command-line tools). Without either, Qt aborts while
// creating the application object.
bool hasGraphicalSession(const QProcessEnvironment &environment);

// Before the application object exists: on a Wayland desktop that runs
// XWayland, our windows go through it (QT_QPA_PLATFORM=xcb) unless the user
// chose a platform. A Wayland client can neither place a window nor show one
// without taking the focus, and the panel must sit beside the selection and
// leave the focus where the user was; pixels and the trigger still come
// through the portals.
void chooseWindowSystem();

} // namespace tavolen::platform
