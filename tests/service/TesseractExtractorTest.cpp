// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenderedScreenshot.h"
#include "RunningService.h"

#include "service/TesseractExtractor.h"
#include "service/TextScript.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace tavolen;
using tavolen::test::peakResidentKiB;
using tavolen::test::renderJpeg;

namespace {

// The share of `expected`'s words (or, for Chinese, characters) found in `text`.
double shareFound(const QString &expected, const QString &text, bool characters)
{
    const QString haystack = text.toLower();
    const QStringList units = characters
                                  ? [&] {
                                        QStringList out;
                                        for (const QChar c : expected)
                                            if (c.isLetter())
                                                out << QString(c);
                                        return out;
                                    }()
                                  : expected.toLower().split(QRegularExpression(QStringLiteral("\\W+")),
                                                             Qt::SkipEmptyParts);
    qsizetype found = 0;
    for (const QString &u : units)
        found += haystack.contains(u) ? 1 : 0;
    return units.isEmpty() ? 0 : double(found) / double(units.size());
}

class TesseractExtractorTest : public ::testing::Test {
protected:
    // Loading the models takes about a second: once for the suite.
    static void SetUpTestSuite()
    {
        extractor = new service::TesseractExtractor(QStringLiteral("eng+chi_sim"), QString(), 1);
    }
    static void TearDownTestSuite()
    {
        delete extractor;
        extractor = nullptr;
    }
    static std::optional<service::ExtractedText> read(const QByteArray &jpeg)
    {
        const std::atomic<bool> running{false};
        return extractor->extract(jpeg, running, {});
    }
    static service::TesseractExtractor *extractor;
};

service::TesseractExtractor *TesseractExtractorTest::extractor = nullptr;

TEST_F(TesseractExtractorTest, ReadsMostWordsOfARenderedEnglishPostLightOrDark)
{
    ASSERT_TRUE(extractor->error().isEmpty()) << extractor->error().toStdString();
    const QStringList post = {QStringLiteral("Thanks for the lovely photos from the trip!"),
                              QStringLiteral("See you at the meeting on Friday morning.")};
    for (const bool dark : {false, true}) {
        QElapsedTimer clock;
        clock.start();
        const auto text = read(renderJpeg(post, QStringLiteral("DejaVu Sans"), dark));
        ASSERT_TRUE(text);
        EXPECT_GE(shareFound(post.join(' '), text->text, false), 0.8)
            << dark << ": " << text->text.toStdString();
        EXPECT_EQ(text->language, "en");
        EXPECT_EQ(text->text.count('\n'), 1) << "one line of text a line of the picture";
        EXPECT_LT(clock.elapsed(), 4000);
    }
}

TEST_F(TesseractExtractorTest, ReadsChineseWithItsCharactersJoined)
{
    const QStringList post = {QStringLiteral("今天天气很好，我们一起去公园散步吧。"),
                              QStringLiteral("晚上七点在学校门口见面。")};
    const auto text = read(renderJpeg(post, QStringLiteral("WenQuanYi Micro Hei")));
    ASSERT_TRUE(text);
    EXPECT_GE(shareFound(post.join(QString()), text->text, true), 0.8) << text->text.toStdString();
    EXPECT_FALSE(text->text.contains(
        QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}] +[\\x{4e00}-\\x{9fff}]"))))
        << text->text.toStdString();
    EXPECT_EQ(text->language, "zh");
}

TEST_F(TesseractExtractorTest, APictureWithoutTextOrStoppedBeforeTheStartGivesNoTextAndWhatIsNoJpegIsRefused)
{
    const auto blank = read(renderJpeg({}, QStringLiteral("DejaVu Sans"), false, {800, 400}));
    ASSERT_TRUE(blank);
    EXPECT_EQ(blank->text, "");
    EXPECT_EQ(blank->language, "");
    const std::atomic<bool> cancelled{true};
    const auto stopped = extractor->extract(
        renderJpeg({QStringLiteral("Nothing to see here")}, QStringLiteral("DejaVu Sans")), cancelled, {});
    ASSERT_TRUE(stopped);
    EXPECT_EQ(stopped->text, "") << "a stop request before the start reads nothing";

    const QByteArray jpeg = renderJpeg({QStringLiteral("Hello")}, QStringLiteral("DejaVu Sans"));
    EXPECT_FALSE(read(QByteArray("\x89PNG\r\n\x1a\n0000")));
    EXPECT_FALSE(read(QByteArray()));
    EXPECT_FALSE(read(jpeg.left(20))) << "a header cut short";
    QByteArray garbled = jpeg.left(2) + QByteArray(jpeg.size() - 2, '\x55');
    EXPECT_FALSE(read(garbled));
}

TEST_F(TesseractExtractorTest, APictureOfMoreThanTenMillionPixelsIsRefusedBeforeItIsDecoded)
{
    EXPECT_TRUE(
        read(renderJpeg({QStringLiteral("Hello")}, QStringLiteral("DejaVu Sans"), false, {3840, 2160})))
        << "a whole 4K screen is read";
    // 6300 x 6300 blank pixels: some 150 KB of JPEG, 40 M pixels.
    const QByteArray huge = renderJpeg({}, QStringLiteral("DejaVu Sans"), false, {6300, 6300});
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    ASSERT_TRUE(clear.open(QIODevice::WriteOnly) && clear.write("5") == 1) << "resets the peak";
    clear.close();
    const long before = peakResidentKiB();
    EXPECT_FALSE(read(huge));
    EXPECT_LT(peakResidentKiB() - before, 16 * 1024) << "decoding it costs hundreds of MB";
}

TEST_F(TesseractExtractorTest, ATallPageGivesItsFirstLinesBeforeTheRest)
{
    QStringList page;
    for (const char *line :
         {"Opening line about the harbour.", "Second line about the boats.", "",
          "Third line about the market.", "Fourth line about the bridge.", "Fifth line about the station.",
          "Sixth line about the museum.", "Seventh line about the garden.", "Eighth line about the library."})
        page << QString::fromLatin1(line);
    const std::atomic<bool> running{false};
    QList<service::ExtractedText> parts;
    const auto text = extractor->extract(renderJpeg(page, QStringLiteral("DejaVu Sans")), running,
                                         [&](const service::ExtractedText &part) { parts << part; });
    ASSERT_TRUE(text);
    ASSERT_EQ(parts.size(), 1);
    EXPECT_TRUE(parts[0].text.contains(QStringLiteral("harbour"))) << parts[0].text.toStdString();
    EXPECT_FALSE(parts[0].text.contains(QStringLiteral("library"))) << parts[0].text.toStdString();
    EXPECT_EQ(parts[0].language, "en");
    EXPECT_TRUE(text->text.startsWith(parts[0].text)) << text->text.toStdString();
    EXPECT_GE(shareFound(page.join(' '), text->text, false), 0.8) << text->text.toStdString();

    parts.clear();
    const auto short_ = extractor->extract(renderJpeg(page.mid(0, 2), QStringLiteral("DejaVu Sans")), running,
                                           [&](const service::ExtractedText &part) { parts << part; });
    EXPECT_TRUE(parts.isEmpty()) << "a short page is read in one go";
}

TEST_F(TesseractExtractorTest, APageReadInBandsByIdleRecognisersLosesNoLineEnglishOrChinese)
{
    // Chinese in the middle, where the page is cut in two: a line lost at a
    // band's edge, or read as English, shows here.
    const QStringList page = {QStringLiteral("Lost my blue backpack on the bus this morning."),
                              QStringLiteral("It has my laptop and a notebook in it."),
                              QStringLiteral("今天早上在公交车上丢了一个蓝色背包。"),
                              QStringLiteral("捡到的请联系我，谢谢大家。"),
                              QStringLiteral("Please message me if you found it, thank you!")};
    const QByteArray jpeg = renderJpeg(page, QStringLiteral("WenQuanYi Micro Hei"));
    service::TesseractExtractor two(QStringLiteral("eng+chi_sim"), QString(), 2);
    ASSERT_TRUE(two.error().isEmpty()) << two.error().toStdString();
    const std::atomic<bool> running{false};
    const auto banded = two.extract(jpeg, running, {});
    const auto whole = read(jpeg);
    ASSERT_TRUE(banded && whole);
    const QString english = (page.mid(0, 2) + page.mid(4)).join(' ');
    EXPECT_GE(shareFound(english, banded->text, false), 0.9) << banded->text.toStdString();
    // Whatever one recogniser finds on the whole page, the bands find too:
    // every line, and in each its words or characters.
    const QStringList wholeLines = whole->text.split('\n');
    const QStringList bandedLines = banded->text.split('\n');
    ASSERT_EQ(bandedLines.size(), wholeLines.size())
        << "banded: " << banded->text.toStdString() << "\nwhole: " << whole->text.toStdString();
    for (qsizetype i = 0; i < wholeLines.size(); ++i) {
        const bool chinese = service::guessTextLanguage(wholeLines[i]) == QLatin1String("zh");
        EXPECT_GE(shareFound(wholeLines[i], bandedLines[i], chinese), 0.8)
            << "banded: " << bandedLines[i].toStdString() << "\nwhole: " << wholeLines[i].toStdString();
    }
    EXPECT_GE(shareFound(page.mid(2, 2).join(QString()), banded->text, true),
              shareFound(page.mid(2, 2).join(QString()), whole->text, true) - 0.1);
    EXPECT_EQ(banded->language, whole->language);
}

TEST_F(TesseractExtractorTest, APictureThatTakesTooLongIsGivenUpAndItsRecogniserServesTheNext)
{
    // Sixty lines of text take this recogniser seconds.
    QStringList page;
    for (int i = 0; i < 60; ++i)
        page << QStringLiteral("Line %1 of a long page of small print that keeps the reader busy").arg(i);
    extractor->setBudget(std::chrono::milliseconds(300));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(read(renderJpeg(page, QStringLiteral("DejaVu Sans"))));
    EXPECT_LT(clock.elapsed(), 2000) << "the recogniser was held past its budget";
    extractor->setBudget(std::chrono::seconds(20));
    const auto text = read(renderJpeg({QStringLiteral("Still reading")}, QStringLiteral("DejaVu Sans")));
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->text.contains(QStringLiteral("reading"))) << text->text.toStdString();
}

