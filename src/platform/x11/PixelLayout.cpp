// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/x11/PixelLayout.h"

#include <QSysInfo>

#include <bit>

namespace tavolen::platform::x11 {

namespace {

// One colour of a pixel, widened to 0..255 however many bits it has.
int channel(quint32 pixel, quint32 mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const quint32 value = (pixel & mask) >> shift;
    const quint32 max = (bits >= 32) ? 0xffffffffu : ((1u << bits) - 1);
    return int((quint64(value) * 255 + max / 2) / max);
}

quint32 pixelAt(const uchar *p, int bytes, bool lsbFirst)
{
    quint32 v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= quint32(p[i]) << (8 * (lsbFirst ? i : bytes - 1 - i));
    return v;
}

} // namespace

int PixelLayout::bytesPerLine(int width) const
{
    const int pad = scanlinePad > 0 ? scanlinePad : 32;
    const qint64 bits = qint64(width) * bitsPerPixel;
    return int((bits + pad - 1) / pad * pad / 8);
}

QImage::Format directFormat(const PixelLayout &l)
{
    // QImage reads 16- and 32-bit pixels in the host's byte order.
    const bool hostOrder = l.lsbFirst == (QSysInfo::ByteOrder == QSysInfo::LittleEndian);
    const auto masks = [&](quint32 r, quint32 g, quint32 b) {
        return l.red == r && l.green == g && l.blue == b;
    };
    if (l.bitsPerPixel == 32 && hostOrder && masks(0xff0000, 0xff00, 0xff))
        return QImage::Format_RGB32;
    if (l.bitsPerPixel == 32 && hostOrder && masks(0x3ff00000, 0xffc00, 0x3ff))
        return QImage::Format_RGB30;
    if (l.bitsPerPixel == 32 && hostOrder && masks(0x3ff, 0xffc00, 0x3ff00000))
        return QImage::Format_BGR30;
    if (l.bitsPerPixel == 16 && hostOrder && masks(0xf800, 0x7e0, 0x1f))
        return QImage::Format_RGB16;
    if (l.bitsPerPixel == 16 && hostOrder && masks(0x7c00, 0x3e0, 0x1f))
        return QImage::Format_RGB555;
    return QImage::Format_Invalid;
}

QImage convertToRgb32(const uchar *data, QSize size, const PixelLayout &l)
{
    if (l.bitsPerPixel % 8 != 0 || l.bitsPerPixel < 8 || l.bitsPerPixel > 32 || size.isEmpty())
        return {};
    const int bytes = l.bitsPerPixel / 8;
    const int stride = l.bytesPerLine(size.width());
    QImage out(size, QImage::Format_RGB32);
    if (out.isNull())
        return {};
    for (int y = 0; y < size.height(); ++y) {
        const uchar *row = data + qsizetype(y) * stride;
        auto *target = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const quint32 pixel = pixelAt(row + qsizetype(x) * bytes, bytes, l.lsbFirst);
            target[x] = qRgb(channel(pixel, l.red), channel(pixel, l.green), channel(pixel, l.blue));
        }
    }
    return out;
}

} // namespace tavolen::platform::x11
