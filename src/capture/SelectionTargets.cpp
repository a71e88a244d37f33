// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/SelectionTargets.h"

namespace tavolen::capture {

QList<QRect> pickableWindows(const QList<QRect> &frontToBack, const QList<ScreenMetrics> &screens)
{
    QList<QRect> result;
    for (const QRect &window : frontToBack) {
        const QSizeF size = logicalSize(window, screens);
        // A hair of tolerance: 81 native pixels at 1.0125 must still count as 80.
        if (size.width() >= kMinTargetWidth - 1e-6 && size.height() >= kMinTargetHeight - 1e-6)
            result.append(window);
    }
    return result;
}

QList<QRectF> targetsOnScreen(const QList<QRect> &frontToBack, const ScreenMetrics &screen)
{
    QList<QRectF> result;
    for (const QRect &window : frontToBack) {
        const QRectF local = nativeToLocal(window, screen);
        if (!local.isEmpty())
            result.append(local);
    }
    return result;
}

} // namespace tavolen::capture