// Everything written to the process's stderr, the service's log, between
// its construction and finish().
class StderrCapture {
public:
    StderrCapture()
    {
        m_file.open();
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        ::dup2(m_file.handle(), STDERR_FILENO);
    }
    QByteArray finish()
    {
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_file.seek(0);
        return m_file.readAll();
    }

private:
    QTemporaryFile m_file;
    int m_saved = -1;
};

TEST_F(TesseractExtractorTest, ADamagedPictureIsReadAsFarAsItGoesWithoutTheDecoderWritingToTheLog)
{
    const QByteArray jpeg =
        renderJpeg({QStringLiteral("Meet me at the station"), QStringLiteral("at half past nine")},
                   QStringLiteral("DejaVu Sans"));
    StderrCapture capture;
    const auto cut = read(jpeg.left(jpeg.size() * 3 / 4));
    const auto padded = read(jpeg.chopped(2) + QByteArray(64, '\x11') + "\xFF\xD9");
    const QByteArray written = capture.finish();
    EXPECT_TRUE(written.isEmpty()) << written.toStdString();
    ASSERT_TRUE(cut) << "a picture cut short is still a picture";
    EXPECT_TRUE(cut->text.contains(QStringLiteral("station"))) << cut->text.toStdString();
    ASSERT_TRUE(padded);
    EXPECT_TRUE(padded->text.contains(QStringLiteral("half past"))) << padded->text.toStdString();
}

} // namespace
