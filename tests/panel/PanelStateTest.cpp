// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "panel/PanelState.h"
#include "support/ServiceAnswers.h"

#include <gtest/gtest.h>

using namespace tavolen;
using panel::PanelState;
using Tint = PanelState::Tint;

// Which view each state selects is seen through the capture flow's tests.

TEST(PanelState, RiskTintByExactLevelTextOnceTheLevelIsKnown)
{
    const std::pair<const char *, std::optional<Tint>> levels[] = {
        {"high", Tint::Danger},  {"medium", Tint::Caution},  {"low", std::nullopt},
        {"", std::nullopt},      {"High", std::nullopt},     {"MEDIUM", std::nullopt},
        {" high", std::nullopt}, {"critical", std::nullopt},
    };
    for (const auto &[level, tint] : levels) {
        protocol::AnalysisResult result = test::sampleResult();
        result.risk_level = QString::fromLatin1(level);
        protocol::StreamPartial partial;
        partial.risk_level = QString::fromLatin1(level);
        EXPECT_EQ(PanelState::result(result).riskTint(), tint) << level;
        EXPECT_EQ(PanelState::streaming(partial).riskTint(), tint) << level;
    }
    EXPECT_FALSE(PanelState::streaming(protocol::StreamPartial{}).riskTint()) << "no level yet";
    EXPECT_FALSE(PanelState::error(QStringLiteral("high")).riskTint());
    EXPECT_FALSE(PanelState::loading().riskTint());
}
