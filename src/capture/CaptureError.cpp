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
    return std::get<PlatformError>(failure).description;
}

} // namespace tavolen::capture
