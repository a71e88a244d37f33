// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/TesseractExtractor.h"

#include "core/Log.h"
#include "service/JpegDecoding.h"
#include "service/OtherScripts.h"
#include "service/PageBands.h"
#include "service/TextScript.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <QStringList>

#include <chrono>
#include <thread>

namespace tavolen::service {

namespace {

using namespace std::chrono_literals;

// Lines the recogniser is less sure of than this are mostly icons, avatars
// and rules read as letters; dropping them keeps noise out of the reading.
constexpr float kMinLineConfidence = 45.0f;
// Small crops are enlarged: Tesseract reads best at a cap height of about
// 30 pixels, and screen text is often half of that.
constexpr long long kEnlargeBelowPixels = 1'000'000;

struct PixDeleter {
    void operator()(Pix *p) const { pixDestroy(&p); }
};
using PixPtr = std::unique_ptr<Pix, PixDeleter>;

// Grey, dark text on light ground, large enough to read: what Tesseract
// handles best. Dark-mode screenshots are inverted.
PixPtr prepare(PixPtr pix)
{
    PixPtr grey(pixConvertTo8(pix.get(), 0));
    if (!grey)
        return pix;
    float mean = 255;
    if (pixGetAverageMasked(grey.get(), nullptr, 0, 0, 4, L_MEAN_ABSVAL, &mean) == 0 && mean < 110)
        pixInvert(grey.get(), grey.get());
    const long long pixels = (long long)pixGetWidth(grey.get()) * pixGetHeight(grey.get());
    if (pixels < kEnlargeBelowPixels) {
        if (PixPtr larger{pixScaleGrayLI(grey.get(), 2.0f, 2.0f)})
            return larger;
    }
    return grey;
}

// What ends a recognition early: the client left, or the budget is spent.
struct Stop {
    const std::atomic<bool> &cancelled;
    std::chrono::steady_clock::time_point deadline;
    // Set from every recogniser reading a band of the page.
    std::atomic<bool> overdue = false;

