// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/Api.h"

#include "api/Upload.h"
#include "protocol/Endpoints.h"
#include "protocol/StreamReader.h"

#include <qcoro/qcorotimer.h>

namespace tavolen::api {

namespace {

using namespace std::chrono_literals;

// Lines are taken from the reply a slice at a time, and Qt buffers at most
// this much ahead of us, so a fast peer cannot fill memory while the partial
// handler runs.
constexpr qint64 kSlice = 64 * 1024;
constexpr qint64 kReadAhead = 2 * protocol::kMaxStreamLine;

AnalysisError failed(TransportFailure failure)
{
    return APIClientError::transport(std::move(failure));
}

} // namespace

APIClientError streamError(const protocol::StreamReader::Failed &failed)
{
    if (const auto *event = std::get_if<protocol::StreamReader::Failed::ErrorEvent>(&failed.reason))
        return APIClientError::http(503, event->message_zh);
    return APIClientError::decode();
}

QCoro::Task<AnalysisOutcome> analyzeStream(CallContext context, QByteArray imageData, QString uiLang,
                                           PartialHandler onPartial)
{
    const CallLimits limits = context.timeouts.stream;
    UploadRequest upload = multipartRequest(*context.settings, QString::fromLatin1(protocol::kStreamPath),
                                            imageData, uiLang, limits.idle);
    std::unique_ptr<ReplyWatch> watch =
        co_await sendUpload(*context.network, std::move(upload), kReadAhead, limits.total);

    // The head decides before any line is read.
    const std::optional<int> status = watch->status();
    if (!status) {
        if (std::optional<TransportFailure> failure = watch->transportFailure())
            co_return failed(std::move(*failure));
        co_return failed(watch->failure(TransportFailure::Kind::noResponse));
    }
    if (*status == 429)
        co_return AnalysisError(APIClientError::quotaExceeded());
    if (*status != 200)
        co_return AnalysisError(APIClientError::http(*status));

    protocol::StreamReader reader;
    for (;;) {
        const QByteArray slice = watch->read(kSlice);
        const bool more = !slice.isEmpty();
        if (more) {
            reader.append(slice);
        } else if (watch->ended()) {
            // Lines that arrived before a failure still count; the rest of an
            // unterminated line does not, as the body did not end.
            if (std::optional<TransportFailure> failure = watch->transportFailure())
                co_return failed(std::move(*failure));
            reader.endOfBody();
        }
        for (;;) {
            protocol::StreamReader::Step step = reader.next();
            if (auto *partial = std::get_if<protocol::StreamReader::Partial>(&step)) {
                // Runs here, on the caller's (GUI) thread; nothing more is
                // read until it returns.
                if (onPartial)
                    onPartial(partial->partial);
                // Lets the GUI thread paint and run its timers (the deadline
                // among them) between partials, however fast they come.
                co_await QCoro::sleepFor(0ms);
                if (watch->timedOut())
                    co_return failed(watch->transportFailure().value_or(
                        watch->failure(TransportFailure::Kind::idleTimeout)));
                continue;
            }
            if (auto *done = std::get_if<protocol::StreamReader::Done>(&step))
                co_return std::move(done->envelope); // the watch aborts the rest
            if (auto *failed = std::get_if<protocol::StreamReader::Failed>(&step))
                co_return AnalysisError(streamError(*failed));
            break;
        }
        // Qt refills its buffer only once the event loop runs, so between
        // two waits we handle at most the read-ahead.
        if (!more && !watch->ended())
            co_await watch->changed();
    }
}

} // namespace tavolen::api
