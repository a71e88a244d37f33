// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/CopyToClipboard.h"

#include "platform/Clipboard.h"

namespace tavolen::capture {

void copyToClipboard(platform::Clipboard &clipboard, const QString &text)
{
    clipboard.replaceWithText(text,
                              {{QString::fromLatin1(kTransientType), QByteArray()},
                               {QString::fromLatin1(kPasswordManagerHint), QByteArrayLiteral("secret")}});
}

} // namespace tavolen::capture
