// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace tavolen::protocol {

// The service's answers, decoded strictly and never changed afterwards. Field
// names are the JSON keys; an absent optional text is distinct from "".

struct Flags {
    bool no_text_detected = false;
    bool sensitive_pii = false;
    bool unsupported = false;
    bool operator==(const Flags &) const = default;
};

struct AnalysisResult {
    QString platform;
    QString content_type;
    QString detected_language;
    QString summary;
    std::optional<QString> hidden_meaning;
    std::optional<QString> full_translation;
    QString tone;
    std::optional<QString> tone_label;
    QString intent;
    QString risk_level;
    std::optional<QString> risk_reason;
    QString recommended_action;
    QString action_reason;
    bool auto_copy = false;
    std::optional<bool> respondable;
    std::optional<QString> reply_language;
    std::optional<QString> best_reply;
    std::optional<QString> short_reply;
    std::optional<QString> alternative_reply;
    std::optional<QString> best_reply_label;
    std::optional<QString> alternative_reply_label;
    std::optional<QString> best_reply_gloss;
    std::optional<QString> short_reply_gloss;
    std::optional<QString> alternative_reply_gloss;
    Flags flags;
    bool operator==(const AnalysisResult &) const = default;
};

struct AnalyzeEnvelope {
    QString request_id;
    QString schema_version;
    QString model;
    QString path;
    std::int64_t latency_ms = 0;
    AnalysisResult result;
    bool operator==(const AnalyzeEnvelope &) const = default;
};

struct APIError {
    QString code;
    std::optional<QString> message_zh;
    bool operator==(const APIError &) const = default;
};

struct APIErrorEnvelope {
    std::optional<QString> request_id;
    APIError error;
    bool operator==(const APIErrorEnvelope &) const = default;
};

// The part of a reading that has arrived while a stream is still coming in.
struct StreamPartial {
    std::optional<QString> tone_label;
    std::optional<QString> summary;
    std::optional<QString> hidden_meaning;
    std::optional<QString> risk_level;
    std::optional<QString> risk_reason;
    bool operator==(const StreamPartial &) const = default;
};

// One "field" event of the stream.
struct FieldEvent {
    QString field;
    std::optional<QString> value;
    bool operator==(const FieldEvent &) const = default;
};

} // namespace tavolen::protocol