    bool now()
    {
        if (std::chrono::steady_clock::now() > deadline)
            overdue = true;
        return overdue || cancelled;
    }
};

bool stopRequested(void *stop, int)
{
    return static_cast<Stop *>(stop)->now();
}

// The lines of rows [top, bottom) of `page`, sure or not. A crop of its
// own, since Tesseract 5.3 misreads a rectangle set at the top of a larger
// image.
QList<ReadLine> recognise(tesseract::TessBaseAPI &api, Pix *page, int top, int bottom, Stop &stop)
{
    if (stop.now())
        return {};
    PixPtr crop;
    if (top > 0 || bottom < pixGetHeight(page)) {
        Box *box = boxCreate(0, top, pixGetWidth(page), bottom - top);
        crop.reset(pixClipRectangle(page, box, nullptr));
        boxDestroy(&box);
        if (!crop)
            return {};
    }
    api.SetImage(crop ? crop.get() : page);
    // Screens are about 96 dpi; without it Tesseract guesses and says so.
    api.SetSourceResolution(96);
    tesseract::ETEXT_DESC monitor;
    monitor.cancel = &stopRequested;
    monitor.cancel_this = &stop;
    QList<ReadLine> lines;
    if (api.Recognize(&monitor) == 0 && !stop.now()) {
        std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
        if (it) {
            do {
                int l = 0, t = 0, r = 0, b = 0;
                it->BoundingBox(tesseract::RIL_TEXTLINE, &l, &t, &r, &b);
                const std::unique_ptr<char[]> line(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
                if (line)
                    lines << ReadLine{QString::fromUtf8(line.get()).trimmed(), top + t, top + b,
                                      it->Confidence(tesseract::RIL_TEXTLINE) >= kMinLineConfidence};
            } while (it->Next(tesseract::RIL_TEXTLINE));
        }
    }
    return lines;
}

QString keptText(const QList<ReadLine> &lines)
{
    QStringList kept;
    for (const ReadLine &l : lines)
        if (l.kept && !l.text.isEmpty())
            kept << l.text;
    return kept.join(QLatin1Char('\n'));
}

// The lines of `page` cut at `cuts`, each band read by a recogniser of its
// own at the same time: the first by `api` on this thread, band i by
// helpers[i - 1]. Joined top to bottom, as one recogniser would read them.
QList<ReadLine> recogniseBands(tesseract::TessBaseAPI &api,
                               const std::vector<tesseract::TessBaseAPI *> &helpers, Pix *page,
                               const std::vector<int> &cuts, Stop &stop)
{
    std::vector<int> edges{0};
    edges.insert(edges.end(), cuts.begin(), cuts.end());
    edges.push_back(pixGetHeight(page));
    std::vector<QList<ReadLine>> bands(edges.size() - 1);
    std::vector<std::thread> readers;
    for (std::size_t i = 1; i + 1 < edges.size(); ++i)
        readers.emplace_back(
            [&, i] { bands[i] = recognise(*helpers[i - 1], page, edges[i], edges[i + 1], stop); });
    bands[0] = recognise(api, page, edges[0], edges[1], stop);
    for (std::thread &reader : readers)
        reader.join();
    QList<ReadLine> lines;
    for (const QList<ReadLine> &band : bands)
        lines << band;
    return lines;
}

} // namespace

TesseractExtractor::TesseractExtractor(const QString &languages, const QString &dataDir, int instances)
{
    setMsgSeverity(L_SEVERITY_NONE);
    const QByteArray lang = languages.toUtf8();
    const QByteArray data = dataDir.toLocal8Bit();
    for (int i = 0; i < std::max(1, instances); ++i) {
        auto api = std::make_unique<tesseract::TessBaseAPI>();
        if (api->Init(data.isEmpty() ? nullptr : data.constData(), lang.constData(),
                      tesseract::OEM_LSTM_ONLY) != 0) {
            m_error = QStringLiteral("Tesseract could not load the languages \"%1\"%2")
                          .arg(languages, dataDir.isEmpty() ? QString() : QStringLiteral(" from ") + dataDir);
            break;
        }
        api->SetVariable("debug_file", "/dev/null");
        api->SetPageSegMode(tesseract::PSM_AUTO);
        m_free.push_back(api.get());
        m_all.push_back(std::move(api));
    }
    if (!m_all.empty()) {
        m_error.clear();
        auto others = std::make_unique<OtherScripts>(QString::fromLocal8Bit(m_all.front()->GetDatapath()));
        if (others->any())
            m_otherScripts = std::move(others);
    }
}

TesseractExtractor::~TesseractExtractor()
{
    for (auto &api : m_all)
        api->End();
}

tesseract::TessBaseAPI *TesseractExtractor::acquire(const std::atomic<bool> &cancelled)
{
    std::unique_lock lock(m_mutex);
    while (m_free.empty()) {
        if (cancelled || m_all.empty())
            return nullptr;
        m_returned.wait_for(lock, 100ms);
    }
    tesseract::TessBaseAPI *api = m_free.back();
    m_free.pop_back();
    return api;
}

std::vector<tesseract::TessBaseAPI *> TesseractExtractor::acquireIdle(std::size_t most)
{
    const std::lock_guard lock(m_mutex);
    std::vector<tesseract::TessBaseAPI *> taken;
    while (taken.size() < most && !m_free.empty()) {
        taken.push_back(m_free.back());
        m_free.pop_back();
    }
    return taken;
}

void TesseractExtractor::release(tesseract::TessBaseAPI *api)
{
    {
        const std::lock_guard lock(m_mutex);
        m_free.push_back(api);
    }
    m_returned.notify_one();
}

std::optional<ExtractedText> TesseractExtractor::extract(const QByteArray &jpeg,
                                                         const std::atomic<bool> &cancelled,
                                                         const TextSoFar &onPart)
{
    const std::optional<QSize> size = jpegSize(jpeg);
    if (!size || (long long)size->width() * size->height() > kMaxPixels)
        return std::nullopt;
    // Decoded pictures are the bulk of the memory a request takes: decode
    // only with a recogniser in hand, so at most one a recogniser exists.
    tesseract::TessBaseAPI *api = acquire(cancelled);
    if (!api)
        return ExtractedText{};
    using Clock = std::chrono::steady_clock;
    const auto began = Clock::now();
    PixPtr pix(decodeGreyJpeg(jpeg));
    if (!pix) {
        release(api);
        return std::nullopt;
    }
    Stop stop{cancelled, std::chrono::steady_clock::now() + m_budget};
    const auto decoded = Clock::now();
    const PixPtr page = prepare(std::move(pix));
    const auto prepared = Clock::now();
    const int height = pixGetHeight(page.get());
    const int split = onPart ? firstLinesSplitRow(page.get()) : 0;
    QList<ReadLine> lines;
    if (split > 0) {
        lines = recognise(*api, page.get(), 0, split, stop);
        if (!stop.now()) {
            const QString first = joinCjk(keptText(lines));
            onPart(ExtractedText{first, guessTextLanguage(first)});
        }
        lines << recognise(*api, page.get(), split, height, stop);
    } else {
        // Recognisers no other upload is using read bands of the page at
        // the same time: a lone upload, as when the model waits for the
        // text, is read in about half the time on two cores. Under load
        // there are none idle, and each upload keeps to its own recogniser.
        std::vector<tesseract::TessBaseAPI *> helpers = acquireIdle(m_all.size() - 1);
        const std::vector<int> cuts = bandCuts(page.get(), int(helpers.size()) + 1);
        while (helpers.size() > cuts.size()) {
            release(helpers.back());
            helpers.pop_back();
        }
        lines = recogniseBands(*api, helpers, page.get(), cuts, stop);
        for (tesseract::TessBaseAPI *helper : helpers) {
            helper->Clear();
            release(helper);
        }
    }
    api->Clear();
    release(api);
    if (m_otherScripts)
        m_otherScripts->rescue(lines, page.get(), [&stop] { return stop.now(); });
    const auto msSince = [](Clock::time_point from, Clock::time_point to) {
        return std::chrono::duration<double, std::milli>(to - from).count();
    };
    // Times only, for the benchmark's breakdown of a reading's delay.
    qCDebug(lcService).noquote() << QStringLiteral("text recognition steps: decode %1 ms, preparation %2 ms, "
                                                   "recognition %3 ms")
                                        .arg(msSince(began, decoded), 0, 'f', 1)
                                        .arg(msSince(decoded, prepared), 0, 'f', 1)
                                        .arg(msSince(prepared, Clock::now()), 0, 'f', 1);
    if (stop.overdue)
        return std::nullopt;

    ExtractedText out;
    out.text = joinCjk(keptText(lines));
    out.language = guessTextLanguage(out.text);
    return out;
}

} // namespace tavolen::service
