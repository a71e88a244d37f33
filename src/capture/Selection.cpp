// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/Selection.h"

namespace tavolen::capture {

QRectF nearRect(const Selection &selection)
{
    const QPointF origin = selection.screen ? QPointF(selection.screen->geometry().topLeft()) : QPointF();
    return selection.rect.translated(origin);
}

} // namespace tavolen::capture
