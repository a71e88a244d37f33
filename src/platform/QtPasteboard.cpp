#include "platform/QtPasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tavolen::platform {

void QtPasteboard::replaceWithText(const QString &text, const QString &markerType)
{
    auto *data = new QMimeData;
    // Clipboard managers that honour the marker keep the reply out of their history.
    data->setData(markerType, QByteArray());
    data->setText(text);
    // The clipboard takes ownership and drops whatever it held before.
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
}

} // namespace tavolen::platform
