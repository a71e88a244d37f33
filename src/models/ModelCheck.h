// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "models/ModelServer.h"

#include <qcoro/qcorotask.h>

#include <chrono>
#include <variant>

class QNetworkAccessManager;

namespace tavolen::models {

// Why a model could not be used.
struct CheckFailure {
    enum class Kind {
        BadAddress,  // not an http(s) URL with a host
        Unreachable, // nothing answers there
        TimedOut,    // no token within the limit
        KeyRefused,  // 401 or 403: a key is missing or wrong
        NoSuchModel, // 404: the server has no model by that name
        ServerError, // another status
        NotStreamed, // 200, but no streamed completion came
    };
    Kind kind;
    int status = 0;
    // The server's own message, when it gave one (shortened).
    QString serverMessage;
};

using CheckOutcome = std::variant<std::chrono::milliseconds, CheckFailure>;

// Asks for one tiny streamed chat completion, as the service's engine would,
// and gives the time to its first token, or why there is none. Loading a
// large model can take a local server half a minute, hence the long limit.
QCoro::Task<CheckOutcome> checkModel(QNetworkAccessManager &network, ModelEndpoint endpoint,
                                     std::chrono::milliseconds limit = std::chrono::seconds(60));

// The failure in the user's words, in the interface language.
QString describe(const CheckFailure &failure, const ModelEndpoint &endpoint);

} // namespace tavolen::models
