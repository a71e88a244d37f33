// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace tavolen::platform {
class Clipboard;
} // namespace tavolen::platform

namespace tavolen::capture {

// Clipboard managers that honour this type leave the entry out of their history.
inline constexpr auto kTransientType = "org.nspasteboard.TransientType";
// The same for Klipper and the managers that follow it (cliphist, CopyQ),
// with the value "secret".
inline constexpr auto kPasswordManagerHint = "x-kde-passwordManagerHint";
// Replaces the clipboard's contents with `text` and both markers, so that
// a copied reply does not pile up in a clipboard manager's history.
void copyToClipboard(platform::Clipboard &clipboard, const QString &text);

} // namespace tavolen::capture
