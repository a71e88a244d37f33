// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/UploadForm.h"

#include <optional>
#include <string>
#include <string_view>

namespace tavolen::service {

// The boundary of a "multipart/form-data; boundary=..." content type, or
// nullopt for any other type or a boundary that the format does not allow.
std::optional<std::string> multipartBoundary(std::string_view contentType);

// Walks a whole multipart/form-data body and hands each part's name and
// content to `form`. Strict about the framing the app writes: the body
// starts with the first delimiter, every part names itself with a
// Content-Disposition header, and the closing delimiter ends the parts.
// False when the body is malformed or `form` stopped the reading (its
// stopReason() then says why).
bool readMultipart(std::string_view body, std::string_view boundary, UploadForm &form);

} // namespace tavolen::service
