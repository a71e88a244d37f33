// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/Api.h"
#include "api/Network.h"
#include "api/Upload.h"
#include "protocol/Decoding.h"
#include "support/EventLoopWatch.h"
#include "support/ServiceTest.h"

#include <QTcpServer>
#include <QTcpSocket>

using namespace tavolen;
using namespace tavolen::test;
using namespace std::chrono_literals;
using Ending = ScriptedResponse::Ending;

namespace {

const QByteArray kJpeg("\xFF\xD8\xFF\xE0 not really a jpeg \xFF\xD9", 25);

enum class Call { Plain, Stream };

// Both analysis calls against the scripted service.
class AnalysisCalls : public ServiceTest {
protected:
    api::AnalysisOutcome call(Call which)
    {
        received.clear();
        if (which == Call::Plain)
            return run(api::analyze(context(), kJpeg, QStringLiteral("en")));
        return run(api::analyzeStream(context(), kJpeg, QStringLiteral("en"),
                                      [this](const protocol::StreamPartial &p) { received.append(p); }));
    }
    void answer(Call which, ScriptedResponse r) { server.script(which == Call::Plain ? kPlain : kStream, r); }

    QList<protocol::StreamPartial> received;
};

TEST_F(AnalysisCalls, EveryRowOfBothFailureTables)
{
    timeouts = {{700ms, 30s}, {700ms, 30s}};
    const QByteArray json = envelopeJson();
    QByteArray badResult = eventLines("result", json);
    badResult.replace(R"("latency_ms":812)", R"("latency_ms":"812")");
    ScriptedResponse quotaStream = ScriptedResponse::stream({fieldLines("summary", "never shown")});
    quotaStream.status = 429;
    const auto brokenBody = [&](Ending how) {
        return ScriptedResponse::body(200, json.left(50)).then(150ms, json.mid(50)).endWith(how, 1);
    };
    const auto brokenStream = [](Ending how) {
        return ScriptedResponse::stream({fieldLines("summary", "S"), fieldLines("summary", "lost")}, 100ms)
            .endWith(how, 1);
    };
    const struct {
        const char *what;
        Call call;
        ScriptedResponse answer;
        std::string outcome;
        int partials = 0;
        bool zh = false;
    } rows[] = {
        {"html 200", Call::Plain, ScriptedResponse::body(200, "<html><body>Bad gateway</body></html>"),
         "decode"},
        {"error envelope", Call::Plain, ScriptedResponse::body(500, errorEnvelopeJson("boom", "服务繁忙")),
         "http 500 服务繁忙"},
        {"success envelope, not 200", Call::Plain, ScriptedResponse::body(201, json), "http 201"},
        {"text body", Call::Plain, ScriptedResponse::body(503, "Unavailable", "text/plain"), "http 503"},
        {"error without code", Call::Plain, ScriptedResponse::body(400, R"({"error":{"message_zh":"x"}})"),
         "http 400"},
        {"quota, message ignored", Call::Plain, ScriptedResponse::body(429, errorEnvelopeJson("q", "已用完")),
         "quota"},
        {"quota, body never comes", Call::Plain,
         ScriptedResponse::body(429, errorEnvelopeJson("q")).endWith(Ending::Stall, 0), "quota"},
        {"silence", Call::Plain, ScriptedResponse::silence(), "transport: idle time-out", 0, true},
        {"stall mid-body", Call::Plain,
         ScriptedResponse::body(200, json).then(0ms, "more").endWith(Ending::Stall, 1),
         "transport: idle time-out"},
        {"reset mid-body", Call::Plain, brokenBody(Ending::Reset), "transport: closed"},
        {"close mid-body", Call::Plain, brokenBody(Ending::Close), "transport: closed"},

        {"quota before any line, body never ends", Call::Stream, quotaStream.endWith(Ending::Stall), "quota"},
        {"other status, message ignored", Call::Stream,
         ScriptedResponse::body(500, errorEnvelopeJson("busy", "服务繁忙")), "http 500"},
        {"result, but not 200", Call::Stream,
         ScriptedResponse::body(201, eventLines("result", json), "text/event-stream"), "http 201"},
        {"error event with message", Call::Stream,
         ScriptedResponse::stream(
             {fieldLines("summary", "S"), eventLines("error", R"({"code":"b","message_zh":"忙"})")}),
         "http 503 忙", 1},
        {"error event without message", Call::Stream,
         ScriptedResponse::stream({eventLines("error", "<html>")}), "http 503"},
        {"ends without result", Call::Stream,
         ScriptedResponse::stream({fieldLines("summary", "S"), fieldLines("risk_level", "high")}, 10ms),
         "decode", 2},
        {"undecodable result ends the call", Call::Stream,
         ScriptedResponse::stream({badResult, eventLines("result", json)}), "decode"},
        {"stall after partials", Call::Stream,
         ScriptedResponse::stream({fieldLines("summary", "S"), fieldLines("tone_label", "T")}, 10ms)
             .endWith(Ending::Stall),
         "transport: idle time-out", 2},
        {"silence", Call::Stream, ScriptedResponse::silence(), "transport: idle time-out", 0, true},
        {"reset while reading", Call::Stream, brokenStream(Ending::Reset), "transport: closed", 1},
        {"close while reading", Call::Stream, brokenStream(Ending::Close), "transport: closed", 1},
    };
    for (const auto &row : rows) {
        settings.setAppLang(row.zh ? "zh" : "en");
        answer(row.call, row.answer);
        EXPECT_EQ(caseText(call(row.call)), row.outcome) << row.what;
        EXPECT_EQ(received.size(), row.partials) << row.what << ": delivered partials stay delivered";
        EXPECT_LT(clock.elapsed(), 3000) << row.what;
    }
    EXPECT_EQ(server.requests().size(), qsizetype(std::size(rows))) << "a failed upload is not sent again";
}

TEST_F(AnalysisCalls, NoHttpAnswerIsATransportFailureOfItsKindForBothCalls)
{
    for (const Call which : {Call::Plain, Call::Stream}) {
        useService(refusingBaseUrl());
        EXPECT_EQ(caseText(call(which)), "transport: refused");
    }
    // A service that speaks plain HTTP where TLS was asked for: the
    // handshake fails. (A name that cannot resolve is not tried: without a
    // resolver on the machine the lookup only times out.)
    QTcpServer plainHttp;
    ASSERT_TRUE(plainHttp.listen(QHostAddress::LocalHost));
    QObject::connect(&plainHttp, &QTcpServer::newConnection, &plainHttp, [&plainHttp] {
        while (QTcpSocket *socket = plainHttp.nextPendingConnection()) {
            socket->write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
            socket->disconnectFromHost();
        }
    });
    useService(QStringLiteral("https://127.0.0.1:%1").arg(plainHttp.serverPort()));
    for (const Call which : {Call::Plain, Call::Stream})
        EXPECT_EQ(caseText(call(which)), "transport: tls");
    // A service that hangs up without answering, or answers in another
    // protocol, gets the upload once: the HTTP layer may not send it again.
    useService(server.baseUrl());
    for (const QByteArray &answer : {QByteArray(), QByteArray("SSH-2.0-OpenSSH_9.2\r\n\r\n")}) {
        server.setFallback(ScriptedResponse::garbage(answer));
        EXPECT_EQ(caseText(call(Call::Plain)), "transport: closed");
        EXPECT_EQ(caseText(call(Call::Stream)), "transport: closed");
    }
    EXPECT_EQ(server.requests(kPlain).size(), 2);
    EXPECT_EQ(server.requests(kStream).size(), 2);
}

TEST_F(AnalysisCalls, AnswersInSlowPiecesAndLinesSplitAnywhereAreReassembled)
{
    // Each pause is shorter than the idle limit, the whole answer longer:
    // the limit is on silence, not on the exchange.
    timeouts = {{600ms, 30s}, {600ms, 30s}};
    const QByteArray json = envelopeJson();
    ScriptedResponse plain = ScriptedResponse::body(200, {});
    plain.pieces.clear();
    plain.framing = ScriptedResponse::Framing::Chunked;
    for (qsizetype at = 0; at < json.size(); at += json.size() / 4 + 1)
        plain.then(350ms, json.mid(at, json.size() / 4 + 1));
    answer(Call::Plain, plain);
    const api::AnalysisOutcome outcome = call(Call::Plain);
    ASSERT_TRUE(outcome.ok()) << caseText(outcome);
    EXPECT_EQ(outcome.value(), *protocol::decodeAnalyzeEnvelope(json));
    EXPECT_GT(clock.elapsed(), 1000);

    // A CRLF split between arrivals, a CR-only line end, and a last line
    // without terminator, drained when the body ends.
    answer(Call::Stream, ScriptedResponse::stream({"event: fi", "eld\r",
                                                   "\ndata: " + fieldJson("tone_label", R"("Dry")") + "\r",
                                                   "data: " + fieldJson("summary", R"("one")") + "\n",
                                                   "event: result\rdata: " + json.left(40), json.mid(40)},
                                                  350ms));
    const api::AnalysisOutcome streamed = call(Call::Stream);
    ASSERT_TRUE(streamed.ok()) << caseText(streamed);
    EXPECT_EQ(streamed.value(), *protocol::decodeAnalyzeEnvelope(json));
    EXPECT_EQ(received, (QList{partial(std::nullopt, u"Dry"_qs), partial(u"one"_qs, u"Dry"_qs)}));
    EXPECT_GT(clock.elapsed(), 1500);
}

TEST_F(AnalysisCalls, LinesAfterTheResultAreNeverRead)
{
    // Two lines after the result share its arrival; more come later, by
    // when the client has hung up.
    answer(Call::Stream,
           ScriptedResponse::stream({fieldLines("summary", "S"),
                                     eventLines("result", envelopeJson()) + fieldLines("summary", "same"),
                                     fieldLines("summary", "later")},
                                    50ms)
               .then(300ms, fieldLines("summary", "much later")));
    const api::AnalysisOutcome outcome = call(Call::Stream);
    ASSERT_TRUE(outcome.ok()) << caseText(outcome);
    EXPECT_EQ(received, QList{partial(u"S"_qs)});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return server.requests()[0].fate != RecordedRequest::Fate::Answering; }));
    EXPECT_EQ(server.requests()[0].fate, RecordedRequest::Fate::ClientLeft) << "the connection was released";
    EXPECT_EQ(server.requests()[0].piecesSent, 2);
}

