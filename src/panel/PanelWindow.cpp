// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/PanelWindow.h"

#include "ui/Tokens.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWindow>

namespace tavolen::panel {

PanelWindow::PanelWindow(bool translucent, bool movesItself)
    : ui::SurfaceWindow(translucent, ui::tokens::space::shadowMargin), m_movesItself(movesItself)
{
    setFocusPolicy(Qt::ClickFocus);
}

void PanelWindow::setContent(QWidget *content, QRectF card, const QPainterPath &surface)
{
    if (m_content) {
        m_content->hide();
        m_content->deleteLater();
    }
    m_content = content;
    content->setParent(this);
    placeCard(card, surface);
    content->show();
}

void PanelWindow::placeCard(QRectF card, const QPainterPath &surface)
{
    placeSurface(m_content, card, surface);
}

void PanelWindow::changeEvent(QEvent *event)
{
    ui::SurfaceWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange && onLanguageChange)
        onLanguageChange();
}

// Any click on the card (a chip, the reply) may give it the keyboard, and the
// window manager may do so before the click reaches us: the pointer's
// arrival is the last moment another window surely has it.
void PanelWindow::enterEvent(QEnterEvent *event)
{
    ui::SurfaceWindow::enterEvent(event);
    if (onFocusMayMove)
        onFocusMayMove();
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
