// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/TextCues.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tavolen::service {

// What a text's wording and links say about its risk.
struct RiskAssessment {
    enum class Kind { Scam, Phishing, Threat, Harassment };
    // The moves of a scam found, each of which the reason names.
    enum class Sign {
        LookAlikeLink,
        ThrowawayLink,
        HiddenLink,
        MoneyAsked,
        NewChannel,
        NewNumber,
        SecretAsked,
        Promise,
        AccountHeld,
        Authority,
        Blackmail,
    };
    // "high", "medium" or "low".
    QString level = QStringLiteral("low");
    // The kinds found, the weightiest first.
    QList<Kind> kinds;
    QList<Sign> signs;
    // The phrases that decided it, as they are listed (at most a few).
    QStringList evidence;
    // The brands that look-alike links borrow ("usps").
    QStringList brands;
    // Pressure to act at once ("urgent", "立即", "within 24 hours") was found.
    bool urgent = false;
    // Friendly phrases ("thank you", "谢谢") were found.
    bool friendly = false;

    bool has(Sign s) const { return signs.contains(s); }
};

// Scams, phishing, threats and harassment, read from the moves a scam makes
// (a borrowed brand on a throwaway link, money with a deadline or a new
// number, a code asked for) more than from any one word. A text that warns
// about scams is not one; an insult counts only when it is aimed at someone.
RiskAssessment assessRisk(const TextCues &cues);

// One sentence naming the kinds of risk found and what shows them, in
// Simplified Chinese with `zh`; nothing when none was found.
std::optional<QString> riskReason(const RiskAssessment &risk, bool zh);

} // namespace tavolen::service
