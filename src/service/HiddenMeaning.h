// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/RiskAssessment.h"

#include <QString>

#include <optional>

namespace tavolen::service {

// What the text is after beneath its words, where a known pattern makes it
// plain (a scam's lure, a threat's aim, praise that is not meant); nothing
// otherwise. In Simplified Chinese with `zh`.
std::optional<QString> hiddenMeaning(const RiskAssessment &risk, bool backhanded, bool zh);

} // namespace tavolen::service
