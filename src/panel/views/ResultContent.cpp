// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/views/ResultContent.h"

#include "panel/views/PanelTexts.h"
#include "panel/views/ReadingParts.h"
#include "panel/views/ReplyCard.h"
#include "ui/Buttons.h"
#include "ui/TextBlock.h"

#include <QBoxLayout>
#include <QTimer>

namespace tavolen::panel::views {

namespace t = ui::tokens;

ResultContent::ResultContent(protocol::AnalysisResult result, PanelActions actions, QWidget *parent,
                             bool engineWritesReplies)
    : QWidget(parent), m_result(std::move(result)), m_actions(std::move(actions))
{
    auto *column = new QVBoxLayout(this);
    const int pad = int(t::space::contentPadding);
    column->setContentsMargins(pad, pad, pad, pad);
    column->setSpacing(int(t::space::contentSpacing));

    // The summary is always there in a result, even when empty.
    QVBoxLayout *header = addHeader(column, this, m_result.tone_label, std::nullopt);
    auto *summary = new ui::TextBlock(m_result.summary, t::type::summary, ui::Ink::Primary, this);
    summary->setObjectName(part::summary);
    header->addWidget(summary);
    addTranslation(header);
    addHiddenMeaning(column, this, m_result.hidden_meaning);
    addRiskLine(column, this, m_result.risk_reason, m_result.risk_level);
    if (reply::hasReply(m_result, m_variant))
        addReplySection(column);
    else
        addReadingOnlyFooter(column, engineWritesReplies);
}

void ResultContent::addTranslation(QBoxLayout *header)
{
    if (!isShown(m_result.full_translation))
        return;
    auto *group = new QVBoxLayout;
    group->setSpacing(int(t::space::translationSpacing));
    m_translationToggle = new ui::TextButton(texts::translationToggle(false), t::type::translationToggle,
                                             ui::Ink::Accent, this);
    m_translationToggle->setObjectName(part::translationToggle);
    m_translationToggle->setCheckable(true);
    connect(m_translationToggle, &QAbstractButton::clicked, this, [this] { toggleTranslation(); });
    m_translation =
        new ui::TextBlock(*m_result.full_translation, t::type::translation, ui::Ink::Secondary, this);
    m_translation->setObjectName(part::translation);
    m_translation->hide();
    group->addWidget(m_translationToggle, 0, Qt::AlignLeft);
    group->addWidget(m_translation);
    header->addLayout(group);
}

void ResultContent::addReplySection(QBoxLayout *into)
{
    auto *section = new QVBoxLayout;
    section->setSpacing(int(t::space::replySectionSpacing));
    m_card =
        new ReplyCard(*reply::shownText(m_result, m_variant), reply::shownGloss(m_result, m_variant), this);
    connect(m_card, &QAbstractButton::clicked, this, [this] { copyCard(); });
    section->addWidget(m_card);

    auto *row = new QHBoxLayout;
    row->setSpacing(int(t::space::chipRowSpacing));
    if (reply::showsAlternativeChip(m_result)) {
        m_alternativeChip = new ui::CapsuleButton(QString(), ui::CapsuleButton::Style::Glass, this);
        m_alternativeChip->setObjectName(part::alternativeChip);
        connect(m_alternativeChip, &QAbstractButton::clicked, this,
                [this] { setVariant(reply::afterAlternativeChip(m_variant)); });
        row->addWidget(m_alternativeChip);
    }
    if (reply::showsShortChip(m_result)) {
        m_shortChip = new ui::CapsuleButton(QString(), ui::CapsuleButton::Style::Glass, this);
        m_shortChip->setObjectName(part::shortChip);
        connect(m_shortChip, &QAbstractButton::clicked, this,
                [this] { setVariant(reply::afterShortChip(m_variant)); });
        row->addWidget(m_shortChip);
    }
    row->addStretch(1);
    m_badge = makeTrustBadge(this);
    row->addWidget(m_badge, 0, Qt::AlignVCenter);
    section->addLayout(row);
    m_chipRow = row;
    m_badgeRow = new QHBoxLayout;
    m_badgeRow->addStretch(1);
    section->addLayout(m_badgeRow);
    into->addLayout(section);
    refreshChips();
}

void ResultContent::addReadingOnlyFooter(QBoxLayout *into, bool engineWritesReplies)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(int(t::space::chipRowSpacing));
    auto *note = new ui::TextBlock(engineWritesReplies ? texts::readingOnly() : texts::repliesNeedModel(),
                                   t::type::readingOnly, ui::Ink::Tertiary, this);
    note->setObjectName(part::readingOnly);
    row->addWidget(note, 0, Qt::AlignVCenter);
    if (!engineWritesReplies) {
        // The way to replies gets a line of its own, the badge the next.
        auto *setUp = new ui::TextButton(texts::setUpModel(), t::type::readingOnly, ui::Ink::Accent, this);
        setUp->setObjectName(part::setUpModel);
        connect(setUp, &QAbstractButton::clicked, this, [this] { call(m_actions.setUpModel); });
        row->addWidget(setUp, 0, Qt::AlignVCenter);
        row->addStretch(1);
        into->addLayout(row);
        row = new QHBoxLayout;
    }
    row->addStretch(1);
    row->addWidget(makeTrustBadge(this), 0, Qt::AlignVCenter);
    into->addLayout(row);
}

void ResultContent::refreshChips()
{
    if (m_alternativeChip) {
        m_alternativeChip->setText(reply::alternativeChipTitle(m_result, m_variant));
        m_alternativeChip->updateGeometry();
    }
    if (m_shortChip) {
        m_shortChip->setText(reply::shortChipTitle(m_variant));
        m_shortChip->updateGeometry();
    }
    // Chips cut to "Apologise a…" say nothing: when they and the badge do
    // not fit on one row, the badge takes a row of its own below them.
    if (!m_badge)
        return;
    int needed = m_badge->sizeHint().width();
    for (ui::CapsuleButton *chip : {m_alternativeChip, m_shortChip})
        if (chip)
            needed += chip->sizeHint().width() + m_chipRow->spacing();
    const bool oneRow = needed <= int(t::size::panelWidth - 2 * t::space::contentPadding);
    QBoxLayout *target = oneRow ? m_chipRow : m_badgeRow;
    if (target->indexOf(m_badge) < 0) {
        (oneRow ? m_badgeRow : m_chipRow)->removeWidget(m_badge);
        target->addWidget(m_badge, 0, Qt::AlignVCenter);
    }
}

void ResultContent::copyCard()
{
    if (const auto text = reply::shownText(m_result, m_variant))
        call(m_actions.copy, *text);
    m_card->pulseCopied();
}

void ResultContent::setVariant(reply::Variant variant)
{
    m_variant = variant;
    refreshChips();
    const std::optional<QString> text = reply::shownText(m_result, variant);
    if (m_card)
        m_card->showReply(text.value_or(QString()), reply::shownGloss(m_result, variant));
    if (text)
        call(m_actions.copy, *text);
    if (m_card)
        m_card->pulseCopied();
    resizeSoon();
}

void ResultContent::toggleTranslation()
{
    if (!m_translation)
        return;
    m_showTranslation = !m_showTranslation;
    m_translation->setVisible(m_showTranslation);
    m_translationToggle->setText(texts::translationToggle(m_showTranslation));
    m_translationToggle->setChecked(m_showTranslation);
    m_translationToggle->updateGeometry();
    resizeSoon();
}

// After the layout has taken the change in.
void ResultContent::resizeSoon()
{
    QTimer::singleShot(0, this, [this] { call(m_actions.resize); });
}

} // namespace tavolen::panel::views
