// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "models/ModelServer.h"

namespace tavolen::models {

const std::vector<KnownServer> &knownServers()
{
    static const std::vector<KnownServer> servers{
        {QStringLiteral("Ollama"), 11434, true},
        {QStringLiteral("llama.cpp"), 8080, false},
        {QStringLiteral("LM Studio"), 1234, false},
        {QStringLiteral("vLLM"), 8000, false},
    };
    return servers;
}

} // namespace tavolen::models
