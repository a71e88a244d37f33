// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QImage>
#include <QSize>
#include <QtGlobal>

#include <optional>

namespace tavolen::platform::x11 {

// How a TrueColor screen stores one pixel in a Z-format image: its size in
// bits, the bits of each colour, the byte order and the row padding.
struct PixelLayout {
    int bitsPerPixel = 32;
    int scanlinePad = 32;
    quint32 red = 0xff0000;
    quint32 green = 0x00ff00;
    quint32 blue = 0x0000ff;
    bool lsbFirst = true;

    int bytesPerLine(int width) const;
    bool operator==(const PixelLayout &) const = default;
};

// The QImage format that reads such pixels in place, or Format_Invalid when
// they must be converted (an uncommon layout, or a byte order unlike ours).
QImage::Format directFormat(const PixelLayout &layout);

// Any TrueColor layout of 8, 16, 24 or 32 bits a pixel, converted to RGB32,
// each colour widened to 8 bits. Null for a layout it cannot read.
QImage convertToRgb32(const uchar *data, QSize size, const PixelLayout &layout);

} // namespace tavolen::platform::x11
