// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ServiceClient.h"

#include "api/Api.h"
#include "api/UploadRequest.h"
#include "core/MemorySettingsStore.h"
#include "core/Settings.h"
#include "flow/ErrorTexts.h"
#include "protocol/Endpoints.h"
#include "protocol/StreamReader.h"
#include "support/TiedProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <algorithm>
#include <sys/resource.h>
#include <unistd.h>

using namespace tavolen;

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

ServiceProcess::ServiceProcess(const QTemporaryDir &dir, quint16 port, const QByteArray &config,
                               const QProcessEnvironment &extra)
    : m_port(port), m_log(dir.filePath(QStringLiteral("service-%1.log").arg(port)))
{
    const QString configFile = dir.filePath(QStringLiteral("service-%1.toml").arg(port));
    QFile file(configFile);
    if (file.open(QIODevice::WriteOnly))
        file.write(config);
    file.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &key : env.keys()) {
        if (key.startsWith(QLatin1String("TAVOLEN_SERVICE_")))
            env.remove(key);
    }
    env.insert(QStringLiteral("TAVOLEN_SERVICE_CONFIG"), configFile);
    for (const QString &key : extra.keys())
        env.insert(key, extra.value(key));
    m_process.setProcessEnvironment(env);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(m_log);
    test::tieToThisProcess(m_process);
    m_process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../src/tavolen-service"),
                    {QStringLiteral("--port"), QString::number(port)});
}

QByteArray ServiceProcess::waitHealthy(int limitMs)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < limitMs && m_process.state() != QProcess::NotRunning) {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, m_port);
        if (s.waitForConnected(1000)) {
            s.write("GET /" + QByteArray(protocol::kHealthPath) +
                    " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
            QByteArray answer;
            while (s.waitForReadyRead(2000))
                answer += s.readAll();
            answer += s.readAll();
            if (answer.startsWith("HTTP/1.1 200"))
                return answer.mid(answer.indexOf("\r\n\r\n") + 4);
        }
        QThread::msleep(50);
    }
    return {};
}

