#include "capture/ScreenCapture.h"

#include "capture/JpegEncoder.h"
#include "capture/ScreenGeometry.h"
#include "platform/ScreenGrabber.h"

#include <QGuiApplication>
#include <QScreen>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <qcoro/qcorofuture.h>

namespace tavolen::capture {

namespace {

CaptureOutcome grabAndEncode(platform::ScreenGrabber *grabber, QRect native)
{
    std::optional<QImage> image = grabber->grab(native);
    if (!image || image->isNull())
        return CaptureFailure(CaptureError::captureFailed);
    CaptureOutcome jpeg = jpegData(*image);
    // The grab may hold display-server memory; give it back before returning.
    image.reset();
    return jpeg;
}

} // namespace

ScreenCapture::ScreenCapture(platform::ScreenGrabber &grabber) : m_grabber(grabber)
{}

QCoro::Task<CaptureOutcome> ScreenCapture::capture(QRectF rect, QScreen *screen)
{
    // A screen unplugged since the selection is no longer in the list.
    if (!screen || !QGuiApplication::screens().contains(screen))
        co_return CaptureFailure(CaptureError::displayNotFound);
    const QRect native = nativeGrabRect(rect, metricsOf(*screen));
    if (native.isEmpty())
        co_return CaptureFailure(CaptureError::captureFailed);
    co_return co_await QtConcurrent::run(grabAndEncode, &m_grabber, native);
}

void ScreenCapture::warmUp()
{
    QThreadPool::globalInstance()->start([grabber = &m_grabber] {
        grabber->prepare();
        QImage tiny(16, 16, QImage::Format_RGB32);
        tiny.fill(Qt::gray);
        (void)jpegData(tiny);
    });
}

} // namespace tavolen::capture
