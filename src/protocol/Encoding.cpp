// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/Encoding.h"

#include "protocol/Fields.h"

#include <nlohmann/json.hpp>

#include <type_traits>

namespace tavolen::protocol {

namespace {

using json = nlohmann::ordered_json;

json valueOf(const QString &text)
{
    return text.toStdString();
}

json valueOf(bool value)
{
    return value;
}

json valueOf(std::int64_t value)
{
    return value;
}

template <Described Record> json valueOf(const Record &record)
{
    json object = json::object();
    forEachField<Record>([&](const auto &field) {
        const auto &value = record.*field.member;
        if constexpr (kIsOptional<std::remove_cvref_t<decltype(value)>>) {
            if (value)
                object[field.key] = valueOf(*value);
            else if (field.presence == Presence::Nullable)
                object[field.key] = nullptr;
        } else {
            object[field.key] = valueOf(value);
        }
    });
    return object;
}

QByteArray dump(const json &value)
{
    // QString::toStdString gives valid UTF-8 (lone surrogates become U+FFFD),
    // so nothing is ever replaced here; replace rather than throw regardless.
    return QByteArray::fromStdString(value.dump(-1, ' ', false, json::error_handler_t::replace));
}

} // namespace

QByteArray encodeAnalysisResult(const AnalysisResult &result)
{
    return dump(valueOf(result));
}

QByteArray encodeAnalyzeEnvelope(const AnalyzeEnvelope &envelope)
{
    return dump(valueOf(envelope));
}

QByteArray encodeAPIError(const APIError &error)
{
    return dump(valueOf(error));
}

QByteArray encodeAPIErrorEnvelope(const APIErrorEnvelope &envelope)
{
    return dump(valueOf(envelope));
}

QByteArray encodeFieldEvent(const FieldEvent &event)
{
    return dump(valueOf(event));
}

QByteArray encodeStreamPartial(const StreamPartial &partial)
{
    return dump(valueOf(partial));
}

QByteArray encodeText(const QString &text)
{
    return dump(json(text.toStdString()));
}

} // namespace tavolen::protocol
