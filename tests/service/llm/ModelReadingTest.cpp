// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/llm/ModelReading.h"

#include "ModelAnswers.h"
#include "Printing.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

using tavolen::protocol::AnalysisResult;
using tavolen::service::EngineFailure;
using tavolen::service::EngineOutcome;
using tavolen::service::llm::readingFromModelObject;
using json = nlohmann::json;

namespace {

json modelReading()
{
    return json::parse(tavolen::test::modelReadingJson());
}

EngineOutcome readingOf(const json &object)
{
    return readingFromModelObject(object.dump());
}

const AnalysisResult &asReading(const EngineOutcome &outcome)
{
    static const AnalysisResult none;
    if (const auto *failure = std::get_if<EngineFailure>(&outcome)) {
        ADD_FAILURE() << "failed: " << failure->detail.toStdString();
        return none;
    }
    return std::get<AnalysisResult>(outcome);
}

// The failure's detail, or "" (with a test failure) for a reading.
std::string invalidBecause(const EngineOutcome &outcome)
{
    const auto *failure = std::get_if<EngineFailure>(&outcome);
    if (!failure) {
        ADD_FAILURE() << "expected a failure";
        return {};
    }
    EXPECT_EQ(failure->code, QStringLiteral("model_output_invalid"));
    return failure->detail.toStdString();
}

} // namespace

TEST(ModelReading, AWholeAnswerBecomesTheReadingAsWritten)
{
    const AnalysisResult r = asReading(readingOf(modelReading()));
    EXPECT_EQ(r.summary, QStringLiteral("Mara asks whether the \"new\" café is open on Sundays."));
    EXPECT_EQ(r.hidden_meaning, std::nullopt);
    EXPECT_EQ(r.full_translation, QStringLiteral("玛拉问那家新咖啡馆周日开不开门。"));
    EXPECT_EQ(r.best_reply, QStringLiteral("Yes, it opens at 9 on Sundays!\nSee you there?"));
    EXPECT_EQ(r.alternative_reply_gloss, QStringLiteral("Promises to find out."));
    EXPECT_EQ(r.respondable, true);
    EXPECT_TRUE(r.auto_copy);
    EXPECT_EQ(r.flags, tavolen::protocol::Flags{});
}

TEST(ModelReading, OnlyNamingAndFlagMembersGetDefaults)
{
    json o = modelReading();
    for (const char *key : {"platform", "content_type", "detected_language", "auto_copy", "flags"})
        o.erase(key);
    o["risk_level"] = "  MEDIUM ";
    AnalysisResult r = asReading(readingOf(o));
    EXPECT_EQ(r.platform, QStringLiteral("unknown"));
    EXPECT_EQ(r.content_type, QStringLiteral("unknown"));
    EXPECT_EQ(r.detected_language, QStringLiteral("unknown"));
    EXPECT_EQ(r.risk_level, QStringLiteral("medium"));
    EXPECT_EQ(r.flags, tavolen::protocol::Flags{});
    EXPECT_TRUE(r.auto_copy) << "a respondable post with a best reply is copied";

    o["respondable"] = false;
    o["flags"] = {{"sensitive_pii", true}};
    r = asReading(readingOf(o));
    EXPECT_FALSE(r.auto_copy);
    EXPECT_EQ(r.flags, (tavolen::protocol::Flags{false, true, false}));
}

TEST(ModelReading, AMissingOrNullContentMemberIsAFailureNamingIt)
{
    for (const char *key :
         {"summary", "tone", "intent", "risk_level", "recommended_action", "action_reason"}) {
        json o = modelReading();
        o.erase(key);
        EXPECT_NE(invalidBecause(readingOf(o)).find(key), std::string::npos) << key;
        o[key] = nullptr;
        EXPECT_NE(invalidBecause(readingOf(o)).find(key), std::string::npos) << key;
    }
}

TEST(ModelReading, MembersOfTheWrongTypeFailAsTheClientWouldFailThem)
{
    const std::vector<std::pair<const char *, json>> cases{
        {"summary", 3},      {"respondable", "yes"}, {"best_reply", json::array()},
        {"auto_copy", "no"}, {"flags", true},        {"tone_label", false}};
    for (const auto &[key, value] : cases) {
        json o = modelReading();
        o[key] = value;
        invalidBecause(readingOf(o));
    }
    json o = modelReading();
    o["flags"]["unsupported"] = "no";
    invalidBecause(readingOf(o));
}

TEST(ModelReading, AnUnclearRiskGradeIsAFailure)
{
    json o = modelReading();
    o["risk_level"] = "moderate";
    const std::string detail = invalidBecause(readingOf(o));
    EXPECT_NE(detail.find("risk_level"), std::string::npos);
    EXPECT_EQ(detail.find("moderate"), std::string::npos) << "the model's words stay out of the log";
}

TEST(ModelReading, TextThatIsNotOneJsonObjectIsAFailure)
{
    invalidBecause(readingFromModelObject(R"({"summary": "cut off)"));
    invalidBecause(readingFromModelObject(R"({"summary": "a",})"));
    invalidBecause(readingFromModelObject(R"(["summary"])"));
    invalidBecause(readingFromModelObject(""));
}

TEST(ModelReading, AnAnswerNestedDeeperThanAReadingFailsInsteadOfTakingTheServiceDown)
{
    // Printed as a tree, 100 000 levels overflow the worker's stack.
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    const std::string answer =
        R"({"summary":"x","tone":"t","intent":"i","risk_level":"low","recommended_action":"a",)"
        R"("action_reason":"r","z":)" +
        deep + "}";
    EXPECT_NE(invalidBecause(readingFromModelObject(answer)).find("nests"), std::string::npos);
}
