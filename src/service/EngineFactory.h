// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/Engine.h"
#include "service/ServiceConfig.h"

#include <functional>
#include <memory>

namespace tavolen::service {

// The engine the configuration asks for: `offline` unless a model is
// configured (or "engine" says so). nullptr with `error` set when the
// configuration asks for an engine it cannot have.
std::unique_ptr<Engine> makeEngine(const ServiceConfig &config, QString &error);

// The engine, or why there is none (a sentence that never holds a key).
using EngineBuilt = std::function<void(std::unique_ptr<Engine> engine, const QString &error)>;

// makeEngine, after reading the model's API key from where the configuration
// says (the keyring, or the key file in `configDir`). `done` is called at once
// unless the key is in the keyring, then from the calling thread's event
// loop. A key that cannot be read is an error, never an engine without it.
void buildEngine(ServiceConfig config, const QString &configDir, EngineBuilt done);

} // namespace tavolen::service
