// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "capture/SelectionModel.h"

#include <cmath>

namespace tavolen::capture {

namespace {

// Pixels are half-open: a window of width w covers columns x to x + w - 1,
// so the column at x + w is the next window's, or the desktop's.
// (QRectF::contains takes the right and bottom edges in as well.)
bool covers(const QRectF &r, QPointF p)
{
    return p.x() >= r.left() && p.x() < r.right() && p.y() >= r.top() && p.y() < r.bottom();
}

} // namespace

SelectionModel::SelectionModel(QList<QRectF> targets, QSizeF screenSize)
    : m_targets(std::move(targets)), m_bounds(QPointF(0, 0), screenSize)
{}

bool SelectionModel::hover(QPointF p)
{
    if (m_start)
        return false; // the highlight stays frozen while the button is held
    std::optional<QRectF> found;
    if (covers(m_bounds, p)) {
        for (const QRectF &target : m_targets) {
            if (covers(target, p)) {
                found = target.intersected(m_bounds);
                break;
            }
        }
    }
    if (found == m_hover)
        return false;
    m_hover = found;
    return true;
}

bool SelectionModel::clearHover()
{
    if (!m_hover || m_start)
        return false;
    m_hover.reset();
    return true;
}

void SelectionModel::press(QPointF p)
{
    m_start = p;
    m_drag = QRectF();
}

bool SelectionModel::drag(QPointF p)
{
    if (!m_start)
        return false;
    // Past the screen's edge (the button held while the pointer went on to
    // another screen) the region ends at the edge: only this screen is grabbed.
    m_drag = QRectF(std::min(p.x(), m_start->x()), std::min(p.y(), m_start->y()),
                    std::abs(p.x() - m_start->x()), std::abs(p.y() - m_start->y()))
                 .intersected(m_bounds);
    return true;
}

SelectionModel::Release SelectionModel::release()
{
    if (!m_start)
        return {Release::Kind::Ignored, {}};
    m_start.reset();
    if (m_drag.width() >= kMinDrag && m_drag.height() >= kMinDrag)
        return {Release::Kind::Selected, m_drag};
    if (m_hover)
        return {Release::Kind::Selected, *m_hover};
    return {Release::Kind::Cancelled, {}};
}

} // namespace tavolen::capture
