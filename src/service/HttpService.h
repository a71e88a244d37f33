// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/AllowanceStore.h"
#include "service/Engine.h"
#include "service/RequestLog.h"
#include "service/ServiceConfig.h"
#include "service/TextExtractor.h"

#include <QDate>

#include <functional>
#include <memory>
#include <thread>

namespace httplib {
class Server;
}

namespace tavolen::service {

// The analysis service's HTTP side: the health check and the two analysis
// endpoints on cpp-httplib. Each request is handled on one of the server's
// worker threads from its first byte to its last.
class HttpService {
public:
    struct Parts {
        ServiceConfig config;
        Engine &engine;
        TextExtractor &extractor;
        // Consulted only when config.dailyAllowance > 0.
        AllowanceStore &allowance;
        LogSink log = stderrLog();
        // Which day an analysis counts for.
        std::function<QDate()> today = [] { return QDate::currentDate(); };
    };
    explicit HttpService(Parts parts);
    ~HttpService();
    HttpService(const HttpService &) = delete;
    HttpService &operator=(const HttpService &) = delete;

    // Binds to config.host and config.port (0: any free port). An empty text
    // on success, else what went wrong.
    QString bind();
    int port() const { return m_port; }

    // Serves until stop(); blocks the calling thread.
    void serve();
    // Serves on a thread of its own (tests, embedding); stop() joins it.
    void start();
    // Stops accepting, lets running requests finish, and returns.
    void stop();

private:
    class Handlers;
    Parts m_parts;
    std::unique_ptr<httplib::Server> m_server;
    std::unique_ptr<Handlers> m_handlers;
    int m_port = 0;
    std::thread m_thread;
};

} // namespace tavolen::service
