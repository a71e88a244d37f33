// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RunningService.h"

#include "protocol/Decoding.h"
#include "service/OfflineEngine.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace tavolen;
using namespace tavolen::test;
using namespace std::chrono_literals;

namespace {

const QByteArray kHealth = "GET /v1/health HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";

// A plain blocking socket to the service, closed when it goes.
class Connection {
public:
    explicit Connection(int port)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(quint16(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected = ::connect(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    }
    ~Connection() { ::close(m_fd); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool send(const QByteArray &bytes)
    {
        return ::send(m_fd, bytes.constData(), std::size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
    }
    // Whether the service closed the connection within `timeout`; what it
    // sent before is kept in `received`.
    bool closedWithin(std::chrono::milliseconds timeout)
    {
        timeval tv{0, 20 * 1000};
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        QElapsedTimer clock;
        clock.start();
        char buffer[4096];
        while (clock.elapsed() < timeout.count()) {
            const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK))
                return true;
            if (n > 0)
                received.append(buffer, n);
        }
        return false;
    }
    int fd() const { return m_fd; }

    bool connected = false;
    QByteArray received;

private:
    int m_fd = -1;
};

// Holds every reading until the test lets go, or until it is cancelled.
struct HeldEngine {
    std::atomic<int> entered{0};
    std::atomic<int> cancelled{0};
    std::atomic<bool> release{false};
    ScriptedEngine engine{[this](auto &, auto &, auto &cancel) -> service::EngineOutcome {
        ++entered;
        while (!release && !cancel)
            std::this_thread::sleep_for(5ms);
        if (cancel)
            ++cancelled;
        return service::EngineFailure{QStringLiteral("cancelled"), std::nullopt, QString()};
    }};
};

// The service with the offline engine reading a fixed text, or with an
// engine of the test's choosing.
class SlowClients : public ::testing::Test {
protected:
    SlowClients()
    {
        extractor.result = service::ExtractedText{QStringLiteral("Hello there"), QStringLiteral("en")};
    }
    void start(service::ServiceConfig config, service::Engine *engine = nullptr)
    {
        running = std::make_unique<RunningService>(config, engine ? *engine : offline, extractor);
        ASSERT_TRUE(running->bindError.isEmpty());
    }
    // How long the health check took to answer, or -1 when it did not.
    qint64 healthMs()
    {
        QElapsedTimer clock;
        clock.start();
        const RawAnswer answer = rawExchange(running->port(), kHealth, 5000);
        return answer.status == 200 ? clock.elapsed() : -1;
    }
    std::pair<int, QString> refusal(const QByteArray &request)
    {
        return test::refusal(running->port(), request);
    }

    FakeExtractor extractor;
    service::OfflineEngine offline;
    HeldEngine held;
    std::unique_ptr<RunningService> running;
};

TEST_F(SlowClients, HealthAndUploadsAreServedWhileIdleAndTricklingConnectionsStayOpen)
{
    start({});
    std::vector<std::unique_ptr<Connection>> idle;
    for (int i = 0; i < 200; ++i)
        idle.push_back(std::make_unique<Connection>(running->port()));
    std::vector<std::unique_ptr<Connection>> trickling;
    for (int i = 0; i < 8; ++i)
        trickling.push_back(std::make_unique<Connection>(running->port()));
    // One byte of a request head a second on each, as the slowest clients do.
    std::atomic<int> sent{0};
    // Stopped and joined however the test ends.
    std::jthread trickle([&](std::stop_token stop) {
        const QByteArray head = "GET /v1/health HTTP/1.1\r\nHost: x\r\nX-Slow: ";
        for (int i = 0; !stop.stop_requested() && i < head.size(); ++i) {
            for (auto &c : trickling)
                c->send(head.mid(i, 1));
            ++sent;
            for (int t = 0; t < 100 && !stop.stop_requested(); ++t)
                std::this_thread::sleep_for(10ms);
        }
    });

    qint64 slowest = 0;
    for (int round = 1; round <= 4; ++round) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return sent >= round; }, 5000));
        const qint64 ms = healthMs();
        ASSERT_GE(ms, 0) << "no health answer in round " << round;
        slowest = std::max(slowest, ms);
    }
    EXPECT_LT(slowest, 1000) << "the slowest health answer took " << slowest << " ms";

    const RawAnswer reading = rawExchange(running->port(), jpegUpload());
    EXPECT_EQ(reading.status, 200) << reading.body.toStdString();
    EXPECT_TRUE(protocol::decodeAnalyzeEnvelope(reading.body));
}

