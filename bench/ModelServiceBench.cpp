// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The service's own delay on top of a language model's. The real service
// binary reads a 900 x 220 post with its llm engine pointed at a scripted
// model that answers at once; the same post goes to the offline engine
// beside it. The key figure is the time from the upload's start until the
// model receives its request: all of it is ours, since the model has not
// been asked yet. The service's debug log breaks it into its steps. A model
// that reads pictures is asked before the text is recognised: its figure
// stands beside the text model's.

#include "ModelServiceBench.h"

#include "BenchDesktop.h"
#include "ServiceClient.h"
#include "service/llm/FakeModelServer.h"

#include "capture/JpegEncoder.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QThread>

#include <cstdio>

using namespace tavolen;

namespace {

constexpr QSize kPost(900, 220);
constexpr int kTimedRuns = 7;
// What the service may add before the model's first token.
constexpr double kGoalMs = 100;

int failed(const QString &why)
{
    std::fprintf(stderr, "tavolen-bench service: %s\n", qPrintable(why));
    return 1;
}

QFont fontOf(const char *family, int pixels, bool bold = false)
{
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A reply in a feed at its size on a 96 dpi screen: avatar, name and
// handle, two lines of English and one of Chinese, the action bar.
QByteArray renderSmallPost()
{
    QImage image(kPost, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 160, 200));
    p.drawEllipse(QRect(16, 16, 40, 40));
    p.setPen(QColor(15, 20, 25));
    p.setFont(fontOf("DejaVu Sans", 15, true));
    p.drawText(QPoint(68, 32), QStringLiteral("Priya Raman"));
    p.setPen(QColor(83, 100, 113));
    p.setFont(fontOf("DejaVu Sans", 14));
    p.drawText(QPoint(184, 32), QStringLiteral("@priya_r · 3h"));
    p.setPen(QColor(15, 20, 25));
    p.setFont(fontOf("DejaVu Sans", 15));
    p.drawText(QPoint(68, 62),
               QStringLiteral("Lost my blue backpack on the 42 bus this morning, it has my laptop and"));
    p.drawText(
        QPoint(68, 86),
        QStringLiteral("my grandmother's notebook in it. If you found it please message me, thank you!"));
    p.setFont(fontOf("WenQuanYi Micro Hei", 15));
    p.drawText(QPoint(68, 114), QStringLiteral("今天早上在42路公交车上丢了一个蓝色背包，捡到的请联系我。"));
    p.setPen(QColor(83, 100, 113));
    p.setFont(fontOf("DejaVu Sans", 13));
    p.drawText(QPoint(68, 190), QStringLiteral("Reply 12      Repost 87      Like 340"));
    p.end();
    return capture::jpegData(image).value();
}

// The reading the scripted model streams for that post.
std::string modelReading()
{
    return R"({"tone_label": "Worried, hopeful", "summary": "Priya lost a blue backpack with her laptop and a notebook on the 42 bus and asks whoever found it to message her.", "hidden_meaning": null, "risk_level": "low", "risk_reason": "An ordinary request for help with lost property.", "platform": "x", "content_type": "post", "detected_language": "en", "full_translation": null, "tone": "anxious but polite", "intent": "to get her backpack back", "recommended_action": "reply", "action_reason": "A kind word or a shared post may help her find it.", "auto_copy": false, "respondable": true, "reply_language": "en", "best_reply": "So sorry to hear that! Sharing so more people on the 42 see it.", "short_reply": "Hope it turns up soon!", "alternative_reply": "Have you tried the bus company's lost property office?", "best_reply_label": "Supportive", "alternative_reply_label": "Practical", "best_reply_gloss": "Sympathises and shares the post.", "short_reply_gloss": "Wishes her luck.", "alternative_reply_gloss": "Suggests the lost property office.", "flags": {"no_text_detected": false, "sensitive_pii": false, "unsupported": false}})";
}

struct Timings {
    QList<double> firstFieldMs;
    QList<double> resultMs;
    QList<double> beforeModelMs; // model engine only
    double cpuMsPerUpload = 0;
};

double msBetween(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Uploads of the post one after another, after one that is not timed.
std::optional<Timings> timedUploads(const ServiceProcess &service, const QByteArray &jpeg,
                                    const tavolen::test::FakeModelServer *model)
{
    Timings out;
    double cpuBefore = 0;
    const int runs = runsOf(kTimedRuns);
    for (int i = 0; i <= runs; ++i) {
        if (i == 1)
            cpuBefore = cpuMs(service.pid());
        const std::size_t asked = model ? model->requests().size() : 0;
        const Upload upload = makeUpload(service.port(), jpeg, 0);
        const Exchange e = exchange(service.port(), upload.bytes);
        if (!e.envelope || e.firstFieldMs < 0) {
            failed(QStringLiteral("an upload of the small post failed: %1")
                       .arg(e.failure.isEmpty() ? QStringLiteral("no field event") : e.failure));
            return std::nullopt;
        }
        if (model && model->requests().size() != asked + 1) {
            failed(QStringLiteral("the model was not asked exactly once for an upload"));
            return std::nullopt;
        }
        if (i == 0)
            continue;
        out.firstFieldMs.append(e.firstFieldMs);
        out.resultMs.append(e.resultMs);
        if (model)
            out.beforeModelMs.append(msBetween(e.started, model->requests().back().arrived));
    }
    out.cpuMsPerUpload = (cpuMs(service.pid()) - cpuBefore) / runs;
    return out;
}

// The median of each "NAME X ms" in the service's debug log over its last
// `count` readings.
double loggedMedian(const QString &log, const QString &name, int count)
{
    const QRegularExpression pattern(QRegularExpression::escape(name) + QStringLiteral(" ([0-9.]+) ms"));
    QList<double> values;
    for (auto it = pattern.globalMatch(log); it.hasNext();)
        values.append(it.next().captured(1).toDouble());
    return median(values.mid(std::max<qsizetype>(0, values.size() - count)));
}

QProcessEnvironment withStepTimes()
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("tavolen.service.debug=true"));
    return env;
}

} // namespace

