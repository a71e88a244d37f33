// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/SessionKind.h"

#include <gtest/gtest.h>

using tavolen::platform::SessionKind;
using tavolen::platform::sessionKind;

namespace {

SessionKind kindOf(std::initializer_list<std::pair<const char *, const char *>> variables)
{
    QProcessEnvironment environment;
    for (const auto &[name, value] : variables)
        environment.insert(QString::fromLatin1(name), QString::fromLatin1(value));
    return sessionKind(environment);
}

} // namespace

TEST(SessionKind, WaylandNeedsItsDisplayAndTheOverrideWinsOverEverything)
{
    // GNOME and Plasma on Wayland set all three: XWayland's DISPLAY must not
    // make us an X11 client of a Wayland desktop.
    EXPECT_EQ(kindOf({{"XDG_SESSION_TYPE", "wayland"}, {"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}),
              SessionKind::wayland);
    EXPECT_EQ(kindOf({{"XDG_SESSION_TYPE", "x11"}, {"WAYLAND_DISPLAY", "wayland-0"}}), SessionKind::x11);
    EXPECT_EQ(kindOf({{"XDG_SESSION_TYPE", "tty"}, {"WAYLAND_DISPLAY", "wayland-1"}, {"DISPLAY", ":1"}}),
              SessionKind::wayland)
        << "a bare compositor started from a console is still Wayland";
    EXPECT_EQ(kindOf({{"DISPLAY", ":1"}}), SessionKind::x11);
    EXPECT_EQ(kindOf({{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":5"}}), SessionKind::x11)
        << "an X server nested in a Wayland desktop, with the desktop's variables";
    EXPECT_EQ(kindOf({}), SessionKind::unknown);

    EXPECT_EQ(kindOf({{"TAVOLEN_SESSION", "x11"}, {"XDG_SESSION_TYPE", "wayland"}}), SessionKind::x11);
    EXPECT_EQ(kindOf({{"TAVOLEN_SESSION", " Wayland "}, {"DISPLAY", ":1"}}), SessionKind::wayland);
    EXPECT_EQ(kindOf({{"TAVOLEN_SESSION", "none"}, {"DISPLAY", ":1"}}), SessionKind::unknown);
}
