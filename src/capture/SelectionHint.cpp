// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/SelectionHint.h"

#include <QCoreApplication>

namespace tavolen::capture {

namespace {

// The context translators see this file's texts under.
struct CaptureTexts {
    Q_DECLARE_TR_FUNCTIONS(CaptureTexts)
};

} // namespace

QString hintText(bool windowsPickable)
{
    if (!windowsPickable)
        return CaptureTexts::tr("Drag to select a region · Esc to cancel");
    return CaptureTexts::tr("Click to snap a window · drag for a region · Esc to cancel");
}

QRectF hintPillRect(QSizeF textSize, QSizeF screenSize)
{
    const qreal height = textSize.height() + 14;
    return QRectF(screenSize.width() * 0.5 - textSize.width() * 0.5 - 14, 64 - height, textSize.width() + 28,
                  height);
}

} // namespace tavolen::capture
