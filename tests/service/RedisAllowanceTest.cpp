// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RunningService.h"

#include "service/OfflineEngine.h"
#include "service/RedisAllowanceStore.h"
#include "support/Scratch.h"

#include <QProcess>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace tavolen;
using namespace tavolen::test;

namespace {

// A redis-server of the test's own, with nothing written to disk.
class RedisServer {
public:
    RedisServer() : port(freePort())
    {
        m_process.start(QStringLiteral("redis-server"),
                        {QStringLiteral("--port"), QString::number(port), QStringLiteral("--bind"),
                         QStringLiteral("127.0.0.1"), QStringLiteral("--save"), QString(),
                         QStringLiteral("--appendonly"), QStringLiteral("no")});
        ready = QTest::qWaitFor([this] { return answers(); }, 10000);
    }
    ~RedisServer() { stop(); }
    void stop()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    // PING answered.
    bool answers() const
    {
        QTcpSocket s;
        s.connectToHost(QStringLiteral("127.0.0.1"), quint16(port));
        if (!s.waitForConnected(200))
            return false;
        s.write("PING\r\n");
        return s.waitForReadyRead(500) && s.readAll().startsWith("+PONG");
    }
    QString url() const { return QStringLiteral("redis://127.0.0.1:%1").arg(port); }

    const int port;
    bool ready = false;

private:
    QProcess m_process;
};

// One service instance whose allowance lives in Redis.
struct Instance {
    Instance(const QString &url, int allowance, service::Engine &engine, service::TextExtractor &extractor)
        : store(*service::RedisAddress::parse(url, error)),
          running(config(allowance), engine, extractor, &store)
    {}
    static service::ServiceConfig config(int allowance)
    {
        service::ServiceConfig c;
        c.dailyAllowance = allowance;
        return c;
    }
    // The status of one upload from the shared test device.
    int upload() const { return rawExchange(running.port(), jpegUpload(), 15000).status; }

    QString error;
    service::RedisAllowanceStore store;
    RunningService running;
};

} // namespace

TEST(RedisAllowance, TheAddressIsARedisUrl)
{
    QString error;
    const auto a = service::RedisAddress::parse(QStringLiteral("redis://:s3cret@cache.lan:6380/2"), error);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->host, "cache.lan");
    EXPECT_EQ(a->port, 6380);
    EXPECT_EQ(a->password, "s3cret");
    EXPECT_EQ(a->database, 2);
    EXPECT_EQ(service::RedisAddress::parse(QStringLiteral("redis://cache.lan"), error)->port, 6379);
    for (const char *bad : {"http://cache.lan", "redis://", "cache.lan:6379", "redis://cache.lan/x"})
        EXPECT_FALSE(service::RedisAddress::parse(QString::fromLatin1(bad), error)) << bad;
}

TEST(RedisAllowance, TwoServicesShareOneLimitExactlyUnderConcurrentUploadsAndFailuresAreGivenBack)
{
    RedisServer redis;
    ASSERT_TRUE(redis.ready) << "redis-server did not start";
    FakeExtractor extractor;
    extractor.result = service::ExtractedText{QStringLiteral("See you at the meeting tomorrow."), "en"};
    service::OfflineEngine engine;
    Instance a(redis.url(), 5, engine, extractor), b(redis.url(), 5, engine, extractor);
    ASSERT_TRUE(a.running.bindError.isEmpty() && b.running.bindError.isEmpty());

    std::vector<int> statuses(16);
    std::vector<std::thread> uploads;
    for (int i = 0; i < 16; ++i)
        uploads.emplace_back([&, i] { statuses[i] = (i % 2 ? a : b).upload(); });
    for (std::thread &t : uploads)
        t.join();
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), 200), 5);
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), 429), 11);
    EXPECT_TRUE(a.store.reachable());

    // What one instance gives back, the other can take; a picture that
    // gives no reading costs nothing.
    const QDate today = QDate::currentDate();
    b.store.giveBack(QStringLiteral("RAW"), today);
    extractor.result.reset();
    EXPECT_EQ(b.upload(), 422);
    // The failed analysis gives its count back as its request ends, which
    // may be a moment after the answer has left; a refused take takes nothing.
    EXPECT_TRUE(QTest::qWaitFor([&] { return a.store.take(QStringLiteral("RAW"), today, 5); }, 5000));
    EXPECT_FALSE(a.store.take(QStringLiteral("RAW"), today, 5));
}

TEST(RedisAllowance, WithRedisGoneUploadsAreStillAnsweredAndLetThroughUncounted)
{
    RedisServer redis;
    ASSERT_TRUE(redis.ready) << "redis-server did not start";
    FakeExtractor extractor;
    extractor.result = service::ExtractedText{QStringLiteral("See you at the meeting tomorrow."), "en"};
    service::OfflineEngine engine;
    Instance a(redis.url(), 1, engine, extractor);
    ASSERT_TRUE(a.running.bindError.isEmpty());
    EXPECT_EQ(a.upload(), 200);
    EXPECT_EQ(a.upload(), 429);

    redis.stop();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(a.upload(), 200) << "the service answers without its counter";
    EXPECT_FALSE(a.store.reachable());
    // One let through and then given back leaves nothing to take from Redis later.
    const QDate today = QDate::currentDate();
    EXPECT_TRUE(a.store.take(QStringLiteral("X"), today, 1));
    a.store.giveBack(QStringLiteral("X"), today);
}
