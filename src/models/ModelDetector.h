// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "models/ModelServer.h"

#include <qcoro/qcorotask.h>

#include <chrono>
#include <optional>
#include <vector>

class QNetworkAccessManager;

namespace tavolen::models {

// Each server in `candidates` is asked on `host` at once, each within
// `limit`; those that answer with a list of models come back, in the order
// of `candidates`. A server that answers with no model is listed too, so
// that the user learns it runs but has nothing pulled.
QCoro::Task<std::vector<ModelServer>>
detectModelServers(QNetworkAccessManager &network, std::vector<KnownServer> candidates = knownServers(),
                   QString host = QStringLiteral("127.0.0.1"),
                   std::chrono::milliseconds limit = std::chrono::milliseconds(1500));

// The models of an OpenAI-compatible listing ({"data":[{"id":…}]}) or of
// Ollama's own ({"models":[{"name":…}]}); nullopt when `json` is neither.
std::optional<QStringList> modelsInListing(const QByteArray &json);

} // namespace tavolen::models
