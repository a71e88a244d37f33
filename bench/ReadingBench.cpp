// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// tavolen-bench reading [--posts]: every picture of the labelled reading
// corpus uploaded, one after another, to the real service with its offline
// engine, as the app sends a capture. Prints, per class of post (risk kind,
// tone, language, application) and in all: the share rated high risk, tone
// and language right, first summaries free of the interface's own text, and
// the time per post; then the precision and recall of high risk and the
// false-high rate on benign posts. --posts adds each post's reading.

#include "BenchDesktop.h"
#include "CorpusRender.h"
#include "ServiceClient.h"
#include "capture/JpegEncoder.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>

using namespace tavolen;

namespace {

int failed(const QString &why)
{
    std::fprintf(stderr, "tavolen-bench reading: %s\n", qPrintable(why));
    return 1;
}

// The committed picture, or the post drawn afresh when it has none yet.
QImage pictureOf(const test::CorpusPost &post)
{
    const QImage stored(QDir(test::readingCorpusDir()).filePath(post.id + QStringLiteral(".png")));
    return stored.isNull() ? renderCorpusPost(post) : stored;
}

} // namespace

int runReadingBench(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const bool perPost = app.arguments().contains(QStringLiteral("--posts"));
    QList<test::CorpusPost> posts = test::loadReadingCorpus();
    if (posts.isEmpty())
        return failed(QStringLiteral("no posts in %1").arg(test::readingCorpusDir()));
    if (smokeRun())
        posts = posts.mid(0, 3);
    QTemporaryDir dir;
    if (!dir.isValid())
        return failed(QStringLiteral("no temporary directory"));
    ServiceProcess service(dir, freePort());
    const QByteArray health = service.waitHealthy(60000);
    if (!health.contains("\"engine\":\"offline\""))
        return failed(QStringLiteral("no offline service answered: %1").arg(service.log()));

    QList<test::PostReading> readings;
    for (const test::CorpusPost &post : posts) {
        const QImage picture = pictureOf(post).convertToFormat(QImage::Format_RGB32);
        const Exchange e =
            exchange(service.port(), makeUpload(service.port(), capture::jpegData(picture).value(), 0).bytes);
        if (!e.envelope)
            return failed(QStringLiteral("%1: %2").arg(post.id, e.failure));
        const protocol::AnalysisResult &r = e.envelope->result;
        test::PostReading reading{r.risk_level, r.tone, r.detected_language,
                                  e.firstSummary.value_or(r.summary), e.resultMs};
        if (perPost)
            std::printf("%-26s %5.0f ms risk=%-6s tone=%-11s lang=%-6s %s | %s | %s\n", qPrintable(post.id),
                        e.resultMs, qPrintable(r.risk_level), qPrintable(r.tone),
                        qPrintable(r.detected_language), qPrintable(reading.summary),
                        qPrintable(r.hidden_meaning.value_or(QStringLiteral("-"))),
                        qPrintable(r.risk_reason.value_or(QStringLiteral("-"))));
        readings << reading;
    }
    service.stop();
    const test::CorpusScore score = test::scoreReadings(posts, readings);
    std::printf("reading: %lld posts through the offline service\n%s", static_cast<long long>(posts.size()),
                qPrintable(score.table));
    // Beside what a reader needs of it.
    report("reading_high_risk_recall", 100 * score.highRecall(), 95, "%");
    report("reading_false_high_on_benign", 100 * score.falseHigh(), 5, "%");
    report("reading_language_right", 100 * score.languageAccuracy, 95, "%");
    report("reading_summaries_free_of_interface_text", 100 * score.cleanSummaries, 90, "%");
    return 0;
}
