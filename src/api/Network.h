// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QNetworkAccessManager;

namespace tavolen::api {

// The one HTTP client of the process; no disk cache, nothing written to disk.
QNetworkAccessManager &network();

// Wakes the service before an upload; returns at once, never reports anything.
void warmUp();

} // namespace tavolen::api
