// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/Decoding.h"

#include "protocol/Fields.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>
#include <type_traits>

namespace tavolen::protocol {

namespace {

using json = nlohmann::json;

// Thrown inside this file only, to abandon a decode at the first bad member;
// it never leaves the decode functions.
struct Invalid {};

const json &requiredMember(const json &object, const char *key)
{
    auto it = object.find(key);
    if (it == object.end() || it->is_null())
        throw Invalid{};
    return *it;
}

// The member, or nullptr when it is missing or null.
const json *member(const json &object, const char *key)
{
    auto it = object.find(key);
    if (it == object.end() || it->is_null())
        return nullptr;
    return &*it;
}

QString asText(const json &value)
{
    if (!value.is_string())
        throw Invalid{};
    return QString::fromStdString(value.get_ref<const std::string &>());
}

bool asBool(const json &value)
{
    if (!value.is_boolean())
        throw Invalid{};
    return value.get<bool>();
}

std::int64_t asInt64(const json &value)
{
    if (value.is_number_integer()) {
        if (value.is_number_unsigned() &&
            value.get<std::uint64_t>() > std::uint64_t(std::numeric_limits<std::int64_t>::max()))
            throw Invalid{};
        return value.get<std::int64_t>();
    }
    if (value.is_number_float()) {
        // 12.0 is integral; 12.5 or 1e30 is not an int64. A literal just past the
        // range arrives here rounded to -2^63, so that bound is excluded too.
        const double d = value.get<double>();
        if (std::trunc(d) != d || d <= -9223372036854775808.0 || d >= 9223372036854775808.0)
            throw Invalid{};
        return static_cast<std::int64_t>(d);
    }
    throw Invalid{};
}

const json &asObject(const json &value)
{
    if (!value.is_object())
        throw Invalid{};
    return value;
}

void readInto(const json &value, QString &out)
{
    out = asText(value);
}

void readInto(const json &value, bool &out)
{
    out = asBool(value);
}

void readInto(const json &value, std::int64_t &out)
{
    out = asInt64(value);
}

template <Described Record> void readInto(const json &value, Record &out)
{
    const json &object = asObject(value);
    forEachField<Record>([&](const auto &field) {
        auto &slot = out.*field.member;
        if constexpr (kIsOptional<std::remove_cvref_t<decltype(slot)>>) {
            if (const json *present = member(object, field.key))
                readInto(*present, slot.emplace());
        } else {
            readInto(requiredMember(object, field.key), slot);
        }
    });
}

template <Described Record> Record recordFrom(const json &value)
{
    Record record;
    readInto(value, record);
    return record;
}

} // namespace

bool shallowEnough(QByteArrayView bytes)
{
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : bytes) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxNesting)
                return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

namespace {

template <class T, class F> std::optional<T> decode(const QByteArray &bytes, F from)
{
    // A hostile document of a few hundred kilobytes could otherwise cost
    // hundreds of megabytes and seconds of the GUI thread as a tree.
    if (bytes.size() > kMaxAnswerDocument || !shallowEnough(bytes))
        return std::nullopt;
    // Parsing rejects malformed JSON and ill-formed UTF-8 inside strings.
    const json doc = json::parse(bytes.begin(), bytes.end(), nullptr, /*allow_exceptions=*/false);
    if (doc.is_discarded())
        return std::nullopt;
    try {
        return from(doc);
    } catch (const Invalid &) {
        return std::nullopt;
    } catch (const json::exception &) {
        return std::nullopt;
    }
}

} // namespace

std::optional<AnalyzeEnvelope> decodeAnalyzeEnvelope(const QByteArray &json)
{
    return decode<AnalyzeEnvelope>(json, recordFrom<AnalyzeEnvelope>);
}

std::optional<AnalysisResult> decodeAnalysisResult(const QByteArray &json)
{
    return decode<AnalysisResult>(json, recordFrom<AnalysisResult>);
}

std::optional<APIErrorEnvelope> decodeAPIErrorEnvelope(const QByteArray &json)
{
    return decode<APIErrorEnvelope>(json, recordFrom<APIErrorEnvelope>);
}

std::optional<APIError> decodeAPIError(const QByteArray &json)
{
    return decode<APIError>(json, recordFrom<APIError>);
}

std::optional<FieldEvent> decodeFieldEvent(const QByteArray &json)
{
    return decode<FieldEvent>(json, recordFrom<FieldEvent>);
}

} // namespace tavolen::protocol
