// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/llm/LlmSettings.h"

#include <QString>

#include <chrono>

#include <cstdint>

namespace tavolen::service {

// Everything the service can be told, from its file and its environment.
struct ServiceConfig {
    QString host = QStringLiteral("127.0.0.1");
    int port = 8765;
    // "offline", "llm", or empty: llm when a model is configured, else offline.
    QString engine;
    // Empty base_url or model: no model is configured. The model must be done
    // before the app gives up waiting for the stream's result (90 s).
    llm::LlmSettings llm{.timeouts = {.total = std::chrono::seconds(75)}};
    // Analyses a device may have a day; 0 = no limit.
    int dailyAllowance = 0;
    // Where the daily counts live: empty for this process's memory, or a
    // redis:// URL that several instances share.
    QString allowanceStore;
    // The largest upload accepted, the whole multipart body.
    std::int64_t maxUploadBytes = 10 * 1024 * 1024;
    // The longest silence while reading a request, and the longest the whole
    // upload may take to arrive.
    int readTimeoutSeconds = 10;
    int uploadTimeoutSeconds = 30;
    // How long an idle connection is kept for the app's next upload; also
    // the longest a stop waits for idle connections.
    int keepAliveSeconds = 5;
    // How often a stream says it is still there while nothing else is sent:
    // well inside the app's idle limit (45 s) when a model is slow to start.
    std::chrono::milliseconds streamHeartbeat{15000};
    // HTTP worker threads: requests handled at once; later ones queue.
    int workers = 8;
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
