#include "platform/portal/PortalScreenshot.h"

#include "platform/portal/PortalRequest.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QtConcurrent>

#include <qcoro/qcorofuture.h>

#include <chrono>

namespace tavolen::platform::portal {

namespace {

using namespace std::chrono_literals;

constexpr auto kInterface = "org.freedesktop.portal.Screenshot";
// The first screenshot may wait on the user's answer in a dialog.
constexpr auto kAnswerTime = 120s;
// An 8K desktop as an uncompressed PNG is about 130 MB; anything far beyond
// is not a screenshot.
constexpr qint64 kMaxFileBytes = 512LL * 1024 * 1024;

QCoro::Task<> noteWhetherOffered(QDBusConnection bus, std::shared_ptr<ScreenshotAccess> access)
{
    const std::optional<uint> version = co_await portalInterfaceVersion(bus, QString::fromLatin1(kInterface));
    if (!version)
        access->offered = false;
}

} // namespace

std::optional<QImage> takePictureFile(const QString &path)
{
    const QFileInfo info(path);
    QByteArray bytes;
    // A link could point at any file of the user's; only the file the portal
    // wrote is read, and only the link is removed.
    if (!info.isSymLink() && info.isFile() && info.size() <= kMaxFileBytes) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            bytes = file.read(kMaxFileBytes + 1);
    }
    QFile::remove(path);
    if (bytes.isEmpty() || bytes.size() > kMaxFileBytes)
        return std::nullopt;
    QImage image = QImage::fromData(bytes);
    if (image.isNull())
        return std::nullopt;
    return image;
}

PortalScreenGrabber::PortalScreenGrabber(QDBusConnection bus, std::shared_ptr<ScreenshotAccess> access)
    : m_bus(std::move(bus)), m_access(std::move(access))
{}

QCoro::Task<std::optional<QImage>> PortalScreenGrabber::desktopStill()
{
    // Members are copied before the first suspension: the grabber may be
    // gone when the portal answers.
    const QDBusConnection bus = m_bus;
    const std::shared_ptr<ScreenshotAccess> access = m_access;
    // Named, not built inside the co_await: g++ 12 miscompiles a braced
    // list there.
    QVariantList arguments;
    arguments << QString() << QVariantMap{{QStringLiteral("interactive"), false}};
    const std::optional<PortalResponse> response = co_await requestFromPortal(
        bus, QString::fromLatin1(kInterface), QStringLiteral("Screenshot"), arguments, kAnswerTime);
    if (!response) {
        access->offered = false;
        co_return std::nullopt;
    }
    if (response->code == PortalResponse::cancelled)
        access->refused = true;
    if (response->code != PortalResponse::success)
        co_return std::nullopt;
    const QUrl uri(response->results.value(QStringLiteral("uri")).toString());
    if (!uri.isLocalFile())
        co_return std::nullopt;
    co_return co_await QtConcurrent::run(takePictureFile, uri.toLocalFile());
}

PortalScreenAccess::PortalScreenAccess(QDBusConnection bus, std::shared_ptr<ScreenshotAccess> access)
    : m_access(std::move(access))
{
    noteWhetherOffered(std::move(bus), m_access);
}

} // namespace tavolen::platform::portal