TEST_F(AnalysisCalls, AnswersLargerThanAReadingCanBeAreNotHeldOrDecoded)
{
    constexpr qsizetype kBound = 1024 * 1024;
    answer(Call::Plain, ScriptedResponse::body(200, paddedEnvelopeJson(kBound + 1)));
    EXPECT_EQ(caseText(call(Call::Plain)), "decode");
    answer(Call::Plain, ScriptedResponse::body(200, paddedEnvelopeJson(kBound)));
    EXPECT_TRUE(call(Call::Plain).ok()) << "an answer of exactly the bound is still read";
    const QByteArray error =
        errorEnvelopeJson("big", "M").chopped(1) + R"(,"padding":")" + QByteArray(kBound, 'x') + "\"}";
    answer(Call::Plain, ScriptedResponse::body(500, error));
    EXPECT_EQ(caseText(call(Call::Plain)), "http 500") << "no service message from an oversized body";

    // A body without end: what the service manages to send is what the
    // client takes in, so it must stop soon after the bound.
    answer(Call::Plain, ScriptedResponse::endless(QByteArray(64 * 1024, ' ')));
    EXPECT_EQ(caseText(call(Call::Plain)), "decode");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return server.requests(kPlain).back().fate == RecordedRequest::Fate::ClientLeft; }));
    EXPECT_LT(server.requests(kPlain).back().bytesSent, 6 * kBound);

    // Cheap to send, costly as a tree (a 15 MiB one took hundreds of
    // megabytes and seconds of the GUI thread): refused unread.
    QByteArray objects = "[{}";
    while (objects.size() < 15 * kBound)
        objects += ",{}";
    answer(Call::Plain, ScriptedResponse::body(200, objects + "]"));
    EventLoopWatch loop;
    EXPECT_EQ(caseText(call(Call::Plain)), "decode");
    EXPECT_LT(loop.longestStall(), 250ms) << "the GUI thread kept running";

    timeouts.stream.idle = 10s;
    answer(Call::Stream, ScriptedResponse::stream({"event: field\ndata: ", QByteArray(512 * 1024, 'x'),
                                                   QByteArray(512 * 1024, 'x'), "x"})
                             .endWith(Ending::Stall));
    EXPECT_EQ(caseText(call(Call::Stream)), "decode");
    EXPECT_LT(clock.elapsed(), 5000) << "the overlong line's end is not waited for";
    const QByteArray line = "data:" + paddedEnvelopeJson(kBound - 5);
    ASSERT_EQ(line.size(), kBound);
    answer(Call::Stream, ScriptedResponse::stream({"event: result\n" + line + "\n"}));
    EXPECT_TRUE(call(Call::Stream).ok()) << "a line of exactly the limit is read";
}

