// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "capture/SelectionHint.h"
#include "capture/SelectionModel.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>

namespace tavolen::capture {

// The content of one screen's overlay: dims the screen, cuts the highlighted
// window or the dragged region out of the dim layer, draws the hint pill and
// turns the pointer's gestures into an outcome.
class SelectionView final : public QWidget {
    Q_OBJECT
public:
    // `frozen`: the screen's pixels to show beneath the dim layer where no
    // compositor lets the desktop show through (null otherwise).
    SelectionView(SelectionModel model, QImage frozen, QWidget *parent = nullptr);

    // Called once per gesture that ends the selection: a rectangle (local
    // logical pixels) or nullopt for a cancel.
    std::function<void(std::optional<QRectF>)> onRelease;

    // Called when the pointer moves over this view with no button held, so
    // that the views of the other screens drop their highlights.
    std::function<void()> onHovered;

    // Highlights the window under `local` before the pointer has moved.
    void hoverAt(QPointF local);
    // The pointer is on another screen.
    void clearHover();

    const SelectionModel &model() const { return m_model; }
    // No window can be picked here: the hint speaks of regions only (a click
    // without a drag still cancels).
    void offerRegionsOnly() { m_regionsOnly = true; }
    QString hint() const { return hintText(!m_regionsOnly); }
    // The frozen screen shown beneath the dim layer; null when there is none.
    const QImage &still() const { return m_frozen; }
    // Lets go of the still once the selection is over; the grabber wants its
    // memory back for the next one.
    void releaseStill() { m_frozen = QImage(); }

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void paintHint(QPainter &painter);

    SelectionModel m_model;
    QImage m_frozen;
    bool m_regionsOnly = false;
};

} // namespace tavolen::capture