TEST_F(SlowClients, AHeadStillArrivingAtItsDeadlineIsClosedThoughBytesKeepComing)
{
    service::ServiceConfig config;
    config.headTimeout = 400ms;
    start(config);
    Connection c(running->port());
    ASSERT_TRUE(c.send("GET /v1/health HTTP/1.1\r\nHost: x\r\nX-Slow: "));
    QElapsedTimer clock;
    clock.start();
    bool closed = false;
    // A byte every 50 ms: never silent for long, never done.
    while (!closed && clock.elapsed() < 5000) {
        closed = !c.send("a") || c.closedWithin(50ms);
    }
    EXPECT_TRUE(closed);
    EXPECT_LT(clock.elapsed(), 3000) << "held for " << clock.elapsed() << " ms";
    EXPECT_TRUE(c.received.isEmpty()) << "nothing is answered to a head never finished";
    EXPECT_GE(healthMs(), 0);
}

TEST_F(SlowClients, AHugeHeaderLineIsCutOffAfterTheHeaderLimitWithoutHoldingItsBytes)
{
    start({});
    Connection c(running->port());
    // The kernel's buffers count towards what is accepted: keep the test's
    // own small, so that the count measures what the service took in.
    const int sendBuffer = 64 * 1024;
    ::setsockopt(c.fd(), SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer);
    timeval tv{2, 0};
    ::setsockopt(c.fd(), SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
    const long peakBefore = peakResidentKiB();

    std::int64_t accepted = 0;
    const QByteArray line(64 * 1024, 'a');
    const std::int64_t total = 64 * 1024 * 1024;
    bool cutOff = !c.send("GET /v1/health HTTP/1.1\r\nHost: x\r\nX-Big: ");
    while (!cutOff && accepted < total) {
        const ssize_t n = ::send(c.fd(), line.constData(), std::size_t(line.size()), MSG_NOSIGNAL);
        if (n <= 0)
            cutOff = true;
        else
            accepted += n;
    }
    EXPECT_TRUE(cutOff);
    EXPECT_LT(accepted, 1024 * 1024) << accepted << " bytes accepted";
    EXPECT_LT(peakResidentKiB() - peakBefore, 16 * 1024)
        << "peak resident size grew by " << (peakResidentKiB() - peakBefore) << " KiB";
    EXPECT_GE(healthMs(), 0);
}

TEST_F(SlowClients, UploadsBeyondTheLimitAreRefusedAtOnceWhileHealthStillAnswers)
{
    service::ServiceConfig config;
    config.maxRequests = 2;
    start(config, &held.engine);
    const QByteArray request = jpegUpload();
    Connection first(running->port());
    Connection second(running->port());
    ASSERT_TRUE(first.send(request) && second.send(request));
    ASSERT_TRUE(QTest::qWaitFor([&] { return held.entered == 2; }, 5000));

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(refusal(request), (std::pair<int, QString>{503, "busy"}));
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_GE(healthMs(), 0);
    held.release = true;
}

TEST_F(SlowClients, ConnectionsThatHaveNotSentAHeadGiveWayOldestFirst)
{
    service::ServiceConfig config;
    config.maxWaitingConnections = 4;
    start(config);
    std::vector<std::unique_ptr<Connection>> idle;
    for (int i = 0; i < 4; ++i)
        idle.push_back(std::make_unique<Connection>(running->port()));
    EXPECT_GE(healthMs(), 0) << "a newcomer is let in";
    EXPECT_TRUE(idle.front()->closedWithin(3s)) << "the oldest idle connection made room";
    EXPECT_FALSE(idle.back()->closedWithin(100ms));
}

TEST_F(SlowClients, APlainReadingStopsWhenTheClientHangsUpOrItsBudgetRunsOut)
{
    service::ServiceConfig config;
    config.plainReadingBudget = 600ms;
    start(config, &held.engine);
    const QByteArray request = jpegUpload();

    {
        Connection leaving(running->port());
        ASSERT_TRUE(leaving.send(request));
        ASSERT_TRUE(QTest::qWaitFor([&] { return held.entered == 1; }, 5000));
    }
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return held.cancelled == 1; }, 5000));
    EXPECT_LT(clock.elapsed(), 2000) << "the reading went on " << clock.elapsed() << " ms for nobody";
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return running->log().join('\n').contains(QStringLiteral("error=client_gone")); }, 2000));

    clock.restart();
    EXPECT_EQ(refusal(request), (std::pair<int, QString>{504, "reading_timeout"}));
    EXPECT_EQ(held.cancelled, 2) << "the engine was told to stop";
    EXPECT_LT(clock.elapsed(), 3000);
}

} // namespace
