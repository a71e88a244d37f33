// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace tavolen::platform {

// An entry offered beside the text that tells clipboard managers how to
// treat it.
struct ClipboardMarker {
    QString type;
    QByteArray value;
};

// The system clipboard.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces everything the clipboard held with `text` as plain UTF-8 text
    // plus the `markers`, where the clipboard can offer several types.
    virtual void replaceWithText(const QString &text, const QList<ClipboardMarker> &markers) = 0;
};

} // namespace tavolen::platform
