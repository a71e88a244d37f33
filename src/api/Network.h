// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "api/Api.h"

namespace tavolen::api {

// Wakes the service before an upload; returns at once, never reports anything.
void warmUp(const CallContext &context);

} // namespace tavolen::api
