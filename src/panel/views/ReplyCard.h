// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ui/Buttons.h"

#include <optional>

namespace tavolen::ui {
class SpringAnimation;
class TextBlock;
} // namespace tavolen::ui

namespace tavolen::panel::views {

class CopiedBadge;

// The suggested reply: its text, the gloss under a divider when there is
// one, and the "Copied" badge. The whole card is one button: a click (or
// Enter or Space) asks for the text to be copied.
class ReplyCard final : public ui::PanelButton {
public:
    ReplyCard(const QString &text, const std::optional<QString> &gloss, QWidget *parent);

    // Shows another reply, faded in on the variant spring.
    void showReply(const QString &text, const std::optional<QString> &gloss);
    // The badge's brief highlight after a copy.
    void pulseCopied();

    QString replyText() const;
    // Empty when no gloss row is shown.
    QString glossText() const;
    // 0 at rest, 1 at the highlight's peak.
    double badgeLevel() const;
    double hoverLevel() const { return m_hover; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void setGloss(const std::optional<QString> &gloss);

    ui::TextBlock *m_reply;
    QWidget *m_divider;
    ui::TextBlock *m_gloss;
    CopiedBadge *m_badge;
    ui::SpringAnimation *m_hoverSpring;
    ui::SpringAnimation *m_variantSpring;
    double m_hover = 0;
};

} // namespace tavolen::panel::views
