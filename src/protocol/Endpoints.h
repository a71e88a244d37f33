// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace tavolen::protocol {

// The service's endpoints, relative to its base URL.
inline constexpr auto kPlainPath = "v1/analyze-screenshot";
inline constexpr auto kStreamPath = "v1/analyze-screenshot-stream";
inline constexpr auto kHealthPath = "v1/health";

// Compiled into the client; the service tells our uploads apart by it.
inline constexpr auto kApiToken = "tavolen_ac7e888992e16208c7c2ab2254a678024402284466e9fa66";

} // namespace tavolen::protocol