int modelServiceStage(const QTemporaryDir &dir)
{
    const QByteArray jpeg = renderSmallPost();
    // A model with no latency of its own: it streams the reading at once.
    tavolen::test::FakeModelServer model;
    model.answer(tavolen::test::modelWrites(modelReading()));
    const QByteArray config =
        QStringLiteral("[llm]\nbase_url = \"%1\"\nmodel = \"scripted\"\n").arg(model.baseUrl()).toUtf8();
    ServiceProcess withModel(dir, freePort(), config, withStepTimes());
    ServiceProcess withVision(dir, freePort(), config + "vision = true\n");
    ServiceProcess offline(dir, freePort());
    if (!withModel.waitHealthy(60000).contains("\"engine\":\"llm:scripted\""))
        return failed(
            QStringLiteral("no service with the model answered; it printed: %1").arg(withModel.log()));
    if (!withVision.waitHealthy(60000).contains("\"engine\":\"llm:scripted\""))
        return failed(QStringLiteral("no service with a picture-reading model answered; it printed: %1")
                          .arg(withVision.log()));
    if (!offline.waitHealthy(60000).contains("\"engine\":\"offline\""))
        return failed(QStringLiteral("no offline service answered; it printed: %1").arg(offline.log()));
    QThread::sleep(1); // both at rest after start-up

    const std::optional<Timings> llm = timedUploads(withModel, jpeg, &model);
    const std::optional<Timings> vision = timedUploads(withVision, jpeg, &model);
    const std::optional<Timings> off = timedUploads(offline, jpeg, nullptr);
    if (!llm || !vision || !off)
        return 1;
    const bool stopped = withModel.stop() && withVision.stop() && offline.stop();
    const QString log = withModel.log();
    const int runs = runsOf(kTimedRuns);

    const double before = median(llm->beforeModelMs);
    report("service_model_ours_before_model", before, kGoalMs, "ms");
    report("service_model_ours_before_model_vs_offline_first_field", before, median(off->firstFieldMs), "ms");
    report("service_model_upload_to_first_field", median(llm->firstFieldMs), median(off->firstFieldMs), "ms");
    report("service_model_upload_to_result", median(llm->resultMs), median(off->resultMs), "ms");
    report("service_model_cpu_per_upload", llm->cpuMsPerUpload, off->cpuMsPerUpload, "ms");
    const double visionBefore = median(vision->beforeModelMs);
    report("service_vision_model_ours_before_model", visionBefore, kGoalMs, "ms");
    report("service_vision_model_upload_to_first_field", median(vision->firstFieldMs),
           median(off->firstFieldMs), "ms");
    report("service_vision_model_upload_to_result", median(vision->resultMs), median(off->resultMs), "ms");
    // Each step beside the whole delay: the ratio is its share.
    const double decode = loggedMedian(log, QStringLiteral("decode"), runs);
    const double prepare = loggedMedian(log, QStringLiteral("preparation"), runs);
    const double recognise = loggedMedian(log, QStringLiteral("recognition"), runs);
    const double prompt = loggedMedian(log, QStringLiteral("prompt built in"), runs);
    report("service_model_step_jpeg_decode", decode, before, "ms");
    report("service_model_step_preparation", prepare, before, "ms");
    report("service_model_step_text_recognition", recognise, before, "ms");
    report("service_model_step_prompt_building", prompt, before, "ms");
    // Sending the upload, parsing it, queueing, and connecting to the model.
    report("service_model_step_upload_and_connect",
           std::max(0.0, before - decode - prepare - recognise - prompt), before, "ms");
    if (!stopped)
        return failed(QStringLiteral("a service did not end cleanly on SIGTERM"));
    return 0;
}
