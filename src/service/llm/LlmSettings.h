// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <chrono>
#include <cstddef>

namespace tavolen::service::llm {

// How long the model endpoint may take. The idle limit also covers the wait
// for the first byte, which on a local model includes reading the prompt.
struct LlmTimeouts {
    std::chrono::milliseconds connect{std::chrono::seconds(10)};
    std::chrono::milliseconds idle{std::chrono::seconds(40)};
    std::chrono::milliseconds total{std::chrono::seconds(120)};
};

// How much the model endpoint may send. Every streamed token costs a chunk of
// a couple of hundred bytes, so the stream is allowed far more than the text.
struct LlmLimits {
    std::size_t max_stream_bytes = 8 * 1024 * 1024;
    std::size_t max_text_bytes = 256 * 1024; // the model's own text
    std::size_t max_line_bytes = 256 * 1024; // one line of the event stream
};

// Which OpenAI-compatible chat-completions endpoint reads the posts.
struct LlmSettings {
    // Up to the API version, e.g. "https://api.openai.com/v1" or
    // "http://127.0.0.1:11434/v1"; "/chat/completions" is appended.
    QString base_url{};
    QString model{};
    // Sent as a bearer token; local servers usually need none.
    QString api_key{};
    // Also send the screenshot, for models that can see.
    bool vision = false;
    LlmTimeouts timeouts{};
    LlmLimits limits{};
};

} // namespace tavolen::service::llm
