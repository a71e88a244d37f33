// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/TextCues.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tavolen::service {

// What the phrase lists say about a text's risk.
struct RiskAssessment {
    enum class Kind { Scam, Phishing, Threat, Harassment };
    // "high", "medium" or "low".
    QString level = QStringLiteral("low");
    // The kinds found, the weightiest first.
    QList<Kind> kinds;
    // The phrases that decided it, as they are listed (at most a few).
    QStringList evidence;
    // Pressure to act at once ("urgent", "立即") was found as well.
    bool urgent = false;
    // Friendly phrases ("thank you", "谢谢") were found.
    bool friendly = false;
};

// Scams, phishing, threats and harassment in English and Chinese. A threat,
// or two signs of fraud (urgency counting as one beside another), make it
// high; one sign or harassment alone make it medium.
RiskAssessment assessRisk(const TextCues &cues);

// One sentence naming the kinds of risk found and the phrases that show them,
// in Simplified Chinese with `zh`; nothing when none was found.
std::optional<QString> riskReason(const RiskAssessment &risk, bool zh);

} // namespace tavolen::service
