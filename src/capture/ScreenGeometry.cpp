// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/ScreenGeometry.h"

#include <QList>
#include <QScreen>

#include <cmath>

namespace tavolen::capture {

QRect ScreenMetrics::nativeRect() const
{
    return QRect(geometry.topLeft(),
                 QSize(qRound(geometry.width() * pixelRatio), qRound(geometry.height() * pixelRatio)));
}

ScreenMetrics metricsOf(const QScreen &screen)
{
    return ScreenMetrics{screen.geometry(), screen.devicePixelRatio()};
}

QRect nativeGrabRect(QRectF local, const ScreenMetrics &screen)
{
    if (local.isEmpty())
        return {};
    const qreal s = screen.pixelRatio;
    // A hair of tolerance, so that 100.0000001 after scaling stays 100.
    constexpr qreal eps = 1e-6;
    const int left = int(std::floor(local.left() * s + eps));
    const int top = int(std::floor(local.top() * s + eps));
    const int right = int(std::ceil(local.right() * s - eps));
    const int bottom = int(std::ceil(local.bottom() * s - eps));
    const QRect onScreen =
        QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).translated(screen.geometry.topLeft());
    return onScreen.intersected(screen.nativeRect());
}

QRectF nativeToLocal(QRect native, const ScreenMetrics &screen)
{
    const QRect part = native.intersected(screen.nativeRect());
    if (part.isEmpty())
        return {};
    const QRectF shifted = QRectF(part.translated(-screen.geometry.topLeft()));
    const qreal s = screen.pixelRatio;
    return QRectF(shifted.x() / s, shifted.y() / s, shifted.width() / s, shifted.height() / s);
}

namespace {

// [from, to) scaled by `scale`, widened to whole pixels.
QRect scaledOut(QRectF r, qreal sx, qreal sy)
{
    constexpr qreal eps = 1e-6;
    const int left = int(std::floor(r.left() * sx + eps));
    const int top = int(std::floor(r.top() * sy + eps));
    const int right = int(std::ceil(r.right() * sx - eps));
    const int bottom = int(std::ceil(r.bottom() * sy - eps));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace

QRect screenPartOf(QSize picture, QRect desktop, QRect screen)
{
    if (desktop.isEmpty() || picture.isEmpty())
        return {};
    const qreal sx = qreal(picture.width()) / desktop.width();
    const qreal sy = qreal(picture.height()) / desktop.height();
    return scaledOut(QRectF(screen.translated(-desktop.topLeft())), sx, sy)
        .intersected(QRect(QPoint(), picture));
}

QImage screenStill(const QImage &picture, QRect desktop, const ScreenMetrics &screen)
{
    const QRect native = screen.nativeRect();
    const QRect part = screenPartOf(picture.size(), desktop, native);
    if (part.isEmpty() || native.isEmpty())
        return {};
    QImage still = picture.copy(part);
    still.setDevicePixelRatio(qreal(part.width()) / native.width() * screen.pixelRatio);
    return still;
}

QRect partOfStill(QRect part, qreal scale, QSize still)
{
    const QRect inside(QPoint(), still);
    if (qFuzzyCompare(scale, 1.0))
        return part.intersected(inside);
    return scaledOut(QRectF(part), scale, scale).intersected(inside);
}

QSizeF logicalSize(QRect native, const QList<ScreenMetrics> &screens)
{
    qreal ratio = screens.isEmpty() ? 1.0 : screens.front().pixelRatio;
    for (const ScreenMetrics &screen : screens) {
        if (screen.nativeRect().contains(native.center())) {
            ratio = screen.pixelRatio;
            break;
        }
    }
    return QSizeF(native.width() / ratio, native.height() / ratio);
}

} // namespace tavolen::capture
