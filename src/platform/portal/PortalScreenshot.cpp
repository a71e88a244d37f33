// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/portal/PortalScreenshot.h"

#include "platform/portal/PortalRequest.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
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
// A 16K x 8K desktop at four bytes a pixel.
constexpr int kMaxDecodedMegabytes = 512;

QCoro::Task<> noteWhetherOffered(QDBusConnection bus, std::shared_ptr<ScreenshotAccess> access)
{
    QString interface = QString::fromLatin1(kInterface);
    const PortalInterface screenshot = co_await portalInterfaceVersion(bus, std::move(interface));
    if (screenshot.missing)
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
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    // Qt refuses pictures over 128 MB decoded by default; a compositor renders
    // the whole layout at its highest scale, so a 2x laptop beside two
    // 1440p screens already passes that.
    reader.setAllocationLimit(kMaxDecodedMegabytes);
    QImage image = reader.read();
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
    QString interface = QString::fromLatin1(kInterface);
    QString method = QStringLiteral("Screenshot");
    const std::optional<PortalResponse> response = co_await requestFromPortal(
        bus, std::move(interface), std::move(method), std::move(arguments), kAnswerTime);
    // Whatever kept the picture back (the user's no, a refusal the desktop
    // remembered, which the portal reports as a failure, or no portal at
    // all), the user is told that the screen could not be read; the next
    // capture asks again.
    if (!response || response->code != PortalResponse::success) {
        access->refused = true;
        co_return std::nullopt;
    }
    const QUrl uri(response->results.value(QStringLiteral("uri")).toString());
    if (!uri.isLocalFile())
        co_return std::nullopt;
    QFuture<std::optional<QImage>> picture = QtConcurrent::run(takePictureFile, uri.toLocalFile());
    co_return co_await picture;
}

PortalScreenAccess::PortalScreenAccess(QDBusConnection bus, std::shared_ptr<ScreenshotAccess> access)
    : m_access(std::move(access))
{
    noteWhetherOffered(std::move(bus), m_access);
}

} // namespace tavolen::platform::portal
