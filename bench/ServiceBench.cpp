// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tavolen-bench service: the local analysis service with its offline engine,
// started as the real binary. On a 1600 x 1000 screenshot of a post: the time
// from the upload to the first field event and to the result, beside the
// tesseract command reading the same picture (its models loaded afresh each
// run, ours once at start-up). Then 20 uploads at once, each on its own
// connection, of two different posts: every answer is checked against the
// reading its own picture gets alone, and the latency percentiles and the
// service's peak memory are printed. CPU times beside the wall times tell a
// slow figure from a machine busy with other work.

#include "BenchDesktop.h"
#include "api/Api.h"
#include "api/ServiceUrl.h"
#include "api/UploadRequest.h"
#include "capture/JpegEncoder.h"
#include "core/MemorySettingsStore.h"
#include "core/Settings.h"
#include "flow/ErrorTexts.h"
#include "protocol/Endpoints.h"
#include "protocol/Records.h"
#include "protocol/StreamReader.h"
#include "support/TiedProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <latch>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using namespace tavolen;

namespace {

constexpr QSize kShot(1600, 1000);
constexpr int kTimedRuns = 5;
constexpr int kReferenceRuns = 3;
constexpr int kLoadUploads = 20;
// Far beyond any answer: a request that takes this long has failed.
constexpr int kExchangeLimitMs = 120000;

// A smoke run still sends one upload of each post at once.
int loadUploads()
{
    return smokeRun() ? 2 : kLoadUploads;
}

int failed(const QString &why)
{
    std::fprintf(stderr, "tavolen-bench service: %s\n", qPrintable(why));
    return 1;
}

struct Post {
    QString name;
    QString handle;
    QStringList paragraphs;
    QStringList chinese;
    QString actions;
};

const Post kGardenPost{
    QStringLiteral("Maya Thompson"),
    QStringLiteral("@mayagrows · 2h"),
    {QStringLiteral("The community garden on Elm Street opens to everyone this Saturday at nine in the "
                    "morning. We have forty new raised beds, free seedlings for the first hundred visitors, "
                    "and a compost workshop at noon."),
     QStringLiteral("Bring gloves if you have them, and a friend if you can. Children are welcome, and there "
                    "will be lemonade and music from the school band all afternoon."),
     QStringLiteral("Thanks to every volunteer who carried soil and built fences through the rain last "
                    "month. None of this would exist without you.")},
    {QStringLiteral("社区花园本周六上午九点开放，欢迎大家带着家人朋友一起来。"),
     QStringLiteral("现场有免费的种子和堆肥讲座，下午还有学校乐队的演出。")},
    QStringLiteral("Reply 24      Repost 118      Like 1.2K"),
};

const Post kTrainPost{
    QStringLiteral("Daniel Okafor"),
    QStringLiteral("@dokafor_travels · 45m"),
    {QStringLiteral("Our train to Edinburgh was cancelled again this morning, the third time this month, and "
                    "nobody at the station could tell us when the next one would leave."),
     QStringLiteral("The replacement bus took four hours, the heating was broken, and we missed the first "
                    "half of my sister's graduation ceremony."),
     QStringLiteral("If anyone from the rail company is reading this: please publish the refund form "
                    "somewhere people can actually find it.")},
    {QStringLiteral("今天早上去爱丁堡的火车又取消了，这个月已经是第三次了。"),
     QStringLiteral("替代巴士开了四个小时，我们错过了妹妹毕业典礼的前半场。")},
    QStringLiteral("Reply 311      Repost 2.4K      Like 9.8K"),
};

QFont fontOf(const char *family, int pixels, bool bold = false)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The post as a feed shows it: avatar, name and handle, the paragraphs, a
// few Chinese lines, the action bar; encoded as the app encodes a capture.
QByteArray renderPost(const Post &post)
{
    QImage image(kShot, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 160, 200));
    p.drawEllipse(QRect(48, 48, 96, 96));
    p.setPen(QColor(15, 20, 25));
    p.setFont(fontOf("DejaVu Sans", 30, true));
    p.drawText(QPoint(170, 88), post.name);
    p.setPen(QColor(83, 100, 113));
    p.setFont(fontOf("DejaVu Sans", 26));
    p.drawText(QPoint(170, 128), post.handle);

    p.setPen(QColor(15, 20, 25));
    p.setFont(fontOf("DejaVu Sans", 30));
    int y = 190;
    for (const QString &paragraph : post.paragraphs) {
        const QRect box = p.boundingRect(QRect(48, y, kShot.width() - 96, 400), Qt::TextWordWrap, paragraph);
        p.drawText(box, Qt::TextWordWrap, paragraph);
        y = box.bottom() + 30;
    }
    p.setFont(fontOf("WenQuanYi Micro Hei", 30));
    for (const QString &line : post.chinese) {
        p.drawText(QPoint(48, y + 30), line);
        y += 52;
    }
    p.setPen(QColor(83, 100, 113));
    p.setFont(fontOf("DejaVu Sans", 26));
    p.drawText(QPoint(48, kShot.height() - 60), post.actions);
    p.end();

