#include "api/Api.h"
#include "api/Decoding.h"
#include "support/ServiceAnswers.h"
#include "support/ServiceTest.h"

#include <QTcpServer>

using namespace tavolen;
using namespace tavolen::test;
using namespace std::chrono_literals;
using api::APIClientError;

namespace {

constexpr QByteArrayView kPath = "/v1/analyze-screenshot";
const QByteArray kJpeg("\xFF\xD8\xFF\xE0 not really a jpeg \xFF\xD9", 25);

class Analyze : public ServiceTest {
protected:
    api::AnalysisOutcome call() { return run(api::analyze(kJpeg, QStringLiteral("en"))); }
    void answer(ScriptedResponse r) { server.script(kPath.toByteArray(), std::move(r)); }
};

TEST_F(Analyze, ValidEnvelopeIsReturnedAndTheJpegWasUploadedOnce)
{
    answer(ScriptedResponse::body(200, envelopeJson()));
    const api::AnalysisOutcome outcome = call();
    ASSERT_TRUE(outcome.ok()) << outcomeText(outcome);
    EXPECT_EQ(outcome.value(), *api::decodeAnalyzeEnvelope(envelopeJson()));

    const QList<RecordedRequest> requests = server.requests(kPath.toByteArray());
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].method, "POST");
    const auto parts = requests[0].parts();
    ASSERT_TRUE(parts && parts->size() == 2);
    EXPECT_EQ(parts->at(1).body, kJpeg);
}

TEST_F(Analyze, ChunkedBodyInSlowPiecesIsJoinedBeforeDecoding)
{
    // Each pause is shorter than the idle limit, the whole answer is longer:
    // the limit is on silence, not on the exchange.
    api::timeouts().plain = 600ms;
    const QByteArray json = envelopeJson();
    ScriptedResponse r = ScriptedResponse::body(200, {});
    r.pieces.clear();
    r.framing = ScriptedResponse::Framing::Chunked;
    for (qsizetype at = 0; at < json.size(); at += json.size() / 4 + 1)
        r.then(350ms, json.mid(at, json.size() / 4 + 1));
    answer(r);
    const api::AnalysisOutcome outcome = call();
    EXPECT_TRUE(outcome.ok()) << outcomeText(outcome);
    EXPECT_GT(clock.elapsed(), 1000);
}

TEST_F(Analyze, SuccessStatusWithUnreadableBodyIsDecodeFailure)
{
    QByteArray wrongType = envelopeJson();
    wrongType.replace(R"("auto_copy":true)", R"("auto_copy":"yes")");
    for (const QByteArray &body :
         {QByteArray(), QByteArray("<html><body>Bad gateway</body></html>"), wrongType}) {
        answer(ScriptedResponse::body(200, body));
        EXPECT_EQ(caseText(call()), "decode") << body.left(40).toStdString();
    }
    settings.store.setValue(QStringLiteral("app_lang"), QStringLiteral("zh"));
    answer(ScriptedResponse::body(200, "[]"));
    EXPECT_EQ(outcomeText(call()), "返回格式异常");
}

TEST_F(Analyze, OtherStatusesCarryTheServiceMessageOnlyFromAnErrorEnvelope)
{
    answer(ScriptedResponse::body(500, errorEnvelopeJson("boom", "服务繁忙")));
    answer(ScriptedResponse::body(201, envelopeJson()));
    answer(ScriptedResponse::body(503, "Service Unavailable", "text/plain"));
    answer(ScriptedResponse::body(400, R"({"error":{"message_zh":"no code"}})"));
    answer(ScriptedResponse::body(404, errorEnvelopeJson("missing")));
    EXPECT_EQ(caseText(call()), "http 500 服务繁忙");
    EXPECT_EQ(caseText(call()), "http 201");
    EXPECT_EQ(caseText(call()), "http 503");
    EXPECT_EQ(caseText(call()), "http 400");
    const api::AnalysisOutcome missing = call();
    EXPECT_EQ(caseText(missing), "http 404");
    EXPECT_EQ(outcomeText(missing), "That didn't work — try again");
}

