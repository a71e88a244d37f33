// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <functional>

namespace tavolen::service {

// What the log says about one request: never the picture, its text or the
// reading, only how it went.
struct RequestLogEntry {
    QString method;
    QString path;
    int status = 0;
    long long ms = 0;
    QString engine;
    QString requestId;
    // The error envelope's code, when the answer was a refusal or failure.
    QString error;
    // What went wrong behind it, when an engine said.
    QString detail = {};
};

// "2026-01-02T03:04:05Z POST /v1/analyze-screenshot 200 812ms engine=offline id=… [error=… [detail="…"]]"
QString formatLogLine(const RequestLogEntry &entry);

// Receives each finished line; called from worker threads, one at a time.
using LogSink = std::function<void(const QString &line)>;

// Writes lines to standard error.
LogSink stderrLog();

} // namespace tavolen::service
