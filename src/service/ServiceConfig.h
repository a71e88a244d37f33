// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/llm/LlmSettings.h"

#include <QString>

#include <chrono>

#include <cstddef>
#include <cstdint>

namespace tavolen::service {

// Where the model's API key comes from: given with the settings (llm.api_key,
// or none), or read when the engine is built, so that it never sits in a
// file the app writes.
enum class ApiKeySource {
    Given,
    // The desktop's Secret Service: service "tavolen", key "llm-api-key".
    Keyring,
    // llm-api-key beside the configuration file, readable by the user alone.
    File,
};

// Everything the service can be told, from its file and its environment.
struct ServiceConfig {
    QString host = QStringLiteral("127.0.0.1");
    int port = 8765;
    // "offline", "llm", or empty: llm when a model is configured, else offline.
    QString engine;
    // Empty base_url or model: no model is configured. The model must be done
    // before the app gives up waiting for the stream's result (90 s).
    llm::LlmSettings llm{.timeouts = {.total = std::chrono::seconds(75)}};
    ApiKeySource apiKeySource = ApiKeySource::Given;
    // Analyses a device may have a day; 0 = no limit.
    int dailyAllowance = 0;
    // Where the daily counts live: empty for this process's memory, or a
    // redis:// URL that several instances share.
    QString allowanceStore;
    // The largest upload accepted, the whole multipart body.
    std::int64_t maxUploadBytes = 10 * 1024 * 1024;
    // The longest silence while an upload's body arrives, and the longest the
    // whole upload may take to arrive.
    int readTimeoutSeconds = 10;
    int uploadTimeoutSeconds = 30;
    // Read by older configuration files; each connection now carries one
    // request and is closed after its answer, so nothing is kept idle.
    int keepAliveSeconds = 5;
    // The whole request head (request line and headers) must arrive within
    // this, however the bytes are spread: a client sending one byte a second
    // cannot hold a connection open for longer.
    std::chrono::milliseconds headTimeout{5000};
    // The request line and all headers together; a request beyond it is
    // refused before more of it is read.
    std::size_t maxHeaderBytes = 8 * 1024;
    // Uploads read, analysed or streamed at once; one more is refused at
    // once with 503. The health check is always answered.
    int maxRequests = 64;
    // Connections still sending their request head; beyond it the oldest
    // such connection is closed to make room, so idle sockets cannot lock
    // anyone out.
    int maxWaitingConnections = 256;
    // The longest an answer, or one line of a stream, may take to leave.
    int writeTimeoutSeconds = 15;
    // The plain endpoint cannot send anything until its reading is done, so
    // the reading (queueing, text recognition and engine) must end well
    // before the app stops waiting for a silent answer (25 s).
    std::chrono::milliseconds plainReadingBudget{20000};
    // How often a stream says it is still there while nothing else is sent:
    // well inside the app's idle limit (45 s) when a model is slow to start.
    std::chrono::milliseconds streamHeartbeat{15000};
    // Analyses run at once (text recognition and engine); later ones queue.
    int workers = 8;
    // Threads that own every socket: they read heads and bodies, answer the
    // health check and write answers, and never wait for an analysis.
    int ioThreads = 2;
    // Text recognisers kept loaded; each serves one request at a time.
    // 0 = one per processor core.
    int ocrInstances = 0;
    // Tesseract's language names joined by '+'.
    QString ocrLanguages = QStringLiteral("eng+chi_sim");
    // Where the *.traineddata files are; empty = Tesseract's own default.
    QString tessdataDir;
    // The bearer token uploads must carry; the app's own by default.
    QString token;
};

} // namespace tavolen::service