TEST_F(Analyze, QuotaAnswerIgnoresItsMessageAndIsNotWaitedOut)
{
    answer(ScriptedResponse::body(429, errorEnvelopeJson("quota", "今日额度已用完")));
    EXPECT_EQ(caseText(call()), "quota");

    // The head alone decides: a body that never comes is not waited for.
    api::timeouts().plain = 5s;
    answer(
        ScriptedResponse::body(429, errorEnvelopeJson("quota")).endWith(ScriptedResponse::Ending::Stall, 0));
    EXPECT_EQ(caseText(call()), "quota");
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST_F(Analyze, BodyOverSixteenMebibytesIsNotDecoded)
{
    constexpr qsizetype kOver = 16 * 1024 * 1024 + 1024;
    answer(ScriptedResponse::body(200, paddedEnvelopeJson(kOver)));
    EXPECT_EQ(caseText(call()), "decode");

    QByteArray error = errorEnvelopeJson("big", "M");
    error.chop(1);
    error += R"(,"padding":")" + QByteArray(kOver, 'x') + "\"}";
    answer(ScriptedResponse::body(500, error));
    EXPECT_EQ(caseText(call()), "http 500") << "no service message from an oversized body";

    // Just under the bound is still read.
    answer(ScriptedResponse::body(200, paddedEnvelopeJson(16 * 1024 * 1024 - 64)));
    EXPECT_TRUE(call().ok());
}

TEST_F(Analyze, IdleTimeOutReadsAsTimedOutInTheInterfaceLanguage)
{
    api::timeouts().plain = 700ms;
    answer(ScriptedResponse::silence());
    EXPECT_EQ(caseText(call()), "transport: The request timed out.");
    EXPECT_GE(clock.elapsed(), 600);
    EXPECT_LT(clock.elapsed(), 3000);

    // A stall in the middle of the body counts the same.
    settings.store.setValue(QStringLiteral("app_lang"), QStringLiteral("zh"));
    answer(ScriptedResponse::body(200, envelopeJson())
               .then(0ms, "more")
               .endWith(ScriptedResponse::Ending::Stall, 1));
    EXPECT_EQ(caseText(call()), "transport: 请求超时");
}

TEST_F(Analyze, BrokenConnectionIsTransportFailureInThePlatformsWords)
{
    // Half the body, then the connection breaks where the rest was due.
    const QByteArray json = envelopeJson();
    const auto broken = [&](ScriptedResponse::Ending how) {
        return ScriptedResponse::body(200, json.left(50)).then(150ms, json.mid(50)).endWith(how, 1);
    };
    answer(broken(ScriptedResponse::Ending::Reset));
    answer(broken(ScriptedResponse::Ending::Close));
    EXPECT_EQ(caseText(call()), "transport: Connection closed");
    EXPECT_EQ(caseText(call()), "transport: Connection closed");
    EXPECT_EQ(server.requests(kPath.toByteArray()).size(), 2) << "a broken upload is not sent again";
}

TEST_F(Analyze, RefusedConnectionIsTransportFailure)
{
    QTcpServer unused;
    ASSERT_TRUE(unused.listen(QHostAddress::LocalHost, 0));
    const quint16 port = unused.serverPort();
    unused.close();
    settings.store.setValue(QStringLiteral("api_base"), QStringLiteral("http://127.0.0.1:%1").arg(port));
    EXPECT_EQ(caseText(call()), "transport: Connection refused");
}

TEST_F(Analyze, BytesThatAreNotHttpGiveNoEnvelope)
{
    // Qt tries a connection that answers garbage once more, then gives up
    // in its own words.
    server.setFallback(ScriptedResponse::garbage("SSH-2.0-OpenSSH_9.2\r\n\r\n"));
    EXPECT_EQ(caseText(call()), "transport: Connection closed");
}

} // namespace
