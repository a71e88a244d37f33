// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

namespace tavolen::service {

// The phrases that name a scam, a phishing lure, a threat, an insult or a
// kindness outright, in the languages readers meet them in. Words that are
// everyday alone ("transfer", "verification code", "bitcoin") are not here:
// the moves around them decide (FraudCues).
struct RiskWords {
    QStringList scam;
    QStringList phishing;
    QStringList threat;
    QStringList harassment;
    QStringList friendly;
};

// Made once: every analysis reads them.
const RiskWords &riskWords();

} // namespace tavolen::service
