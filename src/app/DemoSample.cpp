#include "app/DemoSample.h"

#include "app/DemoPost.h"
#include "ui/Tokens.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QLayout>
#include <QPainter>

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

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(p::jpegQuality);
    if (!writer.write(image) || bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

} // namespace tavolen::app
