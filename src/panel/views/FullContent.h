// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "panel/PanelActions.h"
#include "panel/PanelState.h"
#include "panel/views/PanelSurface.h"
#include "ui/Glass.h"

#include <QPainterPath>
#include <QWidget>

#include <optional>

class QScrollArea;

namespace tavolen::ui {
class GlyphButton;
}

namespace tavolen::panel::views {

// The panel as the user first sees it: a 400-wide glass card holding the
// state's one content view, a risk-coloured outline when the reading is
// risky, and a close button in the top-right corner in every state.
class FullContent final : public QWidget, public PanelSurface {
public:
    FullContent(const PanelState &state, bool entranceAnimated, ui::Backdrop backdrop, PanelActions actions,
                QWidget *parent);

    QWidget *contentView() const { return m_content; }
    ui::GlyphButton *closeButton() const { return m_close; }
    // The outline's colour now, if the state has one.
    std::optional<QColor> riskOutline() const;
    bool entranceAnimated() const { return m_entrance; }
    QPainterPath surface() const override;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    std::optional<PanelState::Tint> m_tint;
    bool m_entrance;
    ui::Backdrop m_backdrop;
    PanelActions m_actions;
    QWidget *m_content;
    QScrollArea *m_scroll;
    ui::GlyphButton *m_close;
};

} // namespace tavolen::panel::views
