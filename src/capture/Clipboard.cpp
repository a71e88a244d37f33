// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/Clipboard.h"

#include "platform/Pasteboard.h"

namespace tavolen::capture {

void Clipboard::copy(platform::Pasteboard &pasteboard, const QString &text)
{
    pasteboard.replaceWithText(text,
                               {{QString::fromLatin1(kTransientType), QByteArray()},
                                {QString::fromLatin1(kPasswordManagerHint), QByteArrayLiteral("secret")}});
}

} // namespace tavolen::capture
