// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "panel/PanelActions.h"
#include "panel/views/ReplyChoice.h"
#include "protocol/Records.h"

#include <QWidget>

class QBoxLayout;

namespace tavolen::ui {
class CapsuleButton;
class TextButton;
class TextBlock;
} // namespace tavolen::ui

namespace tavolen::panel::views {

class ReplyCard;

// The finished reading: tone, summary, translation toggle, hidden meaning,
// risk line, and either the reply card with its chips or the reading-only
// footer. Built afresh for every show, so it starts at the best reply with
// the translation folded.
class ResultContent final : public QWidget {
public:
    ResultContent(protocol::AnalysisResult result, PanelActions actions, QWidget *parent,
                  bool engineWritesReplies = true);

    // Shows another reply variant, copies it and asks for a re-measure.
    void setVariant(reply::Variant variant);
    reply::Variant variant() const { return m_variant; }
    void toggleTranslation();
    bool translationShown() const { return m_showTranslation; }

    // Null when the result shows the reading-only footer.
    ReplyCard *card() const { return m_card; }

private:
    void addTranslation(QBoxLayout *header);
    void addReplySection(QBoxLayout *into);
    void addReadingOnlyFooter(QBoxLayout *into, bool engineWritesReplies);
    void copyCard();
    void refreshChips();
    void resizeSoon();

    protocol::AnalysisResult m_result;
    PanelActions m_actions;
    reply::Variant m_variant = reply::Variant::Best;
    bool m_showTranslation = false;
    ReplyCard *m_card = nullptr;
    ui::CapsuleButton *m_alternativeChip = nullptr;
    ui::CapsuleButton *m_shortChip = nullptr;
    // The "screenshot not kept" badge sits beside the chips, or below them when they need the room.
    QWidget *m_badge = nullptr;
    QBoxLayout *m_chipRow = nullptr;
    QBoxLayout *m_badgeRow = nullptr;
    ui::TextButton *m_translationToggle = nullptr;
    ui::TextBlock *m_translation = nullptr;
};

} // namespace tavolen::panel::views
