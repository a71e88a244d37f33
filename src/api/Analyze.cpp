// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "api/Api.h"

#include "api/Upload.h"
#include "protocol/Decoding.h"
#include "protocol/Endpoints.h"

namespace tavolen::api {

namespace {

// A reading is a few kilobytes; an answer of more is not one, and we stop
// collecting it rather than hold (and decode) whatever the peer sends.
constexpr qsizetype kMaxPlainBody = protocol::kMaxAnswerDocument;
// How much Qt may buffer ahead of us before it stops reading the socket.
constexpr qint64 kReadAhead = 256 * 1024;

AnalysisOutcome classify(int status, const std::optional<QByteArray> &body)
{
    if (status == 429)
        return AnalysisError(APIClientError::quotaExceeded());
    if (status == 200) {
        if (body)
            if (std::optional<protocol::AnalyzeEnvelope> envelope = protocol::decodeAnalyzeEnvelope(*body))
                return std::move(*envelope);
        return AnalysisError(APIClientError::decode());
    }
    std::optional<QString> message;
    if (body)
        if (const std::optional<protocol::APIErrorEnvelope> error = protocol::decodeAPIErrorEnvelope(*body))
            message = error->error.message_zh;
    return AnalysisError(APIClientError::http(status, message));
}

} // namespace

QCoro::Task<AnalysisOutcome> analyze(CallContext context, QByteArray imageData, QString uiLang)
{
    const CallLimits limits = context.timeouts.plain;
    UploadRequest upload = multipartRequest(*context.settings, QString::fromLatin1(protocol::kPlainPath),
                                            imageData, uiLang, limits.idle);
    std::unique_ptr<ReplyWatch> watch =
        co_await sendUpload(*context.network, std::move(upload), kReadAhead, limits.total);

    // nullopt once the body has grown past the bound: it counts as unreadable.
    std::optional<QByteArray> body(std::in_place);
    for (;;) {
        if (body) {
            body->append(watch->read(kMaxPlainBody + 1 - body->size()));
            if (body->size() > kMaxPlainBody)
                body.reset();
        }
        // The daily-limit answer needs no body, and an oversized one is not
        // read on: the head alone decides.
        const std::optional<int> status = watch->status();
        if (status && (*status == 429 || !body) && !watch->transportFailure())
            co_return classify(*status, body);
        if (watch->ended())
            break;
        co_await watch->changed();
    }

    if (std::optional<TransportFailure> failure = watch->transportFailure())
        co_return AnalysisError(APIClientError::transport(std::move(*failure)));
    const std::optional<int> status = watch->status();
    if (!status)
        co_return AnalysisError(
            APIClientError::transport(watch->failure(TransportFailure::Kind::noResponse)));
    co_return classify(*status, body);
}

} // namespace tavolen::api
