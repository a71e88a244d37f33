// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "models/ModelChoice.h"
#include "models/ModelServer.h"
#include "models/ServiceControl.h"

#include <qcoro/qcorotask.h>

#include <chrono>
#include <optional>

class QNetworkAccessManager;

namespace tavolen::models {

// Where the switch happens: the service to switch and where its
// configuration lives.
struct ServiceTarget {
    QUrl apiBase;
    QString configDir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
};

// How far a switch got.
struct UseOutcome {
    // The model's time to its first token (not set for the built-in engine).
    std::optional<std::chrono::milliseconds> firstToken;
    // Where the key went (None when there was none).
    KeySource keyStored = KeySource::None;
    // The engine the service runs now, once it has switched.
    std::optional<EngineInfo> engine;
    // Why it stopped, in words; empty when it went through.
    QString problem;
    // The keyring did not answer and the user has not allowed a file: asking
    // again with `allowKeyFile` would go through.
    bool needsKeyFileConsent = false;
    bool ok() const { return problem.isEmpty(); }
};

// Checks the model with one tiny streamed completion, stores its key (in
// the keyring; in a file of the user's alone only with `allowKeyFile`),
// writes the choice and has the running service take it, without a restart.
// Nothing is written unless the model answered.
QCoro::Task<UseOutcome> useModel(QNetworkAccessManager &network, ServiceTarget target, ModelEndpoint endpoint,
                                 bool allowKeyFile);

// Back to the built-in engine: the choice is written, the key forgotten,
// and the service switched.
QCoro::Task<UseOutcome> useBuiltIn(QNetworkAccessManager &network, ServiceTarget target);

} // namespace tavolen::models
