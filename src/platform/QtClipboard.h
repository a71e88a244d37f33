// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Clipboard.h"

namespace tavolen::platform {

// The clipboard through QClipboard. On X11 the data lives in this process,
// which stays resident, so the copied reply stays available.
class QtClipboard final : public Clipboard {
public:
    void replaceWithText(const QString &text, const QList<ClipboardMarker> &markers) override;
};

} // namespace tavolen::platform
