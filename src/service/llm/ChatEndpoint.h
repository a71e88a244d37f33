// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>
#include <string>

namespace tavolen::service::llm {

// Where a chat-completions request goes: the server ("https://host:port")
// and the request target on it ("/v1/chat/completions", with any query the
// base URL carries).
struct ChatEndpoint {
    std::string origin;
    std::string target;
};

// The endpoint under an OpenAI-compatible base URL; nullopt unless it is an
// absolute http or https URL with a host and without user information.
std::optional<ChatEndpoint> chatEndpoint(const QString &baseUrl);

} // namespace tavolen::service::llm
