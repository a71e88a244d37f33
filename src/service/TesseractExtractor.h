// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/TextExtractor.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace tesseract {
class TessBaseAPI;
}

namespace tavolen::service {

class OtherScripts;

// Text recognition with Tesseract. The recognisers are loaded once, here,
// and lent to one request at a time: one must never serve two threads.
class TesseractExtractor : public TextExtractor {
public:
    // Loads `instances` recognisers for `languages` ("eng+chi_sim") from
    // `dataDir` (empty: Tesseract's default). See error() for the outcome.
    TesseractExtractor(const QString &languages, const QString &dataDir, int instances);
    ~TesseractExtractor() override;

    // Why no recogniser could be loaded; empty when ready.
    QString error() const { return m_error; }
    int instances() const { return int(m_all.size()); }

    // Pages of some height are read in two parts, the first lines first;
    // without `onPart`, a page is read in bands by the recognisers idle at
    // the time, all at once. A
    // picture that takes longer than the budget to read is given up on like
    // one that cannot be decoded, so the recogniser is free again for the
    // next upload.
    std::optional<ExtractedText> extract(const QByteArray &jpeg, const std::atomic<bool> &cancelled,
                                         const TextSoFar &onPart) override;

    // The largest picture decoded; a bigger one is refused before decoding,
    // from its header alone. The app sends at most 1600 pixels on the long
    // edge; this leaves room for a whole 4K screen from another client, and
    // a small JPEG of 40 M blank pixels would decode to hundreds of MB.
    static constexpr long long kMaxPixels = 10'000'000;
    // Inside the app's wait for a plain answer (25 s without a byte).
    void setBudget(std::chrono::milliseconds budget) { m_budget = budget; }

private:
    tesseract::TessBaseAPI *acquire(const std::atomic<bool> &cancelled);
    // Up to `most` recognisers that are free now, without waiting.
    std::vector<tesseract::TessBaseAPI *> acquireIdle(std::size_t most);
    void release(tesseract::TessBaseAPI *api);

    std::chrono::milliseconds m_budget{20000};
    QString m_error;
    std::vector<std::unique_ptr<tesseract::TessBaseAPI>> m_all;
    std::mutex m_mutex;
    std::condition_variable m_returned;
    std::vector<tesseract::TessBaseAPI *> m_free;
    // Set when the models of another script are installed beside ours.
    std::unique_ptr<OtherScripts> m_otherScripts;
};

} // namespace tavolen::service
