// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include <functional>

namespace tavolen::platform {

// Alt+Shift at the S key position, system-wide, whichever window has the focus.
class GlobalHotKey {
public:
    virtual ~GlobalHotKey() = default;
    // Takes the key combination and from then on queues one call of `onPress`
    // on the GUI thread per press. A combination another program holds is
    // left to it, silently.
    virtual void start(std::function<void()> onPress) = 0;
    // What the key does, in the user's words, for desktops that list the
    // shortcuts of their applications. Takes effect at start().
    virtual void setPurpose(const QString &) {}
    // Whether the key is ours now: false before start(), and when another
    // program holds it or the desktop offers no way to bind it.
    virtual bool isBound() const { return false; }
};

// Queues one call of `onPress`, a member of `context`, on `context`'s thread:
// the press is handled after the event that reported it, never inside its
// dispatch, by whatever handler is set by then. Dropped if `context` goes.
inline void queuePress(QObject &context, const std::function<void()> &onPress)
{
    QMetaObject::invokeMethod(
        &context,
        [&onPress] {
            if (onPress)
                onPress();
        },
        Qt::QueuedConnection);
}

} // namespace tavolen::platform
