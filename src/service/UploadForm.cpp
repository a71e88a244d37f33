// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/UploadForm.h"

#include <nlohmann/json.hpp>

namespace tavolen::service {

UploadForm::UploadForm(std::int64_t maxBytes, Clock::time_point deadline)
    : m_maxBytes(maxBytes), m_deadline(deadline)
{}

bool UploadForm::withinBudget(std::size_t more)
{
    m_received += std::int64_t(more);
    if (m_received > m_maxBytes)
        m_stop = Stop::TooLarge;
    else if (Clock::now() > m_deadline)
        m_stop = Stop::TooSlow;
    return m_stop == Stop::None;
}

bool UploadForm::beginPart(const std::string &name)
{
    if (++m_parts > kMaxParts) {
        m_stop = Stop::TooManyParts;
        return false;
    }
    // A second meta or image part would leave which one counts to chance.
    if ((name == "meta" && m_sawMeta) || (name == "image" && m_sawImage)) {
        m_stop = Stop::DuplicatePart;
        return false;
    }
    if (name == "meta") {
        m_part = Part::Meta;
        m_sawMeta = true;
    } else if (name == "image") {
        m_part = Part::Image;
        m_sawImage = true;
    } else {
        m_part = Part::Other;
    }
    return withinBudget(0);
}

bool UploadForm::addData(const char *data, std::size_t size)
{
    if (!withinBudget(size))
        return false;
    if (m_part == Part::Meta) {
        if (m_meta.size() + qsizetype(size) > kMaxMetaBytes) {
            m_stop = Stop::TooLarge;
            return false;
        }
        m_meta.append(data, qsizetype(size));
    } else if (m_part == Part::Image) {
        m_image.append(data, qsizetype(size));
    }
    return true;
}

bool UploadForm::discard(std::size_t size)
{
    return withinBudget(size);
}

std::variant<Upload, ServiceError> UploadForm::finish(const QString &headerLanguage) const
{
    const bool zh = prefersChinese(headerLanguage);
    if (!m_sawMeta || !m_sawImage)
        return ServiceError::badRequest(zh);
    const auto meta = nlohmann::json::parse(m_meta.constBegin(), m_meta.constEnd(), nullptr, false);
    if (meta.is_discarded() || !meta.is_object())
        return ServiceError::badRequest(zh);
    Upload upload;
    upload.uiLanguage = headerLanguage;
    if (const auto it = meta.find("ui_language"); it != meta.end() && !it->is_null()) {
        if (!it->is_string())
            return ServiceError::badRequest(zh);
        upload.uiLanguage = QString::fromStdString(it->get<std::string>()).left(35);
    }
    if (m_image.isEmpty())
        return ServiceError::badRequest(zh);
    // Every JPEG starts with a start-of-image marker and another marker.
    if (m_image.size() < 4 || !m_image.startsWith("\xFF\xD8\xFF"))
        return ServiceError::unsupportedImage(zh);
    upload.jpeg = m_image;
    return upload;
}

} // namespace tavolen::service
