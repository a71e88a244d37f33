// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/RiskAssessment.h"
#include "service/TextCues.h"

#include <QString>

#include <optional>

namespace tavolen::service {

// How a text sounds, and what it is for, where its wording says so.
struct ToneReading {
    // "threatening", "pressuring", "persuasive", "official", "hostile",
    // "sarcastic", "friendly", "formal" or "unclear".
    QString tone;
    std::optional<QString> label;
    QString intent;
    bool sarcastic() const { return tone == QLatin1String("sarcastic"); }
};

// `summary` is the text's opening, for whether it asks something; the
// label and intent are in Simplified Chinese with `zh`.
ToneReading readTone(const RiskAssessment &risk, const TextCues &cues, const QString &summary, bool zh);

// Praise that does not mean it: praise words beside a barb about what went
// wrong ("bold of you to launch after last week", "你可真厉害，又迟到了").
bool soundsBackhanded(const TextCues &cues);

} // namespace tavolen::service
