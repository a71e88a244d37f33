// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/Records.h"

#include <optional>
#include <string_view>
#include <tuple>

namespace tavolen::protocol {

// Each record's members as JSON members, in the order they are written: the
// one table that the encoder and the decoder both walk.

// How a member appears in a document.
enum class Presence {
    // Present, non-null and of its type.
    Required,
    // Missing or null means absent; left out when absent.
    Optional,
    // As Optional, but written as null when absent.
    Nullable,
};

template <class Record, class Member> struct Field {
    const char *key;
    Member Record::*member;
    Presence presence;
};

template <class T> inline constexpr bool kIsOptional = false;
template <class T> inline constexpr bool kIsOptional<std::optional<T>> = true;

// An absent value needs an optional member, and an optional member may be absent.
template <class Record, class Member>
constexpr Field<Record, Member> required(const char *key, Member Record::*m)
{
    static_assert(!kIsOptional<Member>, "a required member is never absent");
    return {key, m, Presence::Required};
}
template <class Record, class Member>
constexpr Field<Record, std::optional<Member>> optional(const char *key, std::optional<Member> Record::*m)
{
    return {key, m, Presence::Optional};
}
template <class Record, class Member>
constexpr Field<Record, std::optional<Member>> nullable(const char *key, std::optional<Member> Record::*m)
{
    return {key, m, Presence::Nullable};
}

// The table of a record: a tuple of Field.
template <class Record> struct Schema;

template <class T>
concept Described = requires
{
    Schema<T>::fields;
};

// Calls `f` with each of Record's fields, in the table's order.
template <Described Record, class F> constexpr void forEachField(F &&f)
{
    std::apply([&](const auto &...field) { (f(field), ...); }, Schema<Record>::fields);
}

template <Described Record> constexpr bool hasField(std::string_view key)
{
    bool found = false;
    forEachField<Record>([&](const auto &field) { found = found || key == field.key; });
    return found;
}

template <> struct Schema<Flags> {
    static constexpr std::tuple fields{
        required("no_text_detected", &Flags::no_text_detected),
        required("sensitive_pii", &Flags::sensitive_pii),
        required("unsupported", &Flags::unsupported),
    };
};

template <> struct Schema<AnalysisResult> {
    using R = AnalysisResult;
    static constexpr std::tuple fields{
        required("platform", &R::platform),
        required("content_type", &R::content_type),
        required("detected_language", &R::detected_language),
        required("summary", &R::summary),
        optional("hidden_meaning", &R::hidden_meaning),
        optional("full_translation", &R::full_translation),
        required("tone", &R::tone),
        optional("tone_label", &R::tone_label),
        required("intent", &R::intent),
        required("risk_level", &R::risk_level),
        optional("risk_reason", &R::risk_reason),
        required("recommended_action", &R::recommended_action),
        required("action_reason", &R::action_reason),
        required("auto_copy", &R::auto_copy),
        optional("respondable", &R::respondable),
        optional("reply_language", &R::reply_language),
        optional("best_reply", &R::best_reply),
        optional("short_reply", &R::short_reply),
        optional("alternative_reply", &R::alternative_reply),
        optional("best_reply_label", &R::best_reply_label),
        optional("alternative_reply_label", &R::alternative_reply_label),
        optional("best_reply_gloss", &R::best_reply_gloss),
        optional("short_reply_gloss", &R::short_reply_gloss),
        optional("alternative_reply_gloss", &R::alternative_reply_gloss),
        required("flags", &R::flags),
    };
};

template <> struct Schema<AnalyzeEnvelope> {
    using R = AnalyzeEnvelope;
    static constexpr std::tuple fields{
        required("request_id", &R::request_id), required("schema_version", &R::schema_version),
        required("model", &R::model),           required("path", &R::path),
        required("latency_ms", &R::latency_ms), required("result", &R::result),
    };
};

template <> struct Schema<APIError> {
    static constexpr std::tuple fields{
        required("code", &APIError::code),
        optional("message_zh", &APIError::message_zh),
    };
};

template <> struct Schema<APIErrorEnvelope> {
    static constexpr std::tuple fields{
        optional("request_id", &APIErrorEnvelope::request_id),
        required("error", &APIErrorEnvelope::error),
    };
};

template <> struct Schema<FieldEvent> {
    static constexpr std::tuple fields{
        required("field", &FieldEvent::field),
        nullable("value", &FieldEvent::value),
    };
};

// The fields a stream may send ahead of the result.
template <> struct Schema<StreamPartial> {
    using R = StreamPartial;
    static constexpr std::tuple fields{
        optional("tone_label", &R::tone_label),         optional("summary", &R::summary),
        optional("hidden_meaning", &R::hidden_meaning), optional("risk_level", &R::risk_level),
        optional("risk_reason", &R::risk_reason),
    };
};

// Each early field is a field of the reading, under the same name.
static_assert([] {
    bool all = true;
    forEachField<StreamPartial>([&](const auto &field) { all = all && hasField<AnalysisResult>(field.key); });
    return all;
}());

} // namespace tavolen::protocol
