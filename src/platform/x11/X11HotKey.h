// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/GlobalHotKey.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <xcb/xcb.h>

#include <cstdint>
#include <vector>

namespace tavolen::platform::x11 {

// A passive grab of the key at the S position (XKB key name AC02) with
// Alt+Shift on the root window, in every combination of NumLock, CapsLock
// and ScrollLock, taken again whenever the keyboard mapping changes.
class X11HotKey final : public QObject, public GlobalHotKey, public QAbstractNativeEventFilter {
public:
    X11HotKey();
    ~X11HotKey() override;

    void start(std::function<void()> onPress) override;
    bool isBound() const override { return m_bound; }
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void grab();
    void ungrab();

    xcb_connection_t *m_connection;
    std::function<void()> m_onPress;
    xcb_keycode_t m_keycode = 0;
    std::vector<uint16_t> m_modifierSets;
    uint8_t m_xkbFirstEvent = 0;
    bool m_started = false;
    bool m_bound = false;
};

} // namespace tavolen::platform::x11
