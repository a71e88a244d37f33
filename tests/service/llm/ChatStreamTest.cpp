// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/llm/ChatStream.h"

#include "FakeModelServer.h"
#include "Printing.h"

#include <gtest/gtest.h>

using tavolen::service::llm::ChatStream;
using tavolen::test::contentEvent;

namespace {

struct Read {
    std::string text;
    std::optional<tavolen::service::EngineFailure> failure;
    bool finished = false;
    bool cutShort = false;
};

Read readAll(const std::vector<std::string> &pieces, std::size_t maxLine = 4096)
{
    Read read;
    ChatStream stream([&](std::string_view piece) { read.text += piece; }, maxLine);
    for (const std::string &piece : pieces)
        stream.feed(piece);
    read.failure = stream.failure();
    read.finished = stream.finished();
    read.cutShort = stream.cutShort();
    return read;
}

const std::string kBody = ": keep-alive\r\n\r\n" + contentEvent("{\"summary\": \"caf\u00e9") +
                          "event: ignored\ndata:{\"choices\":[{\"delta\":{\"role\":\"assistant\"}}]}\r\n" +
                          contentEvent(" \\\"ok\\\"\"}") + "data: not json\n" +
                          "data: {\"choices\":[{\"delta\":{},\"finish_reason\":\"stop\"}]}\r\r" +
                          "data: [DONE]\n\n" + contentEvent("after the end");

} // namespace

TEST(ChatStream, TheModelsTextIsJoinedFromEveryChunkAtAnySplit)
{
    const std::string expected = "{\"summary\": \"caf\u00e9 \\\"ok\\\"\"}";
    for (std::size_t cut = 0; cut <= kBody.size(); ++cut) {
        const Read read = readAll({kBody.substr(0, cut), kBody.substr(cut)});
        EXPECT_EQ(read.text, expected) << "cut at " << cut;
        EXPECT_TRUE(read.finished);
        EXPECT_FALSE(read.failure);
    }
}

TEST(ChatStream, AnErrorInTheStreamIsAFailureCountedButNotQuoted)
{
    const Read read =
        readAll({contentEvent("{"), "data: {\"error\": {\"message\": \"Model overloaded\"}}\n\n",
                 contentEvent("more")});
    ASSERT_TRUE(read.failure);
    EXPECT_EQ(read.failure->code, QStringLiteral("model_unavailable"));
    EXPECT_FALSE(read.failure->detail.contains(QStringLiteral("Model overloaded")))
        << "the endpoint's words may quote the screenshot";
    EXPECT_EQ(read.text, "{");
}

TEST(ChatStream, ATokenLimitStopIsNoted)
{
    const Read read = readAll(
        {contentEvent("{\"sum"), "data: {\"choices\":[{\"delta\":{},\"finish_reason\":\"length\"}]}\n\n"});
    EXPECT_TRUE(read.cutShort);
    EXPECT_FALSE(read.finished);
}

TEST(ChatStream, AtTheEndALastLineWithoutItsBreakOrAnAnswerInOneJsonCompletionIsReadToo)
{
    Read read;
    ChatStream stream([&](std::string_view piece) { read.text += piece; }, 4096);
    stream.feed(contentEvent("{}") + "data: [DONE]");
    EXPECT_FALSE(stream.finished());
    stream.finish();
    EXPECT_TRUE(stream.finished());
    EXPECT_EQ(read.text, "{}");

    std::string text;
    ChatStream whole([&](std::string_view piece) { text += piece; }, 4096);
    whole.feed(R"(
{"choices": [{"message":
  {"content": "{\"summary\": \"s\"}"}}]})");
    EXPECT_TRUE(text.empty());
    whole.finish();
    EXPECT_EQ(text, "{\"summary\": \"s\"}");
}
