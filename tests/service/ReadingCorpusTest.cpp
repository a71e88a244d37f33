// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The offline reading of every labelled post in tests/data/readings, read
// from its picture as the service reads an upload: the figures must stay at
// or above where they stand, which is above what a reader needs.

#include "bench/ReadingCorpus.h"
#include "service/OfflineEngine.h"
#include "service/TesseractExtractor.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>

#include <gtest/gtest.h>

using namespace tavolen;

namespace {

QByteArray jpegOf(const QString &png)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImage(png).convertToFormat(QImage::Format_RGB32).save(&buffer, "JPG", 85);
    return jpeg;
}

// The first summary streamed (from the page's first lines when it is read
// in two parts), and the finished reading's other fields.
test::PostReading readPost(service::TesseractExtractor &extractor, const QByteArray &jpeg)
{
    service::OfflineEngine engine;
    std::optional<QString> firstSummary;
    const auto onField = [&](const protocol::FieldEvent &e) {
        if (e.field == QLatin1String("summary") && !firstSummary)
            firstSummary = e.value;
    };
    const auto firstLines = engine.firstLinesReader(onField);
    const std::atomic<bool> cancelled{false};
    QElapsedTimer timer;
    timer.start();
    const std::optional<service::ExtractedText> text = extractor.extract(
        jpeg, cancelled, [&](const service::ExtractedText &part) { firstLines(part.text); });
    if (!text)
        return {};
    const auto outcome =
        engine.analyze({text->text, text->language, jpeg, QStringLiteral("en")}, onField, cancelled);
    const auto &r = std::get<protocol::AnalysisResult>(outcome);
    return {r.risk_level, r.tone, r.detected_language, firstSummary.value_or(r.summary),
            double(timer.nsecsElapsed()) / 1e6};
}

} // namespace

TEST(ReadingCorpus, ScamsAreCaughtBenignPostsSpareAndToneLanguageAndSummariesHold)
{
    const QList<test::CorpusPost> posts = test::loadReadingCorpus();
    ASSERT_GE(posts.size(), 80);
    service::TesseractExtractor extractor(QStringLiteral("eng+chi_sim"), QString(), 1);
    ASSERT_TRUE(extractor.error().isEmpty()) << extractor.error().toStdString();
    QList<test::PostReading> readings;
    for (const test::CorpusPost &post : posts) {
        const QString png = QDir(test::readingCorpusDir()).filePath(post.id + QStringLiteral(".png"));
        ASSERT_TRUE(QFile::exists(png)) << "draw it with tavolen-bench render-corpus: " << png.toStdString();
        readings << readPost(extractor, jpegOf(png));
    }
    const test::CorpusScore score = test::scoreReadings(posts, readings);
    SCOPED_TRACE(score.table.toStdString());
    EXPECT_GE(score.highRecall(), 0.97);
    EXPECT_GE(score.highPrecision(), 0.97);
    EXPECT_LE(score.falseHigh(), 0.02);
    EXPECT_EQ(score.sarcasticAsFriendly, 0);
    EXPECT_GE(score.languageAccuracy, 0.95);
    EXPECT_GE(score.cleanSummaries, 0.93);
    EXPECT_GE(score.toneAccuracy, 0.84);
}
