#include "app/ToastWindow.h"

#include "app/ToastView.h"
#include "ui/Glass.h"
#include "ui/Tokens.h"

#include <QPainter>
#include <QPainterPath>

namespace tavolen::app {

namespace t = ui::tokens::shell::toast;

ToastWindow::ToastWindow(ToastView *view, bool translucent)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint),
      m_view(view), m_translucent(translucent)
{
    // Typing goes on in whatever window had the focus before.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    if (translucent)
        setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(QStringLiteral("Tavolen"));
    view->setParent(this);
}

double ToastWindow::margin() const
{
    return m_translucent ? t::shadowMargin : 0;
}

void ToastWindow::placeCapsule(QRectF capsule)
{
    const double m = margin();
    setGeometry(capsule.adjusted(-m, -m, m, m).toRect());
    m_view->setGeometry(QRect(QPoint(int(m), int(m)), capsule.size().toSize()));
    if (!m_translucent) {
        QPainterPath shape;
        const double radius = capsule.height() / 2;
        shape.addRoundedRect(QRectF(QPointF(0, 0), capsule.size()), radius, radius);
        setMask(QRegion(shape.toFillPolygon().toPolygon()));
    }
}

QRectF ToastWindow::capsuleGeometry() const
{
    const double m = margin();
    return QRectF(geometry()).adjusted(m, m, -m, -m);
}

void ToastWindow::paintEvent(QPaintEvent *)
{
    if (!m_translucent)
        return;
    QPainter painter(this);
    const QRectF capsule(m_view->geometry());
    ui::paintShadow(painter, capsule, capsule.height() / 2, margin());
}

} // namespace tavolen::app
