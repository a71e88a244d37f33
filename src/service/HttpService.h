// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/AllowanceStore.h"
#include "service/EngineSlot.h"
#include "service/RequestLog.h"
#include "service/ServiceConfig.h"
#include "service/TextExtractor.h"

#include <QDate>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace tavolen::service {

// The analysis service's HTTP side: the health check and the two analysis
// endpoints on Boost.Beast. A few I/O threads own every socket and never
// block; analyses run on a pool of their own (config.workers), so a slow
// client or a slow reading never keeps the health check waiting.
//
// Beast rather than libmicrohttpd: a deadline on beast::tcp_stream bounds a
// whole operation, so the request head has a true deadline (libmicrohttpd's
// connection timeout is an inactivity timeout, which a client sending one
// byte a second keeps resetting); the parser takes a header and a body
// limit; and the event stream's lines are written exactly as they come.
class HttpService {
public:
    struct Parts {
        ServiceConfig config;
        // Each request is served by the engine here when it begins.
        EngineSlot &engines;
        TextExtractor &extractor;
        // Consulted only when config.dailyAllowance > 0.
        AllowanceStore &allowance;
        LogSink log = stderrLog();
        // Which day an analysis counts for.
        std::function<QDate()> today = [] { return QDate::currentDate(); };
        // Asked by POST /v1/control/reload, whose answer waits for `done`
        // (called from any thread).
        std::function<void(ReloadDone done)> reload = {};
        // The bearer secret that endpoint asks for; without one there is no
        // such endpoint.
        QString controlSecret = {};
    };
    explicit HttpService(Parts parts);
    ~HttpService();
    HttpService(const HttpService &) = delete;
    HttpService &operator=(const HttpService &) = delete;

    // Binds to config.host and config.port (0: any free port). An empty text
    // on success, else what went wrong.
    QString bind();
    int port() const { return m_port; }
    // Opens the reload endpoint to requests bearing `secret`; before serving.
    void setControlSecret(QString secret) { m_parts.controlSecret = std::move(secret); }

    // Serves until stop(); blocks the calling thread, which becomes one of
    // the I/O threads.
    void serve();
    // Serves on a thread of its own (tests, embedding); stop() joins it.
    void start();
    // Stops accepting, closes connections that have not yet sent a whole
    // request, lets running analyses finish, and returns.
    void stop();

private:
    class Core;
    Parts m_parts;
    std::unique_ptr<Core> m_core;
    int m_port = 0;
    std::thread m_thread;
};

} // namespace tavolen::service