    return capture::jpegData(image).value();
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The service binary beside this one, on `port`, with no configuration of
// the user's: an empty file and none of the service's variables, so the
// offline engine answers.
class ServiceProcess {
public:
    ServiceProcess(const QTemporaryDir &dir, quint16 port)
        : m_port(port), m_log(dir.filePath(QStringLiteral("service.log")))
    {
        const QString config = dir.filePath(QStringLiteral("service.toml"));
        QFile(config).open(QIODevice::WriteOnly);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &key : env.keys()) {
            if (key.startsWith(QLatin1String("TAVOLEN_SERVICE_")))
                env.remove(key);
        }
        env.insert(QStringLiteral("TAVOLEN_SERVICE_CONFIG"), config);
        m_process.setProcessEnvironment(env);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(m_log);
        test::tieToThisProcess(m_process);
        m_process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../src/tavolen-service"),
                        {QStringLiteral("--port"), QString::number(port)});
    }
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

// One upload exactly as the app sends it (its own request builder, so its
// headers, token, form and fresh X-Request-Id), as bytes for a plain socket:
// the app's HTTP stack would pool connections, and each client here must
// have its own.
struct Upload {
    QByteArray bytes;
    QString requestId;
    int post = 0;
};

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

struct Exchange {
    int status = 0;
    double firstFieldMs = -1;
    double resultMs = -1;
    std::optional<protocol::AnalyzeEnvelope> envelope;
    QString failure;
};

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
        if (std::holds_alternative<protocol::StreamReader::Partial>(step)) {
            if (out.firstFieldMs < 0)
                out.firstFieldMs = now;
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

// One upload on a connection of its own, timed from before the connection
// is opened: blocking, so it runs on any thread.
Exchange exchange(quint16 port, const QByteArray &request)
{
    Exchange out;
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

double percentile(QList<double> values, double share)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype rank = qsizetype(std::ceil(share * double(values.size())));
    return values[std::clamp<qsizetype>(rank - 1, 0, values.size() - 1)];
}

struct Runs {
    QList<double> wallMs;
    QList<double> cpuMs;
};

// The tesseract command on the picture file, timed per run, after one run
// that warms the disk cache.
Runs tesseractRuns(const QString &image, bool oneThread)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (oneThread)
        env.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    else
        env.remove(QStringLiteral("OMP_THREAD_LIMIT"));
    Runs runs;
    for (int i = 0, timed = runsOf(kReferenceRuns); i <= timed; ++i) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setStandardErrorFile(QProcess::nullDevice());
        test::tieToThisProcess(p);
        const double cpuBefore = childrenCpuMs();
        QElapsedTimer timer;
        timer.start();
        p.start(QStringLiteral("tesseract"),
                {image, QStringLiteral("-"), QStringLiteral("-l"), QStringLiteral("eng+chi_sim")});
        p.waitForFinished(60000);
        const double elapsed = double(timer.nsecsElapsed()) / 1e6;
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 ||
            p.readAllStandardOutput().trimmed().isEmpty()) {
            failed(QStringLiteral("tesseract read nothing from %1").arg(image));
            return {};
        }
        if (i > 0) {
            runs.wallMs.append(elapsed);
            runs.cpuMs.append(childrenCpuMs() - cpuBefore);
        }
    }
    return runs;
}

struct Single {
    QList<double> firstFieldMs;
    QList<double> resultMs;
    double cpuMsPerUpload = 0;
    QString summary;
};

// Uploads of one picture, one after another, after one that is not timed.
std::optional<Single> singleRuns(const ServiceProcess &service, const QByteArray &jpeg, int runs)
{
    Single single;
    double cpuBefore = 0;
    for (int i = 0; i <= runs; ++i) {
        if (i == 1)
            cpuBefore = cpuMs(service.pid());
        const Upload upload = makeUpload(service.port(), jpeg, 0);
        const Exchange e = exchange(service.port(), upload.bytes);
        if (!e.envelope || e.envelope->request_id != upload.requestId || e.firstFieldMs < 0) {
            failed(
                QStringLiteral("a single upload failed: %1")
                    .arg(e.failure.isEmpty() ? QStringLiteral("no field event or another id") : e.failure));
            return std::nullopt;
        }
        if (i > 0 && e.envelope->result.summary != single.summary)
            failed(QStringLiteral("the same picture read differently"));
        single.summary = e.envelope->result.summary;
        if (i > 0) {
            single.firstFieldMs.append(e.firstFieldMs);
            single.resultMs.append(e.resultMs);
        }
    }
    if (runs > 0)
        single.cpuMsPerUpload = (cpuMs(service.pid()) - cpuBefore) / runs;
    return single;
}

// Why an answer to `upload` is not its own, or empty when it is.
QString wrongAnswer(const Upload &upload, const Exchange &e, const QStringList &summaries)
{
    if (!e.failure.isEmpty())
        return e.failure;
    if (e.envelope->request_id != upload.requestId)
        return QStringLiteral("answered with request id %1").arg(e.envelope->request_id);
    if (e.envelope->result.summary != summaries[upload.post])
        return QStringLiteral("summary of another picture: \"%1\"").arg(e.envelope->result.summary);
    return {};
}

