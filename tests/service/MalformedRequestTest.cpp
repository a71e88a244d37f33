// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RunningService.h"

#include "protocol/Decoding.h"
#include "service/OfflineEngine.h"
#include "support/ServiceAnswers.h"

#include <QElapsedTimer>
#include <QTcpSocket>

#include <gtest/gtest.h>

using namespace tavolen;
using namespace tavolen::test;

namespace {

const QByteArray kMeta = R"({"ui_language":"en","user_style":"natural","regenerate":false})";

// Requests the app never sends, written byte by byte.
class MalformedRequests : public ::testing::Test {
protected:
    MalformedRequests() : service(config(), engine, extractor) {}
    static service::ServiceConfig config()
    {
        service::ServiceConfig c;
        c.readTimeoutSeconds = 1;
        c.uploadTimeoutSeconds = 2;
        return c;
    }
    std::pair<int, QString> refusal(const QByteArray &request)
    {
        return test::refusal(service.port(), request);
    }
    static QByteArray form(const QList<std::pair<QByteArray, QByteArray>> &parts)
    {
        return formUpload(kPlain, parts);
    }

    FakeExtractor extractor;
    service::OfflineEngine engine;
    RunningService service;
};

TEST_F(MalformedRequests, EveryRequestTheProtocolForbidsIsRefusedWithTheErrorEnvelopeAndA4xx)
{
    QByteArray manyHeaders = "GET /v1/health HTTP/1.1\r\nHost: x\r\n";
    for (int i = 0; i < 10000; ++i)
        manyHeaders += "X-H" + QByteArray::number(i) + ": v\r\n";
    const QByteArray body = multipartBody("B", {{"meta", kMeta}, {"image", kJpeg}});
    QByteArray lengthTwice = form({{"meta", kMeta}, {"image", kJpeg}});
    lengthTwice.replace("Content-Length:",
                        "Content-Length: " + QByteArray::number(body.size()) + "\r\nContent-Length:");
    using Row = std::pair<QByteArray, std::pair<int, QString>>;
    const Row rows[] = {
        {form({{"image", kJpeg}}), {400, "bad_request"}},
        {form({{"meta", kMeta}}), {400, "bad_request"}},
        {form({{"meta", "not json"}, {"image", kJpeg}}), {400, "bad_request"}},
        {form({{"meta", "[1,2]"}, {"image", kJpeg}}), {400, "bad_request"}},
        {form({{"meta", R"({"ui_language":5})"}, {"image", kJpeg}}), {400, "bad_request"}},
        {form({{"meta", kMeta}, {"image", ""}}), {400, "bad_request"}},
        {form({{"meta", kMeta}, {"image", kJpeg}, {"image", kJpeg}}), {400, "bad_request"}},
        {form({{"meta", kMeta}, {"meta", kMeta}, {"image", kJpeg}}), {400, "bad_request"}},
        {form({{"meta", kMeta}, {"image", "\x89PNG\r\n\x1a\n"}}), {415, "unsupported_image"}},
        {uploadRequest(kPlain, "multipart/form-data; boundary=B", "--B\r\nno end"), {400, "bad_request"}},
        {uploadRequest(kPlain, "multipart/form-data", multipartBody("B", {{"meta", kMeta}})),
         {400, "bad_request"}},
        {uploadRequest(kPlain, "application/json", kMeta), {400, "bad_request"}},
        {uploadRequest(kPlain, "multipart/form-data; boundary=B", body, "wrong"), {401, "unauthorized"}},
        {"GET /v1/nothing HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n", {404, "not_found"}},
        {"BREW /v1/analyze-screenshot HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n",
         {400, "bad_request"}},
        {manyHeaders + "\r\n", {431, "bad_request"}},
        {"POST /v1/analyze-screenshot HTTP/1.1\r\nHost: x\r\nContent-Length: -5\r\n\r\n",
         {400, "bad_request"}},
        {lengthTwice, {400, "bad_request"}},
    };
    for (const auto &[request, expected] : rows)
        EXPECT_EQ(refusal(request), expected) << request.left(300).toStdString();
    EXPECT_EQ(extractor.calls, 0) << "nothing refused was read";

    // A path that exists, with a method it does not take, says which it does.
    for (const auto &[request, allow] :
         {std::pair{QByteArray("GET /v1/analyze-screenshot HTTP/1.1\r\nHost: x\r\n\r\n"),
                    QByteArray("allow: post")},
          std::pair{QByteArray("DELETE /v1/health HTTP/1.1\r\nHost: x\r\n\r\n"), QByteArray("allow: get")}}) {
        EXPECT_EQ(refusal(request), (std::pair<int, QString>{405, "method_not_allowed"}));
        EXPECT_TRUE(rawExchange(service.port(), request).head.toLower().contains(allow))
            << allow.toStdString();
    }
}

TEST_F(MalformedRequests, AMetaPartIsReadUpTo64KiBAndNoFurther)
{
    // Valid JSON of exactly `size` bytes: the language and a padding string.
    const auto metaOf = [](qsizetype size) {
        const QByteArray head = R"({"ui_language":"en","padding":")";
        return head + QByteArray(size - head.size() - 2, 'x') + "\"}";
    };
    const QByteArray largest = metaOf(64 * 1024);
    ASSERT_EQ(largest.size(), 64 * 1024);
    EXPECT_EQ(rawExchange(service.port(), form({{"meta", largest}, {"image", kJpeg}})).status, 200);
    EXPECT_EQ(refusal(form({{"meta", metaOf(64 * 1024 + 1)}, {"image", kJpeg}})),
              (std::pair<int, QString>{413, "payload_too_large"}));
    EXPECT_EQ(extractor.calls, 1) << "only the upload within bounds was read";
}

