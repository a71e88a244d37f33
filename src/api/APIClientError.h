// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "api/TransportFailure.h"
#include "core/PlatformError.h"
#include "core/Result.h"
#include "protocol/Records.h"

#include <QString>

#include <optional>
#include <variant>

namespace tavolen::api {

// The analysis client's one error type: a value that says what happened.
// The panel words it when it is shown, so the words follow a language
// change made after the failure.
class APIClientError {
public:
    // The service answered with a status other than 200 and 429, or reported
    // an error inside a stream.
    struct Http {
        int status = 0;
        std::optional<QString> message;
        bool operator==(const Http &) const = default;
    };
    // No usable HTTP answer.
    struct Transport {
        TransportFailure failure;
        bool operator==(const Transport &) const = default;
    };
    // The daily allowance is used up (status 429).
    struct QuotaExceeded {
        bool operator==(const QuotaExceeded &) const = default;
    };
    // The success answer is unreadable.
    struct Decode {
        bool operator==(const Decode &) const = default;
    };
    using Case = std::variant<Http, Transport, QuotaExceeded, Decode>;

    static APIClientError http(int status, std::optional<QString> message = std::nullopt);
    static APIClientError transport(TransportFailure failure);
    static APIClientError quotaExceeded();
    static APIClientError decode();

    const Case &value() const { return m_case; }
    bool isQuotaExceeded() const { return std::holds_alternative<QuotaExceeded>(m_case); }

    bool operator==(const APIClientError &) const = default;

private:
    explicit APIClientError(Case c) : m_case(std::move(c)) {}
    Case m_case;
};

// What an analysis call can fail with: the client's own error, or a platform
// error passed on unchanged.
using AnalysisError = std::variant<APIClientError, PlatformError>;
using AnalysisOutcome = Result<protocol::AnalyzeEnvelope, AnalysisError>;

bool isQuotaExceeded(const AnalysisError &error);
// The outcome's kind for a log ("ok", "http 503", "transport refused"...):
// never the service's message or anything of the reading.
QString logSummary(const AnalysisOutcome &outcome);

} // namespace tavolen::api
