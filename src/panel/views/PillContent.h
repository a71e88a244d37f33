// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "panel/PanelActions.h"
#include "panel/views/PanelSurface.h"
#include "protocol/Records.h"
#include "ui/Glass.h"

#include <QPainterPath>
#include <QWidget>

namespace tavolen::ui {
class TextBlock;
}

namespace tavolen::panel::views {

// A finished result folded away: a glass capsule with an icon, one line
// (the best reply, or the summary for a reading-only result) cut at the
// tail, and a close button. At most 340 wide; hovering it asks to expand.
class PillContent final : public QWidget, public PanelSurface {
public:
    PillContent(const protocol::AnalysisResult &result, ui::Backdrop backdrop, PanelActions actions,
                QWidget *parent, bool engineWritesReplies = true);

    // The capsule's own size: as wide as its content, at most 340.
    QSize sizeHint() const override;
    ui::TextBlock *line() const { return m_line; }
    QPainterPath surface() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QRectF capsule() const;

    ui::Backdrop m_backdrop;
    PanelActions m_actions;
    ui::TextBlock *m_line;
};

} // namespace tavolen::panel::views
