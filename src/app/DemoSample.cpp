// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/DemoSample.h"

#include "app/DemoPost.h"
#include "capture/JpegEncoder.h"
#include "ui/Tokens.h"

#include <QImage>
#include <QLayout>
#include <QPainter>

#include <algorithm>

namespace tavolen::app {

namespace p = ui::tokens::shell::demoPost;

std::optional<QByteArray> DemoSample::jpeg()
{
    DemoPost post;
    post.ensurePolished();
    post.resize(post.sizeHint());
    post.layout()->activate();
    if (post.width() <= 0 || post.height() <= 0)
        return std::nullopt;

    QImage image(post.size() * p::scale, QImage::Format_RGB32);
    if (image.isNull())
        return std::nullopt;
    image.setDevicePixelRatio(p::scale);
    // Text is laid out at the widget's resolution; paint at the same one.
    image.setDotsPerMeterX(int(post.logicalDpiX() / 0.0254));
    image.setDotsPerMeterY(int(post.logicalDpiY() / 0.0254));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        post.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    }

    // At its own size: the sample is drawn exactly as large as it should be.
    capture::CaptureOutcome jpeg =
        capture::jpegData(image, std::max(image.width(), image.height()), p::jpegQuality);
    if (!jpeg.ok())
        return std::nullopt;
    return std::move(jpeg).value();
}

} // namespace tavolen::app