// All uploads at once, each from a thread and connection of its own; the
// exchanges in the order of the uploads.
std::vector<Exchange> uploadAtOnce(quint16 port, const QList<Upload> &uploads)
{
    std::vector<Exchange> results(std::size_t(uploads.size()));
    std::latch ready(uploads.size());
    std::vector<std::thread> clients;
    for (std::size_t i = 0; i < results.size(); ++i) {
        clients.emplace_back([&, i] {
            ready.arrive_and_wait();
            results[i] = exchange(port, uploads.at(qsizetype(i)).bytes);
        });
    }
    for (std::thread &t : clients)
        t.join();
    return results;
}

struct Load {
    QList<double> latencyMs;
    int correct = 0;
    double cpuMsPerUpload = 0;
};

Load load(const ServiceProcess &service, const QList<QByteArray> &jpegs, const QStringList &summaries)
{
    QList<Upload> uploads;
    for (int i = 0; i < loadUploads(); ++i)
        uploads.append(makeUpload(service.port(), jpegs[i % 2], i % 2));
    const double cpuBefore = cpuMs(service.pid());
    const std::vector<Exchange> results = uploadAtOnce(service.port(), uploads);
    Load out;
    out.cpuMsPerUpload = (cpuMs(service.pid()) - cpuBefore) / loadUploads();
    for (std::size_t i = 0; i < results.size(); ++i) {
        const QString wrong = wrongAnswer(uploads.at(qsizetype(i)), results[i], summaries);
        if (wrong.isEmpty()) {
            ++out.correct;
            out.latencyMs.append(results[i].resultMs);
        } else {
            failed(QStringLiteral("upload %1: %2").arg(i).arg(wrong));
        }
    }
    return out;
}

int bench(const QTemporaryDir &dir)
{
    const QList<QByteArray> jpegs{renderPost(kGardenPost), renderPost(kTrainPost)};
    const QString imageFile = dir.filePath(QStringLiteral("post.jpg"));
    QFile file(imageFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(jpegs[0]) != jpegs[0].size())
        return failed(QStringLiteral("cannot write %1").arg(imageFile));
    file.close();

    ServiceProcess service(dir, freePort());
    const QByteArray health = service.waitHealthy(60000);
    if (!health.contains("\"engine\":\"offline\""))
        return failed(QStringLiteral("no offline service answered (%1); it printed: %2")
                          .arg(QString::fromUtf8(health), service.log()));
    QThread::sleep(1); // at rest after start-up
    const double restMB = statusMB(service.pid(), "VmRSS:");
    const double startPeakMB = statusMB(service.pid(), "VmHWM:");

    const std::optional<Single> train = singleRuns(service, jpegs[1], 0);
    const std::optional<Single> garden = singleRuns(service, jpegs[0], runsOf(kTimedRuns));
    if (!train || !garden)
        return 1;
    if (garden->summary.isEmpty() || garden->summary == train->summary)
        return failed(QStringLiteral("the two posts are not told apart"));

    const bool peakReset = resetPeak(service.pid());
    const Load loaded = load(service, jpegs, {garden->summary, train->summary});
    const double loadPeakMB = statusMB(service.pid(), "VmHWM:");
    const bool stoppedCleanly = service.stop();

    const Runs oneThread = tesseractRuns(imageFile, true);
    const Runs allThreads = tesseractRuns(imageFile, false);

    const double firstField = median(garden->firstFieldMs), result = median(garden->resultMs);
    report("service_upload_to_first_field", firstField, median(oneThread.wallMs), "ms");
    report("service_upload_to_result", result, median(oneThread.wallMs), "ms");
    report("service_upload_to_result_vs_tesseract_all_threads", result, median(allThreads.wallMs), "ms");
    report("service_first_field_vs_result", firstField, result, "ms");
    report("service_cpu_per_upload", garden->cpuMsPerUpload, median(oneThread.cpuMs), "ms");
    report("service_load_p50", percentile(loaded.latencyMs, 0.5), result, "ms");
    report("service_load_p95", percentile(loaded.latencyMs, 0.95), result, "ms");
    report("service_load_cpu_per_upload", loaded.cpuMsPerUpload, garden->cpuMsPerUpload, "ms");
    report(peakReset ? "service_load_peak_memory" : "service_peak_memory_since_start", loadPeakMB, restMB,
           "MB");
    report("service_startup_peak_memory", startPeakMB, restMB, "MB");
    report("service_load_answered_correctly", loaded.correct, loadUploads(), "");
    if (!stoppedCleanly)
        failed(QStringLiteral("the service did not end cleanly on SIGTERM"));
    return loaded.correct == loadUploads() && stoppedCleanly ? 0 : 1;
}

} // namespace

int runServiceBench(int argc, char **argv)
{
    // Only the posts are drawn: no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return failed(QStringLiteral("no temporary directory"));
    return bench(dir);
}
