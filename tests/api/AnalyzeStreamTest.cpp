#include "api/Api.h"
#include "support/ServiceAnswers.h"
#include "support/ServiceTest.h"

#include <QTcpServer>

using namespace tavolen;
using namespace tavolen::test;
using namespace std::chrono_literals;
using Ending = ScriptedResponse::Ending;
using Fate = RecordedRequest::Fate;

namespace {

constexpr QByteArrayView kPath = "/v1/analyze-screenshot-stream";

QByteArray field(const QByteArray &name, const QByteArray &value)
{
    return eventLines("field", fieldJson(name, '"' + value + '"'));
}

QByteArray result()
{
    return eventLines("result", envelopeJson());
}

class AnalyzeStream : public ServiceTest {
protected:
    api::AnalysisOutcome call()
    {
        received.clear();
        return run(api::analyzeStream(QByteArray("jpeg"), QStringLiteral("en"),
                                      [this](const api::StreamPartial &p) { received.append(p); }));
    }
    void answer(ScriptedResponse r) { server.script(kPath.toByteArray(), std::move(r)); }
    QList<std::optional<QString>> summaries() const
    {
        QList<std::optional<QString>> out;
        for (const auto &p : received)
            out.append(p.summary);
        return out;
    }

    QList<api::StreamPartial> received;
};

TEST_F(AnalyzeStream, PartialsArriveInOrderThenTheResult)
{
    answer(ScriptedResponse::stream(
        {field("tone_label", "Dry"), field("summary", "one"), field("summary", "two"), result()}, 20ms));
    const api::AnalysisOutcome outcome = call();
    ASSERT_TRUE(outcome.ok()) << caseText(outcome);
    EXPECT_EQ(outcome.value().result.summary, u"S"_qs);
    ASSERT_EQ(received.size(), 3);
    EXPECT_EQ(received[0].tone_label, u"Dry"_qs);
    EXPECT_EQ(summaries(), (QList<std::optional<QString>>{std::nullopt, u"one"_qs, u"two"_qs}));
    EXPECT_EQ(received[2].tone_label, u"Dry"_qs);
}

TEST_F(AnalyzeStream, LinesSplitAnywhereByTheNetworkAreReassembled)
{
    // CRLF split between two arrivals, a CR-only line end, and a last line
    // without any terminator, drained when the body ends.
    const QByteArray json = envelopeJson();
    answer(ScriptedResponse::stream({"event: fi", "eld\r", "\ndata: " + fieldJson("summary", R"("S")") + "\r",
                                     "event: result\rdata: " + json.left(40), json.mid(40)},
                                    15ms));
    const api::AnalysisOutcome outcome = call();
    EXPECT_TRUE(outcome.ok()) << caseText(outcome);
    EXPECT_EQ(summaries(), (QList<std::optional<QString>>{u"S"_qs}));
}

TEST_F(AnalyzeStream, LinesAfterTheResultAreNeverRead)
{
    // Two lines after the result share its arrival; more come later, by
    // when the client has hung up.
    answer(ScriptedResponse::stream({field("summary", "S"), result() + field("summary", "same arrival"),
                                     field("summary", "later"), result()},
                                    50ms)
               .then(300ms, field("summary", "much later")));
    const api::AnalysisOutcome outcome = call();
    ASSERT_TRUE(outcome.ok()) << caseText(outcome);
    EXPECT_EQ(summaries(), (QList<std::optional<QString>>{u"S"_qs}));

    const auto record = server.waitForFate(0);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->fate, Fate::ClientLeft) << "the connection was released";
    EXPECT_EQ(record->piecesSent, 2);
}

TEST_F(AnalyzeStream, QuotaAnswerFailsBeforeAnyLineIsRead)
{
    api::timeouts().stream = 5s;
    ScriptedResponse r = ScriptedResponse::stream({field("summary", "never shown")});
    r.status = 429;
    r.endWith(Ending::Stall);
    answer(r);
    EXPECT_EQ(caseText(call()), "quota");
    EXPECT_TRUE(received.isEmpty());
    EXPECT_LT(clock.elapsed(), 2000) << "the head decides; the body is not waited for";
}

TEST_F(AnalyzeStream, OtherStatusFailsWithoutTheBodysMessage)
{
    answer(ScriptedResponse::body(500, errorEnvelopeJson("busy", "服务繁忙")));
    answer(ScriptedResponse::body(201, result(), "text/event-stream"));
    EXPECT_EQ(caseText(call()), "http 500");
    EXPECT_EQ(caseText(call()), "http 201");
    EXPECT_TRUE(received.isEmpty());
}

