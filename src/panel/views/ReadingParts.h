// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/Records.h"
#include "ui/TextBlock.h"

#include <QLabel>

#include <optional>

class QBoxLayout;
class QHBoxLayout;
class QVBoxLayout;

// The pieces of a reading that the result and the streaming views share.
namespace tavolen::panel::views {

// The tone label on an accent-tinted capsule.
class ToneChip final : public QLabel {
public:
    ToneChip(const QString &text, QWidget *parent);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
};

// "present and not empty"
bool isShown(const std::optional<QString> &text);

// The header column (tone chip and summary, both only when present), with
// room on the right for the close button. Returns it for more rows.
QVBoxLayout *addHeader(QBoxLayout *into, QWidget *parent, const std::optional<QString> &tone,
                       const std::optional<QString> &summary);
// The heading and the hidden meaning, when present.
void addHiddenMeaning(QBoxLayout *into, QWidget *parent, const std::optional<QString> &text);
// The risk line: shown for a reason unless the level is exactly "low";
// danger for exactly "high", caution for anything else, absence included.
void addRiskLine(QBoxLayout *into, QWidget *parent, const std::optional<QString> &reason,
                 const std::optional<QString> &level);
ui::TextBlock *makeTrustBadge(QWidget *parent);
// The breathing mark of `markSide` beside a progress text.
QHBoxLayout *makeProgressRow(QWidget *parent, double markSide, const QString &text,
                             ui::tokens::TypeStyle type, ui::Ink ink, double spacing);

// Names the views give their parts, for screen readers' tree and for tests.
namespace part {
inline constexpr auto toneChip = "toneChip";
inline constexpr auto summary = "summary";
inline constexpr auto translationToggle = "translationToggle";
inline constexpr auto translation = "translation";
inline constexpr auto hiddenMeaning = "hiddenMeaning";
inline constexpr auto riskLine = "riskLine";
inline constexpr auto replyCard = "replyCard";
inline constexpr auto alternativeChip = "alternativeChip";
inline constexpr auto shortChip = "shortChip";
inline constexpr auto trustBadge = "trustBadge";
inline constexpr auto readingOnly = "readingOnly";
inline constexpr auto setUpModel = "setUpModel";
inline constexpr auto progressMark = "progressMark";
inline constexpr auto progressText = "progressText";
inline constexpr auto message = "message";
inline constexpr auto accessButton = "accessButton";
inline constexpr auto closeButton = "closeButton";
inline constexpr auto pillIcon = "pillIcon";
inline constexpr auto pillText = "pillText";
} // namespace part

} // namespace tavolen::panel::views
