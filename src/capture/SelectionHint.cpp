// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/SelectionHint.h"

#include "core/L.h"

namespace tavolen::capture {

QString hintText(bool windowsPickable)
{
    if (!windowsPickable)
        return L::text(QStringLiteral("Drag to select a region · Esc to cancel"),
                       QStringLiteral("拖动选择区域 · Esc 取消"));
    return L::text(QStringLiteral("Click to snap a window · drag for a region · Esc to cancel"),
                   QStringLiteral("单击选中窗口 · 拖拽精确框选 · Esc 取消"));
}

QRectF hintPillRect(QSizeF textSize, QSizeF screenSize)
{
    const qreal height = textSize.height() + 14;
    return QRectF(screenSize.width() * 0.5 - textSize.width() * 0.5 - 14, 64 - height, textSize.width() + 28,
                  height);
}

} // namespace tavolen::capture
