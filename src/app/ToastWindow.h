#pragma once

#include <QRectF>
#include <QWidget>

namespace tavolen::app {

class ToastView;

// The toast's own window: frameless, above other windows and never given
// the focus. With a compositor it is translucent and draws a soft shadow
// around the capsule; without one it is opaque and cut to the capsule.
class ToastWindow final : public QWidget {
public:
    ToastWindow(ToastView *view, bool translucent);

    ToastView *view() const { return m_view; }
    // Places the capsule at `capsule` (global logical pixels), the window around it.
    void placeCapsule(QRectF capsule);
    QRectF capsuleGeometry() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double margin() const;

    ToastView *m_view;
    bool m_translucent;
};

} // namespace tavolen::app
