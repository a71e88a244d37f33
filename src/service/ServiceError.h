// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/Records.h"
#include "service/Engine.h"

#include <QString>

namespace tavolen::service {

// A refusal or failure as the client receives it: an HTTP status and the
// error envelope's code and message. The message is in the upload's
// interface language; the app shows it as it comes.
struct ServiceError {
    int status = 500;
    QString code;
    QString message;
    // For the log line only: what went wrong behind the code (an engine's
    // own account), never the user's picture or text.
    QString detail = {};

    protocol::APIError apiError() const
    {
        return {code, message.isEmpty() ? std::nullopt : std::optional(message)};
    }

    static ServiceError badRequest(bool zh);
    static ServiceError unauthorized(bool zh);
    static ServiceError notFound(bool zh);
    static ServiceError methodNotAllowed(bool zh);
    static ServiceError requestTimeout(bool zh);
    static ServiceError payloadTooLarge(bool zh);
    static ServiceError unsupportedImage(bool zh);
    static ServiceError unreadableImage(bool zh);
    static ServiceError quotaExceeded(bool zh);
    static ServiceError internal(bool zh);
    static ServiceError busy(bool zh);
    static ServiceError readingTimeout(bool zh);
    static ServiceError invalidReading(bool zh);
    // The status of an error that the HTTP layer raised itself.
    static ServiceError forStatus(int status, bool zh);
};

} // namespace tavolen::service
