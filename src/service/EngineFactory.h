// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/Engine.h"
#include "service/ServiceConfig.h"

#include <memory>

namespace tavolen::service {

// The engine the configuration asks for: `offline` unless a model is
// configured (or "engine" says so). nullptr with `error` set when the
// configuration asks for an engine it cannot have.
std::unique_ptr<Engine> makeEngine(const ServiceConfig &config, QString &error);

} // namespace tavolen::service
