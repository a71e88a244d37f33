// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/LineSplitter.h"
#include "protocol/Records.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <variant>

namespace tavolen::protocol {

// Whether `name` is one of the fields a stream may send ahead of the result
// (the members of StreamPartial).
bool isPartialField(const QString &name);

// Interprets the streamed answer of the analysis service, free of any
// network code: bytes go in as they arrive, and each call of next() reports
// the next thing the caller must act on. Only lines that begin exactly with
// "event:" or "data:" count; the event name set by an event line holds for
// every data line after it, blank lines included.

class StreamReader {
public:
    // Every buffered line has been read; wait for more bytes.
    struct NeedMore {
        bool operator==(const NeedMore &) const = default;
    };
    // An accepted field event: the whole partial reading so far.
    struct Partial {
        StreamPartial partial;
        bool operator==(const Partial &) const = default;
    };
    // A decodable "result": the call's answer. Nothing more is to be read.
    struct Done {
        AnalyzeEnvelope envelope;
        bool operator==(const Done &) const = default;
    };
    // The call fails; nothing more is to be read.
    struct Failed {
        // An overlong line, an unreadable result, or a body that ended
        // without a result.
        struct Malformed {
            bool operator==(const Malformed &) const = default;
        };
        // The service reported an error in the stream, with its message
        // when it gave a readable one.
        struct ErrorEvent {
            std::optional<QString> message_zh;
            bool operator==(const ErrorEvent &) const = default;
        };
        std::variant<Malformed, ErrorEvent> reason;
        bool operator==(const Failed &) const = default;
    };
    using Step = std::variant<NeedMore, Partial, Done, Failed>;

    explicit StreamReader(qsizetype maxLineLength = kMaxStreamLine) : m_lines(maxLineLength) {}

    void append(QByteArrayView bytes) { m_lines.append(bytes); }
    // The body has ended; the last line may lack its terminator.
    void endOfBody();

    // Reads lines until one needs the caller (a partial, the end) or until
    // the buffered lines run out.
    Step next();

private:
    // NeedMore when the line changes nothing the caller must see.
    Step interpret(const QByteArray &line);
    Step onData(const QByteArray &payload);

    LineSplitter m_lines;
    QByteArray m_event;
    StreamPartial m_partial;
    bool m_ended = false;
};

} // namespace tavolen::protocol
