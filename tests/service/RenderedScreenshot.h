// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QStringList>

namespace tavolen::test {

// A screenshot of `lines`, as a JPEG in memory.
inline QByteArray renderJpeg(const QStringList &lines, const QString &family, bool dark = false,
                             QSize size = {1200, 0})
{
    QFont font(family);
    font.setPixelSize(30);
    const int lineHeight = 48;
    if (size.height() == 0)
        size.setHeight(60 + lineHeight * int(lines.size()));
    QImage image(size, QImage::Format_RGB32);
    image.fill(dark ? QColor(21, 32, 43) : QColor(Qt::white));
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(dark ? QColor(231, 233, 234) : QColor(15, 20, 25));
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(30, 60 + i * lineHeight, lines[i]);
    painter.end();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return jpeg;
}

} // namespace tavolen::test
