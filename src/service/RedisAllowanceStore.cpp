// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/RedisAllowanceStore.h"

#include "core/Log.h"

#include <QDateTime>

#include <hiredis/hiredis.h>

namespace tavolen::service {

namespace {

using namespace std::chrono_literals;

constexpr timeval kConnectTimeout{0, 500'000};
constexpr timeval kCommandTimeout{1, 0};
constexpr auto kRetryPause = 5s;

// Counts, and gives back what went over: INCR never loses a concurrent
// upload, and the key outlives its day by a day whatever the time zone.
constexpr auto kTake = R"lua(
local n = redis.call('INCR', KEYS[1])
if n == 1 then redis.call('EXPIREAT', KEYS[1], ARGV[2]) end
if n > tonumber(ARGV[1]) then
  redis.call('DECR', KEYS[1])
  return 0
end
return 1
)lua";
// Never below zero: a give-back for a key that has expired changes nothing.
constexpr auto kGiveBack = R"lua(
local n = tonumber(redis.call('GET', KEYS[1]) or '0')
if n > 0 then redis.call('DECR', KEYS[1]) end
return 0
)lua";

struct ReplyFree {
    void operator()(redisReply *r) const { freeReplyObject(r); }
};
using Reply = std::unique_ptr<redisReply, ReplyFree>;

QByteArray keyFor(const QString &device, QDate day)
{
    return "tavolen:allowance:" + day.toString(Qt::ISODate).toLatin1() + ':' + device.toUtf8();
}

QByteArray expiryFor(QDate day)
{
    return QByteArray::number(QDateTime(day.addDays(2), QTime(0, 0), Qt::UTC).toSecsSinceEpoch());
}

} // namespace

std::optional<RedisAddress> RedisAddress::parse(const QString &text, QString &error)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QLatin1String("redis") || url.host().isEmpty()) {
        error = QStringLiteral("expected redis://[:password@]host[:port][/database]");
        return std::nullopt;
    }
    RedisAddress a;
    a.host = url.host();
    a.port = url.port(6379);
    a.password = url.password();
    const QString path = url.path().mid(1);
    if (!path.isEmpty()) {
        bool ok = false;
        a.database = path.toInt(&ok);
        if (!ok || a.database < 0) {
            error = QStringLiteral("the database after the address must be a number");
            return std::nullopt;
        }
    }
    return a;
}

void RedisAllowanceStore::ContextFree::operator()(redisContext *c) const
{
    redisFree(c);
}

RedisAllowanceStore::RedisAllowanceStore(RedisAddress address) : m_address(std::move(address))
{}

RedisAllowanceStore::~RedisAllowanceStore() = default;

redisContext *RedisAllowanceStore::connection()
{
    if (m_context)
        return m_context.get();
    if (m_retryAt && Clock::now() < *m_retryAt)
        return nullptr;
    m_context.reset(
        redisConnectWithTimeout(m_address.host.toUtf8().constData(), m_address.port, kConnectTimeout));
    if (!m_context || m_context->err) {
        failed("cannot connect");
        return nullptr;
    }
    redisSetTimeout(m_context.get(), kCommandTimeout);
    const auto ok = [this](Reply reply) {
        return reply && reply->type != REDIS_REPLY_ERROR && !m_context->err;
    };
    if (!m_address.password.isEmpty() &&
        !ok(Reply(static_cast<redisReply *>(
            redisCommand(m_context.get(), "AUTH %s", m_address.password.toUtf8().constData()))))) {
        failed("refused the password");
        return nullptr;
    }
    if (m_address.database != 0 && !ok(Reply(static_cast<redisReply *>(
                                       redisCommand(m_context.get(), "SELECT %d", m_address.database))))) {
        failed("refused the database");
        return nullptr;
    }
    return m_context.get();
}

void RedisAllowanceStore::failed(const char *what)
{
    m_context.reset();
    const Clock::time_point now = Clock::now();
    m_retryAt = now + kRetryPause;
    if (!m_lastWarning || now - *m_lastWarning > 1min) {
        m_lastWarning = now;
        qCWarning(lcService).noquote() << "the allowance store at" << m_address.host << m_address.port << what
                                       << "- analyses are let through uncounted until it answers";
    }
}

bool RedisAllowanceStore::take(const QString &device, QDate day, int limit)
{
    const std::lock_guard lock(m_mutex);
    const QByteArray key = keyFor(device, day);
    const auto uncounted = [&] {
        // Only what is still running matters; a flood of ids must not grow it.
        if (m_uncounted.size() > 10000)
            m_uncounted.clear();
        ++m_uncounted[key];
        return true;
    };
    redisContext *c = connection();
    if (!c)
        return uncounted();
    const QByteArray max = QByteArray::number(limit);
    const QByteArray expiry = expiryFor(day);
    Reply reply(static_cast<redisReply *>(
        redisCommand(c, "EVAL %s 1 %b %b %b", kTake, key.constData(), size_t(key.size()), max.constData(),
                     size_t(max.size()), expiry.constData(), size_t(expiry.size()))));
    if (!reply || c->err || reply->type != REDIS_REPLY_INTEGER) {
        failed("did not answer");
        return uncounted();
    }
    m_retryAt.reset();
    return reply->integer == 1;
}

void RedisAllowanceStore::giveBack(const QString &device, QDate day)
{
    const std::lock_guard lock(m_mutex);
    const QByteArray key = keyFor(device, day);
    if (const auto it = m_uncounted.find(key); it != m_uncounted.end()) {
        if (--*it == 0)
            m_uncounted.erase(it);
        return;
    }
    redisContext *c = connection();
    if (!c)
        return;
    Reply reply(static_cast<redisReply *>(
        redisCommand(c, "EVAL %s 1 %b", kGiveBack, key.constData(), size_t(key.size()))));
    if (!reply || c->err || reply->type == REDIS_REPLY_ERROR)
        failed("did not answer");
}

bool RedisAllowanceStore::reachable() const
{
    const std::lock_guard lock(m_mutex);
    // A failure drops the connection; one that is kept has answered.
    return m_context != nullptr;
}

} // namespace tavolen::service
