#include "capture/SelectionModel.h"

#include <cmath>

namespace tavolen::capture {

SelectionModel::SelectionModel(QList<QRectF> targets, QSizeF screenSize)
    : m_targets(std::move(targets)), m_bounds(QPointF(0, 0), screenSize)
{}

bool SelectionModel::hover(QPointF p)
{
    if (m_start)
        return false; // the highlight stays frozen while the button is held
    std::optional<QRectF> found;
    if (m_bounds.contains(p)) {
        for (const QRectF &target : m_targets) {
            if (target.contains(p)) {
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

void SelectionModel::press(QPointF p)
{
    m_start = p;
    m_drag = QRectF();
}

bool SelectionModel::drag(QPointF p)
{
    if (!m_start)
        return false;
    m_drag = QRectF(std::min(p.x(), m_start->x()), std::min(p.y(), m_start->y()),
                    std::abs(p.x() - m_start->x()), std::abs(p.y() - m_start->y()));
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