TEST_F(AnalyzeStream, ErrorEventFailsWithOrWithoutTheServiceMessage)
{
    answer(ScriptedResponse::stream(
        {field("summary", "S"), eventLines("error", R"({"code":"busy","message_zh":"忙"})")}));
    answer(ScriptedResponse::stream({eventLines("error", "<html>")}));
    EXPECT_EQ(caseText(call()), "http 503 忙");
    EXPECT_EQ(received.size(), 1) << "partials already delivered stay delivered";
    const api::AnalysisOutcome plain = call();
    EXPECT_EQ(caseText(plain), "http 503");
    EXPECT_EQ(api::describe(plain.error()), "That didn't work — try again");
}

TEST_F(AnalyzeStream, BodyEndingWithoutResultIsDecodeFailureAfterItsPartials)
{
    answer(ScriptedResponse::stream({field("summary", "S"), field("risk_level", "high")}, 10ms));
    EXPECT_EQ(caseText(call()), "decode");
    EXPECT_EQ(received.size(), 2);

    QByteArray broken = result();
    broken.replace(R"("latency_ms":42)", R"("latency_ms":"42")");
    answer(ScriptedResponse::stream({broken, result()}));
    EXPECT_EQ(caseText(call()), "decode") << "an undecodable result ends the call";
}

TEST_F(AnalyzeStream, StallAfterSomePartialsTimesOutAsTimedOut)
{
    api::timeouts().stream = 800ms;
    answer(ScriptedResponse::stream({field("summary", "S"), field("tone_label", "T")}, 10ms)
               .endWith(Ending::Stall));
    EXPECT_EQ(caseText(call()), "platform: The request timed out.");
    EXPECT_EQ(received.size(), 2);
    EXPECT_GE(clock.elapsed(), 700);
    EXPECT_LT(clock.elapsed(), 4000);

    settings.store.setValue(QStringLiteral("app_lang"), QStringLiteral("zh"));
    answer(ScriptedResponse::silence());
    EXPECT_EQ(caseText(call()), "platform: 请求超时") << "also before the head";
}

TEST_F(AnalyzeStream, SlowButSteadyStreamIsNotCutOff)
{
    api::timeouts().stream = 600ms;
    answer(ScriptedResponse::stream({field("summary", "1"), field("summary", "2"), field("summary", "3"),
                                     field("summary", "4"), result()},
                                    350ms));
    const api::AnalysisOutcome outcome = call();
    EXPECT_TRUE(outcome.ok()) << caseText(outcome);
    EXPECT_GT(clock.elapsed(), 1500);
}

TEST_F(AnalyzeStream, BrokenConnectionWhileReadingIsThePlatformsError)
{
    answer(ScriptedResponse::stream({field("summary", "S"), field("summary", "lost")}, 100ms)
               .endWith(Ending::Reset, 1));
    answer(ScriptedResponse::stream({field("summary", "S"), field("summary", "lost")}, 100ms)
               .endWith(Ending::Close, 1));
    EXPECT_EQ(caseText(call()), "platform: Connection closed");
    EXPECT_EQ(summaries(), (QList<std::optional<QString>>{u"S"_qs}));
    EXPECT_EQ(caseText(call()), "platform: Connection closed");
}

TEST_F(AnalyzeStream, FailureBeforeTheHeadIsThePlatformsError)
{
    QTcpServer unused;
    ASSERT_TRUE(unused.listen(QHostAddress::LocalHost, 0));
    const quint16 port = unused.serverPort();
    unused.close();
    settings.store.setValue(QStringLiteral("api_base"), QStringLiteral("http://127.0.0.1:%1").arg(port));
    EXPECT_EQ(caseText(call()), "platform: Connection refused");

    settings.store.setValue(QStringLiteral("api_base"), server.baseUrl());
    server.setFallback(ScriptedResponse::garbage("220 smtp.example.com ESMTP\r\n"));
    EXPECT_EQ(caseText(call()), "platform: Connection closed");
}

TEST_F(AnalyzeStream, LineOverOneMebibyteFailsWithoutWaitingForItsEnd)
{
    api::timeouts().stream = 10s;
    answer(ScriptedResponse::stream(
               {"event: field\ndata: ", QByteArray(512 * 1024, 'x'), QByteArray(512 * 1024, 'x'), "x"})
               .endWith(Ending::Stall));
    EXPECT_EQ(caseText(call()), "decode");
    EXPECT_LT(clock.elapsed(), 5000);

    // A line of exactly the limit is still read.
    const QByteArray line = "data:" + paddedEnvelopeJson(1024 * 1024 - 5);
    ASSERT_EQ(line.size(), 1024 * 1024);
    answer(ScriptedResponse::stream({"event: result\n" + line + "\n"}));
    EXPECT_TRUE(call().ok());
}

} // namespace
