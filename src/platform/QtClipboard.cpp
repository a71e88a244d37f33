// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tavolen::platform {

void QtClipboard::replaceWithText(const QString &text, const QList<ClipboardMarker> &markers)
{
    auto *data = new QMimeData;
    for (const ClipboardMarker &marker : markers)
        data->setData(marker.type, marker.value);
    data->setText(text);
    // The clipboard takes ownership and drops whatever it held before.
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
}

} // namespace tavolen::platform
