// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "protocol/StreamReader.h"

#include "protocol/Decoding.h"
#include "protocol/Fields.h"
#include "protocol/TrimSpaces.h"

namespace tavolen::protocol {

namespace {

// The partial's member a field event names, or nullptr for any other name.
std::optional<QString> *slotFor(StreamPartial &partial, const QString &name)
{
    std::optional<QString> *slot = nullptr;
    forEachField<StreamPartial>([&](const auto &field) {
        if (!slot && name == QLatin1String(field.key))
            slot = &(partial.*field.member);
    });
    return slot;
}

} // namespace

bool isPartialField(const QString &name)
{
    StreamPartial probe;
    return slotFor(probe, name) != nullptr;
}

void StreamReader::endOfBody()
{
    m_lines.close();
    m_ended = true;
}

StreamReader::Step StreamReader::next()
{
    while (const auto line = m_lines.next()) {
        Step step = interpret(*line);
        if (!std::holds_alternative<NeedMore>(step))
            return step;
    }
    // An overlong line cannot be a document we would accept; a body that
    // ends without a result has not given us an answer.
    if (m_lines.overflowed() || m_ended)
        return Failed{Failed::Malformed{}};
    return NeedMore{};
}

StreamReader::Step StreamReader::interpret(const QByteArray &line)
{
    if (line.startsWith("event:")) {
        m_event = trimSpaces(QByteArrayView(line).sliced(6)).toByteArray();
        return NeedMore{};
    }
    if (line.startsWith("data:"))
        return onData(trimSpaces(QByteArrayView(line).sliced(5)).toByteArray());
    return NeedMore{};
}

StreamReader::Step StreamReader::onData(const QByteArray &payload)
{
    if (m_event == "field") {
        // A field event we cannot read, or one for another field, changes nothing.
        std::optional<FieldEvent> event = decodeFieldEvent(payload);
        std::optional<QString> *slot = event ? slotFor(m_partial, event->field) : nullptr;
        if (!slot)
            return NeedMore{};
        *slot = std::move(event->value);
        return Partial{m_partial};
    }
    if (m_event == "result") {
        if (std::optional<AnalyzeEnvelope> envelope = decodeAnalyzeEnvelope(payload))
            return Done{std::move(*envelope)};
        return Failed{Failed::Malformed{}};
    }
    if (m_event == "error") {
        const std::optional<APIError> error = decodeAPIError(payload);
        return Failed{Failed::ErrorEvent{error ? error->message_zh : std::nullopt}};
    }
    return NeedMore{};
}

} // namespace tavolen::protocol
