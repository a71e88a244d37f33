// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/PanelState.h"

namespace tavolen::panel {

PanelState::ContentView PanelState::contentView() const
{
    // The variant's order is the view's order.
    return static_cast<ContentView>(m_case.index());
}

std::optional<PanelState::Tint> tintForRiskLevel(const QString &level)
{
    if (level == QLatin1String("high"))
        return PanelState::Tint::Danger;
    if (level == QLatin1String("medium"))
        return PanelState::Tint::Caution;
    return std::nullopt;
}

std::optional<PanelState::Tint> PanelState::riskTint() const
{
    if (const auto *r = resultValue())
        return tintForRiskLevel(r->risk_level);
    if (const auto *p = partialValue(); p && p->risk_level)
        return tintForRiskLevel(*p->risk_level);
    return std::nullopt;
}

bool PanelState::isInProgress() const
{
    return std::holds_alternative<Loading>(m_case) || std::holds_alternative<Streaming>(m_case);
}

bool PanelState::isCollapsible() const
{
    return std::holds_alternative<Result>(m_case);
}

const protocol::AnalysisResult *PanelState::resultValue() const
{
    const auto *r = std::get_if<Result>(&m_case);
    return r ? &r->result : nullptr;
}

bool PanelState::engineWritesReplies() const
{
    const auto *r = std::get_if<Result>(&m_case);
    return !r || r->engineWritesReplies;
}

const protocol::StreamPartial *PanelState::partialValue() const
{
    const auto *s = std::get_if<Streaming>(&m_case);
    return s ? &s->partial : nullptr;
}

const QString *PanelState::errorMessage() const
{
    const auto *e = std::get_if<Error>(&m_case);
    return e ? &e->message : nullptr;
}

} // namespace tavolen::panel
