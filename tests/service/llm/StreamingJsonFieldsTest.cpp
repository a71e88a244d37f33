// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/llm/StreamingJsonFields.h"

#include "Printing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tavolen::protocol::FieldEvent;
using tavolen::service::llm::StreamingJsonFields;

namespace {

// Collects what a parser reports.
struct Reported {
    std::vector<FieldEvent> events;
    tavolen::service::FieldSink sink()
    {
        return [this](const FieldEvent &e) { events.push_back(e); };
    }
};

FieldEvent field(const char *name, const QString &value)
{
    return FieldEvent{QString::fromLatin1(name), value};
}

std::vector<FieldEvent> eventsOf(const std::vector<std::string> &pieces)
{
    Reported reported;
    StreamingJsonFields parser(reported.sink());
    for (const std::string &piece : pieces)
        parser.feed(piece);
    return reported.events;
}

std::vector<FieldEvent> eventsOf(const std::string &text)
{
    return eventsOf(std::vector<std::string>{text});
}

// A fenced answer with prose, nested members that share early names, and
// the early fields out of their usual order.
const std::string kTricky = "Sure! Here is the reading {as asked}:\n```json\n"
                            R"({"flags": {"summary": "not me", "list": [{"risk_level": "high"}, "}"]},)"
                            R"( "risk_reason" : "Asks for a \"code\" \u2014 \ud83d\ude00 \\ \/",)"
                            R"( "tone": "summary", "summary":"第一行\n第二行", "extra": [1, {"a": "]"}],)"
                            R"( "risk_level": " High ", "tone_label": "Tense"})"
                            "\n```\nHope this helps {really}.";

const std::vector<FieldEvent> kTrickyEvents{
    field("risk_reason", QStringLiteral("Asks for a \"code\" \u2014 \U0001F600 \\ /")),
    field("summary", QStringLiteral("第一行\n第二行")),
    field("risk_level", QStringLiteral("high")),
    field("tone_label", QStringLiteral("Tense")),
};

} // namespace

TEST(StreamingJsonFields, FieldIsReportedOnceItsStringCloses)
{
    Reported reported;
    StreamingJsonFields parser(reported.sink());
    parser.feed(R"({"tone_label": "Warm, a bit shy)");
    EXPECT_TRUE(reported.events.empty());
    parser.feed(R"(", "summary": "Hi)");
    ASSERT_EQ(reported.events.size(), 1u);
    EXPECT_EQ(reported.events[0], field("tone_label", QStringLiteral("Warm, a bit shy")));
    parser.feed(R"( there")");
    ASSERT_EQ(reported.events.size(), 2u);
    EXPECT_EQ(reported.events[1], field("summary", QStringLiteral("Hi there")));
    EXPECT_FALSE(parser.objectClosed());
    parser.feed("}");
    EXPECT_TRUE(parser.objectClosed());
}

TEST(StreamingJsonFields, OnlyTopLevelEarlyStringsAreReportedWhateverTheirOrderOrSurroundings)
{
    EXPECT_EQ(eventsOf(kTricky), kTrickyEvents);
}

TEST(StreamingJsonFields, EverySplitOfTheTextReportsTheSame)
{
    for (std::size_t cut = 0; cut <= kTricky.size(); ++cut)
        ASSERT_EQ(eventsOf({kTricky.substr(0, cut), kTricky.substr(cut)}), kTrickyEvents) << "cut at " << cut;
    std::vector<std::string> bytes;
    for (const char c : kTricky)
        bytes.emplace_back(1, c);
    EXPECT_EQ(eventsOf(bytes), kTrickyEvents);
}

TEST(StreamingJsonFields, StringsThatAreNotValidJsonUnclearRiskGradesAndRepeatedNamesAreNotReported)
{
    const std::vector<FieldEvent> none;
    const std::pair<std::string, std::vector<FieldEvent>> cases[] = {
        // A lone surrogate, an unknown escape, a bad \u, a raw line break.
        {R"({"summary": "smile \ud83d here"})", none},
        {R"({"summary": "low \udc00 only"})", none},
        {R"({"summary": "a \x b"})", none},
        {R"({"summary": "\u12G4"})", none},
        {"{\"summary\": \"line\nbreak\"}", none},
        // An invalid escape right before the quote still ends the string.
        {R"({"summary": "\ud83d", "tone_label": "ok"})", {field("tone_label", QStringLiteral("ok"))}},
        {R"({"risk_level": "severe"})", none},
        {R"({"risk_level": 3, "risk_reason": null})", none},
        {R"({"summary": "first", "summary": "second"})", {field("summary", QStringLiteral("first"))}},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(eventsOf(text), expected) << text;
}

TEST(StreamingJsonFields, ObjectTextIsExactlyTheFirstTopLevelObjectAfterAnyThinkBlock)
{
    StreamingJsonFields fenced(nullptr);
    fenced.feed(kTricky);
    const std::string text(fenced.objectText());
    EXPECT_EQ(text.front(), '{');
    EXPECT_EQ(text.back(), '}');
    EXPECT_EQ(kTricky.find(text), kTricky.find("{\"flags\""));
    EXPECT_EQ(text.find("```"), std::string::npos);

    StreamingJsonFields thinking(nullptr);
    thinking.feed("<think>The user wants {json}. Fine.</think>\n");
    EXPECT_TRUE(thinking.objectText().empty()) << "braces inside a think block do not start it";
    thinking.feed(R"({"summary": "s"})");
    EXPECT_EQ(thinking.objectText(), R"({"summary": "s"})");

    // Text after the object changes nothing.
    Reported reported;
    StreamingJsonFields followed(reported.sink());
    followed.feed(R"({"tone": "x"} {"summary": "late"})");
    EXPECT_TRUE(followed.objectClosed());
    EXPECT_EQ(followed.objectText(), R"({"tone": "x"})");
    EXPECT_TRUE(reported.events.empty());
}
