// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/CaptureError.h"

#include <QCoreApplication>

namespace tavolen::capture {

namespace {

// The context translators see this file's texts under.
struct CaptureTexts {
    Q_DECLARE_TR_FUNCTIONS(CaptureTexts)
};

} // namespace

QString describe(CaptureError)
{
    return CaptureTexts::tr("Capture failed — try again");
}

QString describe(const CaptureFailure &failure)
{
    if (const auto *e = std::get_if<CaptureError>(&failure))
        return describe(*e);
    if (const auto *palette = std::get_if<platform::PaletteDisplay>(&failure))
        return CaptureTexts::tr("This screen's colours (%1-bit, from a palette) cannot be captured")
            .arg(palette->depth);
    return std::get<PlatformError>(failure).description;
}

} // namespace tavolen::capture
