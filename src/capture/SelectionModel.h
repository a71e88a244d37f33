// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>

#include <optional>

namespace tavolen::capture {

// What one screen's overlay shows and reports, apart from any window: the
// highlighted window under the pointer, the drag in progress and the outcome
// of releasing the button. All coordinates are logical and local to the screen.
class SelectionModel {
public:
    // A drag smaller than this in either direction counts as a click.
    static constexpr qreal kMinDrag = 8;

    // `targets`: the candidate windows' parts on this screen, front-most first.
    SelectionModel(QList<QRectF> targets, QSizeF screenSize);

    // Pointer moved with no button held. True when the highlight changed.
    bool hover(QPointF p);
    // The pointer is on another screen: no highlight here (unless the button
    // is held on this one). True when the highlight changed.
    bool clearHover();
    void press(QPointF p);
    // Pointer moved with the button held. True when a repaint is due.
    bool drag(QPointF p);

    struct Release {
        enum class Kind { Ignored, Selected, Cancelled } kind;
        QRectF rect; // when Selected
    };
    // A drag of at least 8 x 8 reports its rectangle; anything smaller is a
    // click, which reports the highlighted window or, without one, cancels.
    Release release();

    std::optional<QRectF> hoverRect() const { return m_hover; }
    QRectF dragRect() const { return m_drag; }
    // A drag rectangle is drawn (instead of the highlight) while this holds.
    bool isDragging() const { return m_start.has_value() && m_drag.width() > 0; }

private:
    QList<QRectF> m_targets;
    QRectF m_bounds;
    std::optional<QPointF> m_start;
    QRectF m_drag;
    std::optional<QRectF> m_hover;
};

} // namespace tavolen::capture
