#pragma once

#include <QPainterPath>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace tavolen::panel {

// The floating window itself: frameless, above other windows, shown without
// taking the focus (a click gives it the focus, so Esc can close it), and
// dragged by its background. With a compositor it is translucent and draws
// its own soft shadow; without one it is opaque and cut to the card's shape.
class PanelWindow final : public QWidget {
public:
    // `movesItself`: a drag moves the window here, rather than through the window manager.
    PanelWindow(bool translucent, bool movesItself);

    bool translucent() const { return m_translucent; }
    // Replaces the content (the old one is deleted once control returns to
    // the event loop, as it may be mid-event) and places the card at `card`
    // (global logical pixels), the window around it.
    void setContent(QWidget *content, QRectF card, QPainterPath surface);
    // Moves the card to `card` with the current content.
    void placeCard(QRectF card, QPainterPath surface);
    QWidget *content() const { return m_content; }
    // The card's place on screen (global logical pixels).
    QRectF cardGeometry() const;
    // The card's outline in window coordinates.
    QRegion surfaceRegion() const;
    // The user has dragged the window since it was made.
    bool movedByUser() const { return m_movedByUser; }

    std::function<void()> onEscape;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    double margin() const;

    bool m_translucent;
    bool m_movesItself;
    QPointer<QWidget> m_content;
    QPainterPath m_surface;
    bool m_movedByUser = false;
    std::optional<QPoint> m_pressedAt;
    std::optional<QPoint> m_dragFrom;
};

} // namespace tavolen::panel
