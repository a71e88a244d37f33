#include "panel/PanelWindow.h"

#include "ui/Glass.h"
#include "ui/Tokens.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QWindow>

namespace tavolen::panel {

namespace t = ui::tokens;

PanelWindow::PanelWindow(bool translucent, bool movesItself)
    // A plain window, not a tool window: some window managers hide an
    // application's tool windows while it is not active, and this one is
    // shown precisely while another application is.
    : QWidget(nullptr,
              Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint),
      m_translucent(translucent), m_movesItself(movesItself)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    if (translucent)
        setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::ClickFocus);
    setWindowTitle(QStringLiteral("Tavolen"));
}

double PanelWindow::margin() const
{
    return m_translucent ? t::space::shadowMargin : 0;
}

void PanelWindow::setContent(QWidget *content, QRectF card, QPainterPath surface)
{
    if (m_content) {
        m_content->hide();
        m_content->deleteLater();
    }
    m_content = content;
    content->setParent(this);
    placeCard(card, std::move(surface));
    content->show();
}

void PanelWindow::placeCard(QRectF card, QPainterPath surface)
{
    const double m = margin();
    const QRect outer = card.adjusted(-m, -m, m, m).toRect();
    m_surface = surface.translated(m, m);
    if (m_content)
        m_content->setGeometry(QRect(QPoint(int(m), int(m)), outer.size() - QSize(int(2 * m), int(2 * m))));
    setGeometry(outer);
    if (!m_translucent)
        setMask(surfaceRegion());
    update();
}

QRegion PanelWindow::surfaceRegion() const
{
    return QRegion(m_surface.toFillPolygon().toPolygon());
}

QRectF PanelWindow::cardGeometry() const
{
    const double m = margin();
    return QRectF(geometry()).adjusted(m, m, -m, -m);
}

void PanelWindow::paintEvent(QPaintEvent *)
{
    if (!m_translucent || m_surface.isEmpty())
        return;
    QPainter painter(this);
    const QRectF card = m_surface.boundingRect();
    ui::paintShadow(painter, card, std::min(card.height() / 2, t::radius::card), margin());
}

void PanelWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && onEscape) {
        onEscape();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PanelWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    activateWindow();
    m_pressedAt = event->globalPosition().toPoint();
    m_dragFrom = *m_pressedAt - pos();
}

void PanelWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragFrom)
        return;
    const QPoint at = event->globalPosition().toPoint();
    // A click is not a drag: a move grabs the pointer, which would swallow the focus the click gives.
    if (m_pressedAt && (at - *m_pressedAt).manhattanLength() < QApplication::startDragDistance())
        return;
    m_pressedAt.reset();
    m_movedByUser = true;
    // Moved here, the window follows the pointer exactly from the press on;
    // the window manager's move would start from this motion instead.
    if (!m_movesItself && windowHandle() && windowHandle()->startSystemMove()) {
        m_dragFrom.reset();
        return;
    }
    move(at - *m_dragFrom);
}

void PanelWindow::mouseReleaseEvent(QMouseEvent *)
{
    m_dragFrom.reset();
    m_pressedAt.reset();
}

} // namespace tavolen::panel
