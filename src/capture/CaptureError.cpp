// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/CaptureError.h"

#include "core/L.h"

namespace tavolen::capture {

QString describe(CaptureError)
{
    return L::text(QStringLiteral("Capture failed — try again"), QStringLiteral("截屏失败，请重试"));
}

QString describe(const CaptureFailure &failure)
{
    if (const auto *e = std::get_if<CaptureError>(&failure))
        return describe(*e);
    if (const auto *palette = std::get_if<platform::PaletteDisplay>(&failure))
        return L::text(QStringLiteral("This screen's colours (%1-bit, from a palette) cannot be captured"),
                       QStringLiteral("无法截取此屏幕：不支持 %1 位调色板颜色"))
            .arg(palette->depth);
    return std::get<PlatformError>(failure).description;
}

} // namespace tavolen::capture