bool ServiceProcess::stop()
{
    if (m_stopped)
        return true;
    m_stopped = true;
    m_process.terminate();
    if (!m_process.waitForFinished(15000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
        return false;
    }
    return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

// The process's CPU time so far, user and system, in ms: beside the wall
// times, it tells a slow figure from a machine busy with other work.
double cpuMs(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    // The name in parentheses may hold spaces; the fields after it do not.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return 0;
    return (fields[11].toDouble() + fields[12].toDouble()) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

// The CPU time of the children this process has waited for, in ms.
double childrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// Resets the kernel's peak for the process to its resident size now, so
// that the peak read later is the uploads' and not the models' loading.
bool resetPeak(qint64 pid)
{
    QFile clear(QStringLiteral("/proc/%1/clear_refs").arg(pid));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

Upload makeUpload(int port, const QByteArray &jpeg, int post)
{
    MemorySettingsStore settings;
    keys::apiBase.set(settings, QStringLiteral("http://127.0.0.1:%1").arg(port));
    const api::UploadRequest r =
        api::multipartRequest(settings, QString::fromLatin1(protocol::kStreamPath), jpeg,
                              QStringLiteral("en"), std::chrono::milliseconds(kExchangeLimitMs));
    const QUrl url = r.request.url();
    QByteArray head = "POST " + url.path(QUrl::FullyEncoded).toLatin1() +
                      " HTTP/1.1\r\nHost: " + url.authority(QUrl::FullyEncoded).toLatin1() + "\r\n";
    for (const QByteArray &name : r.request.rawHeaderList()) {
        if (name.compare("Content-Length", Qt::CaseInsensitive) != 0)
            head += name + ": " + r.request.rawHeader(name) + "\r\n";
    }
    head += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\nConnection: close\r\n\r\n";
    return {head + r.body, QString::fromLatin1(r.request.rawHeader("X-Request-Id")), post};
}

namespace {

// Undoes HTTP/1.1 chunked transfer coding as bytes arrive.
class Dechunker {
public:
    // The body bytes the raw bytes so far complete.
    QByteArray take(const QByteArray &raw);
    bool ended() const { return m_ended; }
    bool broken() const { return m_broken; }

private:
    QByteArray m_buffer;
    bool m_ended = false;
    bool m_broken = false;
};

QByteArray Dechunker::take(const QByteArray &raw)
{
    m_buffer += raw;
    QByteArray body;
    while (!m_ended && !m_broken) {
        const qsizetype lineEnd = m_buffer.indexOf("\r\n");
        if (lineEnd < 0)
            break;
        bool ok = false;
        const qsizetype size = m_buffer.left(lineEnd).split(';').front().trimmed().toLongLong(&ok, 16);
        if (!ok || size < 0) {
            m_broken = true;
            break;
        }
        if (m_buffer.size() < lineEnd + 2 + size + 2)
            break;
        body += m_buffer.mid(lineEnd + 2, size);
        m_buffer.remove(0, lineEnd + 2 + size + 2);
        m_ended = size == 0;
    }
    return body;
}

// Feeds body bytes to the app's own stream reader; true once the stream
// has given its last word (a result or a failure).
bool readStream(protocol::StreamReader &reader, const QByteArray &body, const QElapsedTimer &timer,
                Exchange &out)
{
    reader.append(body);
    for (;;) {
        const protocol::StreamReader::Step step = reader.next();
        if (std::holds_alternative<protocol::StreamReader::NeedMore>(step))
            return false;
        const double now = double(timer.nsecsElapsed()) / 1e6;
        if (const auto *part = std::get_if<protocol::StreamReader::Partial>(&step)) {
            if (out.firstFieldMs < 0)
                out.firstFieldMs = now;
            if (!out.firstSummary && part->partial.summary)
                out.firstSummary = part->partial.summary;
        } else if (const auto *done = std::get_if<protocol::StreamReader::Done>(&step)) {
            out.resultMs = now;
            out.envelope = done->envelope;
            return true;
        } else {
            out.failure = QStringLiteral("the stream failed: %1")
                              .arg(flow::texts::clientError(
                                  api::streamError(std::get<protocol::StreamReader::Failed>(step))));
            return true;
        }
    }
}

bool waitForBytes(QTcpSocket &s, const QElapsedTimer &timer)
{
    return s.bytesAvailable() > 0 ||
           s.waitForReadyRead(int(std::max<qint64>(1, kExchangeLimitMs - timer.elapsed())));
}

QString endedEarly(const QElapsedTimer &timer)
{
    return timer.elapsed() >= kExchangeLimitMs
               ? QStringLiteral("no result within %1 s").arg(kExchangeLimitMs / 1000)
               : QStringLiteral("the connection ended before a result");
}

// Reads the answer's head off the socket into `out`; true when it opens a
// stream, with what came after the head left in `raw`.
bool readHead(QTcpSocket &s, const QElapsedTimer &timer, QByteArray &raw, Exchange &out)
{
    for (;;) {
        const bool more = waitForBytes(s, timer);
        raw += s.readAll();
        const qsizetype end = raw.indexOf("\r\n\r\n");
        if (end >= 0) {
            const QByteArray head = raw.left(end).toLower();
            raw.remove(0, end + 4);
            out.status = head.mid(9, 3).toInt();
            if (out.status == 200 && head.contains("\r\ntransfer-encoding: chunked"))
                return true;
            out.failure = QStringLiteral("HTTP %1, not a stream").arg(out.status);
            return false;
        }
        if (!more) {
            out.failure = endedEarly(timer);
            return false;
        }
    }
}

// Reads the stream to its result or its failure.
void readBody(QTcpSocket &s, const QElapsedTimer &timer, QByteArray raw, Exchange &out)
{
    Dechunker dechunker;
    protocol::StreamReader reader;
    for (;;) {
        if (readStream(reader, dechunker.take(raw), timer, out))
            return;
        if (dechunker.broken() || dechunker.ended()) {
            reader.endOfBody();
            if (!readStream(reader, {}, timer, out))
                out.failure = QStringLiteral("the stream ended without a result");
            return;
        }
        const bool more = waitForBytes(s, timer);
        raw = s.readAll();
        if (!more && raw.isEmpty()) {
            out.failure = endedEarly(timer);
            return;
        }
    }
}

} // namespace

// One upload on a connection of its own, timed from before the connection
// is opened: blocking, so it runs on any thread.
Exchange exchange(quint16 port, const QByteArray &request)
{
    Exchange out;
    out.started = std::chrono::steady_clock::now();
    QElapsedTimer timer;
    timer.start();
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, port);
    if (!s.waitForConnected(5000)) {
        out.failure = QStringLiteral("no connection: %1").arg(s.errorString());
        return out;
    }
    s.write(request);
    while (s.bytesToWrite() > 0 && s.waitForBytesWritten(kExchangeLimitMs)) {
    }
    QByteArray raw;
    if (readHead(s, timer, raw, out))
        readBody(s, timer, raw, out);
    return out;
}
