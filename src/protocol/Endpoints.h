// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace tavolen::protocol {

// The service's endpoints, relative to its base URL.
inline constexpr auto kPlainPath = "v1/analyze-screenshot";
inline constexpr auto kStreamPath = "v1/analyze-screenshot-stream";
inline constexpr auto kHealthPath = "v1/health";

// Compiled into the client; the service tells our uploads apart by it.
inline constexpr auto kApiToken = "tavolen_ac7e888992e16208c7c2ab2254a678024402284466e9fa66";

// The name the service's built-in engine gives itself, in the envelope's
// `model` and the health answer's `engine`. It reads and flags risk but
// writes no replies; every other engine is a language model, which does.
inline constexpr auto kBuiltInEngine = "offline";
inline bool engineWritesReplies(const QString &engine)
{
    return engine != QLatin1String(kBuiltInEngine);
}

} // namespace tavolen::protocol
