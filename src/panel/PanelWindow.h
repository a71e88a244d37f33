// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/SurfaceWindow.h"

#include <QPointer>

#include <functional>

namespace tavolen::panel {

// The panel's window: a surface window that a click gives the focus (so Esc
// can close it), dragged by its background, with content that is replaced
// at every show.
class PanelWindow final : public ui::SurfaceWindow {
public:
    // `movesItself`: a drag moves the window here, rather than through the window manager.
    PanelWindow(bool translucent, bool movesItself);

    // Replaces the content (the old one is deleted once control returns to
    // the event loop, as it may be mid-event) and places the card at `card`
    // (global logical pixels), the window around it.
    void setContent(QWidget *content, QRectF card, const QPainterPath &surface);
    // Moves the card to `card` with the current content.
    void placeCard(QRectF card, const QPainterPath &surface);
    QWidget *content() const { return m_content; }
    // The user has dragged the window since it was made.
    bool movedByUser() const { return m_movedByUser; }

    std::function<void()> onEscape;
    // The pointer came in: a click here may now take the keyboard from the
    // window that has it.
    std::function<void()> onFocusMayMove;
    // The interface language changed: the content must be built again.
    std::function<void()> onLanguageChange;

protected:
    void changeEvent(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_movesItself;
    QPointer<QWidget> m_content;
    bool m_movedByUser = false;
    std::optional<QPoint> m_pressedAt;
    std::optional<QPoint> m_dragFrom;
};

} // namespace tavolen::panel
