// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/Engine.h"
#include "service/llm/ChatEndpoint.h"
#include "service/llm/LlmSettings.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tavolen::service::llm {

// One streamed POST to a chat-completions endpoint.
struct ChatCallRequest {
    ChatEndpoint endpoint;
    std::string apiKey; // empty: no Authorization header
    std::string body;
    LlmTimeouts timeouts;
    std::size_t maxStreamBytes = 0;
};

// Receives the body of a 200 answer as it arrives; returns false once it
// needs no more, which ends the call without a failure.
using ChatBodySink = std::function<bool(std::string_view)>;

// Sends the request and feeds a 200 answer's body to `sink` on the calling
// thread. nullopt when the body ended or the sink had enough; otherwise why
// not: the endpoint's status, no connection, a time-out (connect, idle or
// total), a body over the size limit, or "cancelled" soon after `cancelled`
// turns true, even while the endpoint sends nothing.
std::optional<EngineFailure> runChatCall(const ChatCallRequest &request, const ChatBodySink &sink,
                                         const std::atomic<bool> &cancelled);

} // namespace tavolen::service::llm
