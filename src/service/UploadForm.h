// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/ServiceError.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <string>
#include <variant>

namespace tavolen::service {

// One upload as the engines need it.
struct Upload {
    // From the meta part; the Accept-Language header when it has none.
    QString uiLanguage;
    QByteArray jpeg;
};

// Collects the parts of a multipart upload as they arrive, within a size
// and a time budget, and checks the whole once it is in: a meta part
// holding a JSON object, and an image part holding a JPEG.
class UploadForm {
public:
    using Clock = std::chrono::steady_clock;
    UploadForm(std::int64_t maxBytes, Clock::time_point deadline);

    // Each returns false to stop reading; stopReason() then says why.
    bool beginPart(const std::string &name);
    bool addData(const char *data, std::size_t size);
    // For a body that is not a multipart form: read and dropped.
    bool discard(std::size_t size);

    enum class Stop { None, TooLarge, TooSlow, TooManyParts, DuplicatePart };
    Stop stopReason() const { return m_stop; }

    // The upload, or why it is refused. `headerLanguage` is the
    // Accept-Language header, which also chooses the messages' language.
    std::variant<Upload, ServiceError> finish(const QString &headerLanguage) const;

    // A meta document is about 70 bytes.
    static constexpr std::int64_t kMaxMetaBytes = 64 * 1024;
    static constexpr int kMaxParts = 8;

private:
    bool withinBudget(std::size_t more);

    std::int64_t m_maxBytes;
    Clock::time_point m_deadline;
    std::int64_t m_received = 0;
    int m_parts = 0;
    enum class Part { None, Meta, Image, Other } m_part = Part::None;
    bool m_sawMeta = false;
    bool m_sawImage = false;
    QByteArray m_meta;
    QByteArray m_image;
    Stop m_stop = Stop::None;
};

} // namespace tavolen::service
