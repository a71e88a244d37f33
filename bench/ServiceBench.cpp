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
// slow figure from a machine busy with other work. Last, the service's own
// delay before a language model is asked (ModelServiceBench.cpp).

#include "BenchDesktop.h"
#include "ModelServiceBench.h"
#include "ServiceClient.h"
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
    // --model: the stage with the model alone, to look at it more closely.
    if (app.arguments().contains(QStringLiteral("--model")))
        return modelServiceStage(dir);
    const int offline = bench(dir);
    const int model = modelServiceStage(dir);
    return offline != 0 ? offline : model;
}
