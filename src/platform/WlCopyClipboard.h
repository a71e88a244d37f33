// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Clipboard.h"
#include "platform/QtClipboard.h"

namespace tavolen::platform {

// The Wayland clipboard, set through wl-copy. A Wayland client may set the
// clipboard only while it holds the focus, and the panel never takes it;
// wl-copy uses the compositor's data-control protocol where it has one
// (wlroots, KDE) and serves the text from a process of its own. XWayland's
// clipboard, Qt's on this session, reaches Wayland applications only while an
// XWayland window has the focus. Without wl-copy, that is the fallback.
class WlCopyClipboard final : public Clipboard {
public:
    // `program`: the wl-copy to run; found on PATH when empty.
    explicit WlCopyClipboard(QString program = {});
    // The text goes in on standard input, never on a command line that any
    // process could read. wl-copy offers one type, so the marker is not
    // offered here.
    void replaceWithText(const QString &text, const QList<ClipboardMarker> &markers) override;

    bool usesWlCopy() const { return !m_program.isEmpty(); }

private:
    QString m_program;
    QtClipboard m_fallback;
};

} // namespace tavolen::platform
