// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/LineSplitter.h"
#include "service/Engine.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tavolen::service::llm {

// The text a model writes, taken out of an OpenAI-compatible chat-completions
// event stream ("data: {chunk}" lines, then "data: [DONE]") as its bytes
// arrive. Comment lines, blank lines, other event fields and chunks without
// text are skipped. An endpoint that ignores the stream flag and answers with
// one JSON completion is read too. One line (or that one answer) may not grow
// past `maxLine` bytes, so an endpoint that never ends a line cannot grow the
// buffer without bound.
class ChatStream {
public:
    using ContentSink = std::function<void(std::string_view)>;

    ChatStream(ContentSink onContent, std::size_t maxLine);

    // Reads the next bytes of the body, handing each piece of the model's
    // text to the sink; false once nothing more need be read.
    bool feed(std::string_view bytes);
    // The body has ended: reads what its last, unterminated line (or its one
    // JSON answer) holds.
    void finish();
    // The endpoint has said "[DONE]".
    bool finished() const { return m_finished; }
    // Why the stream cannot be used: an error the endpoint sent in the
    // stream ("model_unavailable"), or a line longer than allowed
    // ("model_output_too_large").
    const std::optional<EngineFailure> &failure() const { return m_failure; }
    // The model stopped because it reached its token limit.
    bool cutShort() const { return m_cutShort; }

private:
    // Known from the body's first character: "{" starts one whole answer.
    enum class Framing { Unknown, Events, WholeJson };

    void drainLines();
    void line(std::string_view text);
    void chunk(std::string_view payload);
    EngineFailure tooLarge() const;

    ContentSink m_onContent;
    std::size_t m_maxLine;
    protocol::LineSplitter m_lines;
    std::string m_whole; // the one JSON answer of an endpoint that does not stream
    Framing m_framing = Framing::Unknown;
    bool m_finished = false;
    bool m_cutShort = false;
    std::optional<EngineFailure> m_failure;
};

} // namespace tavolen::service::llm