TEST_F(AnalysisCalls, AFastEndlessStreamIsReadNoFasterThanItIsHandledUntilTheDeadlineEndsIt)
{
    timeouts.stream = {10s, 2s};
    const QByteArray unit = fieldLines("summary", QByteArray(1000, 's'));
    ScriptedResponse endless = ScriptedResponse::endless(unit);
    endless.endlessFor = 8s;
    answer(Call::Stream, endless);

    EventLoopWatch loop;
    qint64 handled = 0;
    qint64 peakHeld = 0; // sent by the service, not yet handed to the handler
    int partials = 0;
    const api::AnalysisOutcome outcome =
        run(api::analyzeStream(context(), kJpeg, QStringLiteral("en"), [&](const protocol::StreamPartial &) {
            handled += unit.size();
            // A handler a little slower than loopback is fast.
            QElapsedTimer busy;
            for (busy.start(); busy.nsecsElapsed() < 20000;) {
            }
            if (++partials % 256 == 0)
                peakHeld = std::max(peakHeld, server.requests(kStream)[0].bytesSent - handled);
        }));
    EXPECT_EQ(caseText(outcome), "transport: deadline");
    EXPECT_GT(partials, 1000);
    EXPECT_LT(peakHeld, 16 * 1024 * 1024) << "bytes held between the socket and the handler";
    EXPECT_LT(clock.elapsed(), 4000);
    EXPECT_LT(loop.longestStall(), 250ms) << "the GUI thread kept running";
}

