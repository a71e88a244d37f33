// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The real service binary and uploads to it exactly as the app sends them,
// timed on plain sockets: shared by the service stages of tavolen-bench.

#pragma once

#include "protocol/Records.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <optional>

// Far beyond any answer: a request that takes this long has failed.
constexpr int kExchangeLimitMs = 120000;

// A port nothing listens on now.
quint16 freePort();

// The service binary beside this one, on `port`, with no configuration of
// the user's: a file holding `config` alone (empty: the offline engine
// answers) and none of the service's variables.
class ServiceProcess {
public:
    ServiceProcess(const QTemporaryDir &dir, quint16 port, const QByteArray &config = {},
                   const QProcessEnvironment &extra = {});
    ~ServiceProcess() { stop(); }

    // The health answer's body once it is 200, empty when the service
    // ended or did not answer in time.
    QByteArray waitHealthy(int limitMs);
    // SIGTERM, then the wait; whether it ended on its own, cleanly.
    bool stop();
    qint64 pid() const { return m_process.processId(); }
    quint16 port() const { return m_port; }
    // What it printed: why it would not start, when it did not.
    QString log() const
    {
        QFile f(m_log);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
    }

private:
    QProcess m_process;
    quint16 m_port;
    QString m_log;
    bool m_stopped = false;
};

// The process's CPU time so far, user and system, in ms.
double cpuMs(qint64 pid);
// The CPU time of the children this process has waited for, in ms.
double childrenCpuMs();
// Resets the kernel's peak for the process to its resident size now.
bool resetPeak(qint64 pid);

// One upload exactly as the app sends it (its own request builder, so its
// headers, token, form and fresh X-Request-Id), as bytes for a plain socket:
// the app's HTTP stack would pool connections, and each client here must
// have its own.
struct Upload {
    QByteArray bytes;
    QString requestId;
    int post = 0;
};

Upload makeUpload(int port, const QByteArray &jpeg, int post);

struct Exchange {
    int status = 0;
    double firstFieldMs = -1;
    double resultMs = -1;
    // When the upload began, on the clock every process shares.
    std::chrono::steady_clock::time_point started;
    std::optional<tavolen::protocol::AnalyzeEnvelope> envelope;
    // The first summary the stream carried: what the panel shows first.
    std::optional<QString> firstSummary;
    QString failure;
};

// One upload on a connection of its own, timed from before the connection
// is opened: blocking, so it runs on any thread.
Exchange exchange(quint16 port, const QByteArray &request);
