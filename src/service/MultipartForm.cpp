// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/MultipartForm.h"

#include <algorithm>
#include <cctype>

namespace tavolen::service {

namespace {

constexpr std::string_view kCrlf = "\r\n";
// A part's own headers are a line or three; more is not a form the app sent.
constexpr std::size_t kMaxPartHeaderBytes = 4 * 1024;

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The value of `name` among "; key=value" parameters, unquoted.
std::optional<std::string> parameter(std::string_view params, std::string_view name)
{
    while (!params.empty()) {
        const std::size_t semicolon = params.find(';');
        const std::string_view item = trimmed(params.substr(0, semicolon));
        params = semicolon == std::string_view::npos ? std::string_view() : params.substr(semicolon + 1);
        const std::size_t eq = item.find('=');
        if (eq == std::string_view::npos || !equalsIgnoringCase(trimmed(item.substr(0, eq)), name))
            continue;
        std::string_view value = trimmed(item.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        return std::string(value);
    }
    return std::nullopt;
}

// The form field name of a part, from its headers.
std::optional<std::string> partName(std::string_view headers)
{
    std::optional<std::string> name;
    while (!headers.empty()) {
        const std::size_t end = headers.find(kCrlf);
        const std::string_view line = headers.substr(0, end);
        headers = end == std::string_view::npos ? std::string_view() : headers.substr(end + kCrlf.size());
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            return std::nullopt;
        if (!equalsIgnoringCase(trimmed(line.substr(0, colon)), "content-disposition"))
            continue;
        const std::string_view value = trimmed(line.substr(colon + 1));
        const std::size_t semicolon = value.find(';');
        if (name || semicolon == std::string_view::npos ||
            !equalsIgnoringCase(trimmed(value.substr(0, semicolon)), "form-data"))
            return std::nullopt;
        name = parameter(value.substr(semicolon + 1), "name");
        if (!name)
            return std::nullopt;
    }
    return name;
}

} // namespace

std::optional<std::string> multipartBoundary(std::string_view contentType)
{
    const std::size_t semicolon = contentType.find(';');
    if (semicolon == std::string_view::npos ||
        !equalsIgnoringCase(trimmed(contentType.substr(0, semicolon)), "multipart/form-data"))
        return std::nullopt;
    std::optional<std::string> boundary = parameter(contentType.substr(semicolon + 1), "boundary");
    // RFC 2046: 1 to 70 characters, not ending in a space.
    if (!boundary || boundary->empty() || boundary->size() > 70 || boundary->back() == ' ')
        return std::nullopt;
    return boundary;
}

bool readMultipart(std::string_view body, std::string_view boundary, UploadForm &form)
{
    const std::string first = "--" + std::string(boundary);
    const std::string delimiter = "\r\n" + first;
    if (!body.starts_with(first))
        return false;
    std::string_view rest = body.substr(first.size());
    for (;;) {
        if (rest.starts_with("--"))
            return true; // the closing delimiter; what follows is ignored
        if (!rest.starts_with(kCrlf))
            return false;
        rest.remove_prefix(kCrlf.size());
        const std::size_t headersEnd = rest.find("\r\n\r\n");
        if (headersEnd == std::string_view::npos || headersEnd > kMaxPartHeaderBytes)
            return false;
        const std::optional<std::string> name = partName(rest.substr(0, headersEnd));
        if (!name)
            return false;
        rest.remove_prefix(headersEnd + 4);
        const std::size_t contentEnd = rest.find(delimiter);
        if (contentEnd == std::string_view::npos)
            return false;
        if (!form.beginPart(*name) || !form.addData(rest.data(), contentEnd))
            return false;
        rest.remove_prefix(contentEnd + delimiter.size());
    }
}

} // namespace tavolen::service
