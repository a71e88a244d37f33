#include "capture/SelectionHint.h"

#include "core/L.h"

namespace tavolen::capture {

QString hintText()
{
    return L::text(QStringLiteral("Click to snap a window · drag for a region · Esc to cancel"),
                   QStringLiteral("单击选中窗口 · 拖拽精确框选 · Esc 取消"));
}

QRectF hintPillRect(QSizeF textSize, QSizeF screenSize)
{
    const qreal height = textSize.height() + 14;
    return QRectF(screenSize.width() * 0.5 - textSize.width() * 0.5 - 14, 64 - height, textSize.width() + 28,
                  height);
}

} // namespace tavolen::capture