TEST_F(AnalysisCalls, ATrickleThatNeverEndsIsEndedByTheDeadline)
{
    timeouts = {{1s, 1500ms}, {1s, 1500ms}};
    for (const Call which : {Call::Plain, Call::Stream}) {
        answer(which, ScriptedResponse::endless("\n", 300ms));
        EXPECT_EQ(caseText(call(which)), "transport: deadline");
        EXPECT_GE(clock.elapsed(), 1400);
        EXPECT_LT(clock.elapsed(), 3000);
    }
}

TEST_F(AnalysisCalls, RedirectsAreFollowedWithinTheServiceOnlyAndTheUploadNeverLeavesIt)
{
    const auto redirect = [](int status, const QString &to) {
        return ScriptedResponse{
            status, {{"Location", to.toUtf8()}}, ScriptedResponse::Framing::ContentLength, {}};
    };
    const auto success = [](Call which) {
        return which == Call::Plain ? ScriptedResponse::body(200, envelopeJson())
                                    : ScriptedResponse::stream({eventLines("result", envelopeJson())});
    };
    ScriptedServer elsewhere;
    elsewhere.setFallback(ScriptedResponse::body(200, envelopeJson()));
    for (const Call which : {Call::Plain, Call::Stream}) {
        const QByteArray path = which == Call::Plain ? kPlain : kStream;
        for (const int status : {301, 302, 307, 308}) {
            answer(which, redirect(status, elsewhere.baseUrl() + QString::fromLatin1(path)));
            EXPECT_EQ(caseText(call(which)), "http " + std::to_string(status));
        }
        answer(which, redirect(303, QStringLiteral("/moved")));
        EXPECT_EQ(caseText(call(which)), "http 303") << "a see-other is not an upload's new home";

        answer(which, redirect(307, QStringLiteral("/moved")));
        server.script("/moved", success(which));
        EXPECT_EQ(caseText(call(which)), "ok") << "a redirect within the service is followed";
        const RecordedRequest moved = server.requests("/moved").back();
        EXPECT_EQ(moved.header("Authorization"), server.requests(path).back().header("Authorization"));
        EXPECT_EQ(moved.jpeg(), kJpeg) << "with the whole upload";

        const qsizetype before = server.requests(path).size();
        for (int i = 0; i <= api::kMaxRedirects; ++i)
            answer(which, redirect(308, QString::fromLatin1(path)));
        EXPECT_EQ(caseText(call(which)), "http 308") << "a loop ends";
        EXPECT_EQ(server.requests(path).size() - before, api::kMaxRedirects + 1);
    }
    EXPECT_TRUE(elsewhere.requests().isEmpty()) << "no token, device id or screenshot went elsewhere";
}

TEST_F(AnalysisCalls, TheWarmUpDropsWhatItIsSentAndGivesUpOnAnAnswerWithoutEnd)
{
    const QByteArray health = "/v1/health";
    server.script(health, ScriptedResponse::endless(QByteArray(64 * 1024, ' ')));
    server.script(health, ScriptedResponse::endless(" ", 300ms));
    for (int i = 0; i < 2; ++i) {
        api::warmUp(context());
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return server.requests(health).size() == i + 1 &&
                       server.requests(health)[i].fate != RecordedRequest::Fate::Answering;
            },
            7000));
        EXPECT_EQ(server.requests(health)[i].fate, RecordedRequest::Fate::ClientLeft);
    }
    EXPECT_LT(server.requests(health)[0].bytesSent, 4 * 1024 * 1024) << "a fast answer is cut off";
}

TEST_F(AnalysisCalls, StatusesWithoutABodyAndFailuresAfterA200AreReportedForWhatTheyAre)
{
    for (const Call which : {Call::Plain, Call::Stream}) {
        for (const int status : {204, 304}) {
            // Content-Length is announced, but these statuses never have a body.
            answer(which, ScriptedResponse::body(status, "0123456789").endWith(Ending::Complete, 0));
            EXPECT_EQ(caseText(call(which)), "http " + std::to_string(status));
        }
        ScriptedResponse broken = which == Call::Plain
                                      ? ScriptedResponse::body(200, "this is not gzip at all")
                                      : ScriptedResponse::stream({"this is not gzip at all"});
        broken.headers.append(std::pair<QByteArray, QByteArray>("Content-Encoding", "gzip"));
        answer(which, broken);
        const std::string outcome = caseText(call(which));
        EXPECT_TRUE(outcome.starts_with("transport: ")) << outcome;
    }
}

} // namespace
