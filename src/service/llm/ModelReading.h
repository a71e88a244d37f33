// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/Engine.h"

#include <QString>

#include <optional>
#include <string_view>

namespace tavolen::service::llm {

// "high", "medium" or "low" from a model's risk grade, whatever its case and
// surrounding spaces; nullopt for anything else. The panel treats every
// unknown grade as low, so an unclear one must not pass silently.
std::optional<QString> normalizedRiskLevel(const QString &level);

// The reading in a model's finished JSON object, validated by the same rule
// the client decodes with. Only members a model cannot be trusted to name
// well get a default when missing: platform, content type and language become
// "unknown", the flags false, auto_copy whether a reply is on offer. A text
// that is not one JSON object, a missing required member, a member of the
// wrong type or an unclear risk grade give the failure "model_output_invalid".
EngineOutcome readingFromModelObject(std::string_view objectText);

} // namespace tavolen::service::llm
