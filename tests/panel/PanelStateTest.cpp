#include "panel/PanelState.h"
#include "support/ServiceAnswers.h"

#include <gtest/gtest.h>

using namespace tavolen;
using panel::PanelState;
using CV = PanelState::ContentView;
using Tint = PanelState::Tint;

namespace {

PanelState result(const QString &risk)
{
    api::AnalysisResult r = test::sampleResult();
    r.risk_level = risk;
    return PanelState::result(r);
}

PanelState streaming(std::optional<QString> risk)
{
    api::StreamPartial p;
    p.summary = QStringLiteral("s");
    p.risk_level = std::move(risk);
    return PanelState::streaming(p);
}

} // namespace

TEST(PanelState, EachCaseHasItsViewTintProgressAndCollapsing)
{
    const struct {
        PanelState state;
        CV view;
        std::optional<Tint> tint;
        bool inProgress, collapsible;
    } cases[] = {
        {PanelState::loading(), CV::Loading, std::nullopt, true, false},
        {streaming(std::nullopt), CV::Streaming, std::nullopt, true, false}, // tinted once the level arrives
        {streaming("high"), CV::Streaming, Tint::Danger, true, false},
        {streaming("medium"), CV::Streaming, Tint::Caution, true, false},
        {result("high"), CV::Result, Tint::Danger, false, true},
        {result("medium"), CV::Result, Tint::Caution, false, true},
        {result("low"), CV::Result, std::nullopt, false, true},
        {PanelState::error("high"), CV::Error, std::nullopt, false, false},
        {PanelState::permission(), CV::Permission, std::nullopt, false, false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.state.contentView(), c.view) << &c - cases;
        EXPECT_EQ(c.state.riskTint(), c.tint) << &c - cases;
        EXPECT_EQ(c.state.isInProgress(), c.inProgress) << &c - cases;
        EXPECT_EQ(c.state.isCollapsible(), c.collapsible) << &c - cases;
    }
}

TEST(PanelState, RiskTintIsByExactLevelText)
{
    for (const char *other : {"", "High", "MEDIUM", " high", "critical"})
        EXPECT_FALSE(result(QString::fromLatin1(other)).riskTint()) << other;
}

TEST(PanelState, ErrorKeepsItsMessageVerbatimEvenWhenEmpty)
{
    const PanelState empty = PanelState::error(QString());
    ASSERT_TRUE(empty.errorMessage());
    EXPECT_TRUE(empty.errorMessage()->isEmpty());
    EXPECT_FALSE(empty.resultValue());
    EXPECT_EQ(*PanelState::error(QStringLiteral("  x ")).errorMessage(), QStringLiteral("  x "));
}