TEST_F(MalformedRequests, AnUploadThatStallsOrTricklesIsCutOffInBoundedTime)
{
    const QByteArray body = multipartBody("B", {{"meta", kMeta}, {"image", kJpeg + QByteArray(4000, 'x')}});
    const QByteArray full = uploadRequest(kPlain, "multipart/form-data; boundary=B", body);
    const qsizetype headEnd = full.indexOf("\r\n\r\n") + 4;

    // Silent after half the body: the read time-out (1 s) ends it.
    QElapsedTimer clock;
    clock.start();
    const RawAnswer stalled = rawExchange(service.port(), full.left(headEnd + body.size() / 2), 4000);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_NE(stalled.status, 200);

    // Never silent for long, but slower than the whole upload may take (2 s).
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(service.port()));
    ASSERT_TRUE(socket.waitForConnected(1000));
    clock.restart();
    QByteArray answer;
    for (qsizetype at = 0; at < full.size() && clock.elapsed() < 6000 && answer.isEmpty(); at += 128) {
        socket.write(full.mid(at, 128));
        socket.waitForBytesWritten(100);
        socket.waitForReadyRead(300);
        answer += socket.readAll();
    }
    socket.waitForReadyRead(1000);
    answer += socket.readAll();
    EXPECT_LT(clock.elapsed(), 4500);
    EXPECT_TRUE(answer.startsWith("HTTP/1.1 408")) << answer.left(200).toStdString();
}

TEST_F(MalformedRequests, AChunkedOrCompressedUploadIsRefusedUnread)
{
    // Neither has a length the size limit could go by; the answer comes
    // before the (here endless) body is sent.
    const QByteArray head =
        "POST /v1/analyze-screenshot HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Bearer " +
        QByteArray(protocol::kApiToken) + "\r\nContent-Type: multipart/form-data; boundary=B\r\n";
    for (const QByteArray &framing :
         {QByteArray("Transfer-Encoding: chunked\r\n\r\n1000\r\n"),
          QByteArray("Content-Encoding: gzip\r\nContent-Length: 9000000\r\n\r\n\x1f\x8b")}) {
        QElapsedTimer clock;
        clock.start();
        const RawAnswer answer = rawExchange(service.port(), head + framing, 3000);
        EXPECT_EQ(answer.status, 400) << framing.toStdString();
        EXPECT_LT(clock.elapsed(), 900) << "answered without waiting for a body";
    }
}

TEST_F(MalformedRequests, TheHealthCheckNeedsNoTokenAndAnswersThatSucceedCloseTheConnectionSayingSoOnce)
{
    const RawAnswer health =
        rawExchange(service.port(), "GET /v1/health HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(health.status, 200);
    EXPECT_EQ(health.body,
              R"({"status":"ok","engine":"offline","model":null,"base_url":null,"replies":false})");
    const RawAnswer stream =
        rawExchange(service.port(), formUpload(kStream, {{"meta", kMeta}, {"image", kJpeg}}));
    EXPECT_EQ(stream.status, 200);
    EXPECT_TRUE(stream.body.contains("event: result")) << stream.body.toStdString();
    for (const RawAnswer &answer : {health, stream})
        EXPECT_EQ(answer.head.toLower().count("\r\nconnection:"), 1) << answer.head.toStdString();
}

} // namespace
