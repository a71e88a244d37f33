// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/Records.h"

#include <QString>

#include <optional>

// Which reply the result card shows, and what its chips say and do. Pure
// functions of the result and the chosen variant.
namespace tavolen::panel::reply {

enum class Variant { Best, Short, Alternative };

// The variant's reply, falling back to the best reply.
std::optional<QString> shownText(const protocol::AnalysisResult &r, Variant v);
// The variant's gloss; the short reply falls back to the best reply's gloss,
// the alternative does not.
std::optional<QString> shownGloss(const protocol::AnalysisResult &r, Variant v);
// Respondable (or silent on it) and with a non-empty reply to show.
bool hasReply(const protocol::AnalysisResult &r, Variant v);

bool showsAlternativeChip(const protocol::AnalysisResult &r);
bool showsShortChip(const protocol::AnalysisResult &r);
QString alternativeChipTitle(const protocol::AnalysisResult &r, Variant v);
QString shortChipTitle(Variant v);
// A chip toggles between its own variant and the best reply.
Variant afterAlternativeChip(Variant v);
Variant afterShortChip(Variant v);

} // namespace tavolen::panel::reply
