// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/Engine.h"

#include <cstddef>
#include <set>
#include <string>
#include <string_view>

namespace tavolen::service::llm {

// Reads a model's JSON answer while it is still being written and reports each
// early field (tone_label, summary, hidden_meaning, risk_level, risk_reason)
// the moment its string value has closed, so the panel can show the reading
// long before the replies are done. Only string members of the top-level
// object count; the same name is reported at most once. Text before the
// object (a ```json fence, prose, even with braces, a <think> block) and after
// it is ignored. The caller bounds how much text it feeds.
class StreamingJsonFields {
public:
    explicit StreamingJsonFields(FieldSink sink);

    // Takes the next piece of the model's text (UTF-8, split anywhere) and
    // reports the early fields it completes, in the order they close.
    void feed(std::string_view piece);
    // Whether the top-level object's closing brace has arrived.
    bool objectClosed() const { return m_phase == Phase::Done; }
    // The top-level object as written so far, from its "{" to its "}"
    // (or to the end of the text while it is still open); empty before it.
    std::string_view objectText() const;

private:
    // Candidate: a "{" seen in the preamble, not yet known to open the object.
    enum class Phase { Preamble, Candidate, Object, Done };

    void step(char c);
    void preambleStep(char c);
    void candidateStep(char c);
    void structureStep(char c);
    void stringStep(char c);
    void stringClosed();

    FieldSink m_sink;
    std::string m_text;
    std::size_t m_objectBegin = 0;
    std::size_t m_objectEnd = 0;
    Phase m_phase = Phase::Preamble;
    int m_depth = 0;
    bool m_thinking = false; // inside a <think> block before the object
    bool m_expectKey = false;
    bool m_inString = false;
    bool m_escaped = false; // the string's last character was a lone backslash
    // Where the string being read starts (its opening quote), and whether it
    // is a member name of the top-level object.
    std::size_t m_stringBegin = 0;
    bool m_stringIsKey = false;
    std::string m_key;
    std::set<std::string> m_reported;
};

} // namespace tavolen::service::llm
