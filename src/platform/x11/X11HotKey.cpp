// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/x11/X11HotKey.h"

#include "platform/x11/X11Connection.h"
#include "platform/x11/XcbReply.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <memory>

namespace tavolen::platform::x11 {

namespace {

constexpr uint16_t kAltShift = XCB_MOD_MASK_1 | XCB_MOD_MASK_SHIFT;
// XKB event kinds (the second byte of an XKB event); xcb/xkb.h itself does not compile as C++.
constexpr uint8_t kXkbNewKeyboardNotify = 0;
constexpr uint8_t kXkbMapNotify = 1;

struct KeymapDeleter {
    void operator()(xkb_keymap *k) const { xkb_keymap_unref(k); }
    void operator()(xkb_context *c) const { xkb_context_unref(c); }
};

// The core modifier bit that carries `keysym` (NumLock, ScrollLock), 0 if none does.
uint16_t modifierOf(xcb_connection_t *c, xkb_keymap *keymap, xkb_keysym_t keysym)
{
    std::vector<xcb_keycode_t> keycodes;
    for (xkb_keycode_t k = xkb_keymap_min_keycode(keymap); k <= xkb_keymap_max_keycode(keymap); ++k) {
        const xkb_keysym_t *syms = nullptr;
        const int n = xkb_keymap_key_get_syms_by_level(keymap, k, 0, 0, &syms);
        for (int i = 0; i < n; ++i)
            if (syms[i] == keysym)
                keycodes.push_back(xcb_keycode_t(k));
    }
    const XcbReply<xcb_get_modifier_mapping_reply_t> map(
        xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr));
    if (!map || keycodes.empty())
        return 0;
    const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(map.get());
    const int perModifier = map->keycodes_per_modifier;
    for (int mod = 0; mod < 8; ++mod)
        for (int i = 0; i < perModifier; ++i)
            for (xcb_keycode_t k : keycodes)
                if (codes[mod * perModifier + i] == k && k != 0)
                    return uint16_t(1u << mod);
    return 0;
}

} // namespace

X11HotKey::X11HotKey() : m_connection(qtConnection())
{
    if (m_connection) {
        const char name[] = "XKEYBOARD";
        const XcbReply<xcb_query_extension_reply_t> xkb(xcb_query_extension_reply(
            m_connection, xcb_query_extension(m_connection, sizeof name - 1, name), nullptr));
        m_xkbFirstEvent = xkb && xkb->present ? xkb->first_event : 0;
    }
}

X11HotKey::~X11HotKey()
{
    if (m_started) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
        ungrab();
    }
}

void X11HotKey::start(std::function<void()> onPress)
{
    m_onPress = std::move(onPress);
    if (m_started || !m_connection)
        return;
    m_started = true;
    QCoreApplication::instance()->installNativeEventFilter(this);
    grab();
}

void X11HotKey::grab()
{
    ungrab();
    m_bound = false;
    std::unique_ptr<xkb_context, KeymapDeleter> context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    const int32_t device = xkb_x11_get_core_keyboard_device_id(m_connection);
    if (!context || device < 0)
        return;
    std::unique_ptr<xkb_keymap, KeymapDeleter> keymap(
        xkb_x11_keymap_new_from_device(context.get(), m_connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap)
        return;
    // The key's position, not its letter: the same physical key on every layout.
    const xkb_keycode_t keycode = xkb_keymap_key_by_name(keymap.get(), "AC02");
    if (keycode == XKB_KEYCODE_INVALID || keycode > 255)
        return;
    m_keycode = xcb_keycode_t(keycode);
    const uint16_t locks[] = {modifierOf(m_connection, keymap.get(), XKB_KEY_Num_Lock), XCB_MOD_MASK_LOCK,
                              modifierOf(m_connection, keymap.get(), XKB_KEY_Scroll_Lock)};
    for (unsigned combination = 0; combination < 8; ++combination) {
        uint16_t set = kAltShift;
        for (unsigned bit = 0; bit < 3; ++bit)
            if (combination & (1u << bit))
                set |= locks[bit];
        if (std::find(m_modifierSets.begin(), m_modifierSets.end(), set) == m_modifierSets.end())
            m_modifierSets.push_back(set);
    }
    const xcb_window_t root = rootWindow(m_connection);
    // Checked requests: a key another client holds (BadAccess) stays theirs,
    // and the plain combination (no lock keys) says whether the key is ours.
    bool first = true;
    for (uint16_t set : m_modifierSets) {
        xcb_generic_error_t *error =
            xcb_request_check(m_connection, xcb_grab_key_checked(m_connection, 1, root, set, m_keycode,
                                                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        if (first)
            m_bound = error == nullptr;
        first = false;
        free(error);
    }
}

void X11HotKey::ungrab()
{
    if (!m_keycode)
        return;
    const xcb_window_t root = rootWindow(m_connection);
    for (uint16_t set : m_modifierSets)
        xcb_ungrab_key(m_connection, m_keycode, root, set);
    xcb_flush(m_connection);
    m_keycode = 0;
    m_modifierSets.clear();
}

bool X11HotKey::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const uint8_t type = event->response_type & ~0x80;
    if (type == XCB_KEY_PRESS) {
        const auto *press = static_cast<const xcb_key_press_event_t *>(message);
        if (!m_keycode || press->detail != m_keycode)
            return false;
        const uint16_t state = press->state & 0xFF;
        if (std::find(m_modifierSets.begin(), m_modifierSets.end(), state) == m_modifierSets.end())
            return false;
        queuePress(*this, m_onPress);
        return true;
    }
    if (type == XCB_MAPPING_NOTIFY) {
        QMetaObject::invokeMethod(
            this, [this] { grab(); }, Qt::QueuedConnection);
        return false;
    }
    // A new keyboard or a changed keymap (setxkbmap, a layout switch): grab again.
    if (m_xkbFirstEvent && type == m_xkbFirstEvent) {
        const uint8_t xkbType = reinterpret_cast<const uint8_t *>(message)[1];
        if (xkbType == kXkbNewKeyboardNotify || xkbType == kXkbMapNotify)
            QMetaObject::invokeMethod(
                this, [this] { grab(); }, Qt::QueuedConnection);
    }
    return false;
}

} // namespace tavolen::platform::x11
