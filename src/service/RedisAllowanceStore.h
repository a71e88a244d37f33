// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/AllowanceStore.h"

#include <QHash>
#include <QUrl>

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>

struct redisContext;

namespace tavolen::service {

// Where a Redis server is, from "redis://[:password@]host[:port][/db]".
struct RedisAddress {
    QString host;
    int port = 6379;
    QString password;
    int database = 0;

    // nullopt, with `error` set, for anything else.
    static std::optional<RedisAddress> parse(const QString &url, QString &error);
};

// The daily counts in Redis, shared by every service instance that names the
// same server: one key a device and day, taken with an atomic increment that
// expires the key the day after, given back with a decrement.
//
// Where Redis cannot be reached, analyses are let through uncounted (and the
// service says so in its log, once a minute at most): the allowance guards a
// free tier, and a failing counter should not stop a team's work. Each call
// waits at most about a second for Redis, and after a failure the next
// attempt to reach it comes a few seconds later, so uploads meanwhile are not
// slowed by it.
class RedisAllowanceStore : public AllowanceStore {
public:
    explicit RedisAllowanceStore(RedisAddress address);
    ~RedisAllowanceStore() override;

    bool take(const QString &device, QDate day, int limit) override;
    void giveBack(const QString &device, QDate day) override;

    // Whether the last call reached Redis.
    bool reachable() const;

private:
    struct ContextFree {
        void operator()(redisContext *c) const;
    };
    using Context = std::unique_ptr<redisContext, ContextFree>;
    using Clock = std::chrono::steady_clock;

    // The connection, made again after a failure once the pause is over;
    // null while Redis cannot be reached. Called with m_mutex held.
    redisContext *connection();
    void failed(const char *what);

    const RedisAddress m_address;
    mutable std::mutex m_mutex;
    Context m_context;
    std::optional<Clock::time_point> m_retryAt;
    std::optional<Clock::time_point> m_lastWarning;
    // Analyses let through while Redis was away, by key: giving one of them
    // back must not take from what Redis counted.
    QHash<QByteArray, int> m_uncounted;
};

} // namespace tavolen::service
