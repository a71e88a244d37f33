#include "panel/PanelState.h"

#include "api/Decoding.h"
#include "support/ResultFixtures.h"

#include <gtest/gtest.h>

using namespace tavolen;
using panel::PanelState;
using Tint = PanelState::Tint;

namespace {

PanelState resultWithRisk(const QString &level)
{
    api::AnalysisResult r = *api::decodeAnalysisResult(test::fullResultJson());
    r.risk_level = level;
    return PanelState::result(r);
}

PanelState streamingWithRisk(std::optional<QString> level)
{
    api::StreamPartial p;
    p.summary = QStringLiteral("s");
    p.risk_level = std::move(level);
    return PanelState::streaming(p);
}

} // namespace

TEST(PanelState, EachCaseSelectsItsOwnContentView)
{
    using CV = PanelState::ContentView;
    EXPECT_EQ(PanelState::loading().contentView(), CV::Loading);
    EXPECT_EQ(streamingWithRisk(std::nullopt).contentView(), CV::Streaming);
    EXPECT_EQ(resultWithRisk("low").contentView(), CV::Result);
    EXPECT_EQ(PanelState::error(QString()).contentView(), CV::Error);
    EXPECT_EQ(PanelState::permission().contentView(), CV::Permission);
}

TEST(PanelState, RiskTintByExactLevelText)
{
    EXPECT_EQ(resultWithRisk("high").riskTint(), Tint::Danger);
    EXPECT_EQ(resultWithRisk("medium").riskTint(), Tint::Caution);
    for (const char *other : {"low", "", "High", "MEDIUM", " high", "critical"})
        EXPECT_FALSE(resultWithRisk(QString::fromLatin1(other)).riskTint()) << other;
}

TEST(PanelState, StreamingIsTintedOnlyOnceTheLevelArrives)
{
    EXPECT_FALSE(streamingWithRisk(std::nullopt).riskTint());
    EXPECT_EQ(streamingWithRisk(QStringLiteral("high")).riskTint(), Tint::Danger);
    EXPECT_EQ(streamingWithRisk(QStringLiteral("medium")).riskTint(), Tint::Caution);
    EXPECT_FALSE(PanelState::loading().riskTint());
    EXPECT_FALSE(PanelState::error(QStringLiteral("high")).riskTint());
    EXPECT_FALSE(PanelState::permission().riskTint());
}

TEST(PanelState, OnlyLoadingAndStreamingAreInProgressAndOnlyAResultCollapses)
{
    EXPECT_TRUE(PanelState::loading().isInProgress());
    EXPECT_TRUE(streamingWithRisk(std::nullopt).isInProgress());
    EXPECT_FALSE(resultWithRisk("low").isInProgress());
    EXPECT_FALSE(PanelState::error(QString()).isInProgress());
    EXPECT_FALSE(PanelState::permission().isInProgress());

    EXPECT_TRUE(resultWithRisk("low").isCollapsible());
    EXPECT_FALSE(PanelState::loading().isCollapsible());
    EXPECT_FALSE(streamingWithRisk(QStringLiteral("high")).isCollapsible());
    EXPECT_FALSE(PanelState::error(QString()).isCollapsible());
    EXPECT_FALSE(PanelState::permission().isCollapsible());
}

TEST(PanelState, ErrorKeepsItsMessageVerbatimEvenWhenEmpty)
{
    const PanelState empty = PanelState::error(QString());
    ASSERT_TRUE(empty.errorMessage());
    EXPECT_TRUE(empty.errorMessage()->isEmpty());
    EXPECT_FALSE(empty.resultValue());
    EXPECT_EQ(*PanelState::error(QStringLiteral("  x ")).errorMessage(), QStringLiteral("  x "));
}
