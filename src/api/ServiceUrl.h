// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QUrl>

namespace tavolen::api {

inline constexpr auto kPlainPath = "v1/analyze-screenshot";
inline constexpr auto kStreamPath = "v1/analyze-screenshot-stream";
inline constexpr auto kHealthPath = "v1/health";

// Compiled into the client; the service tells our uploads apart by it.
inline constexpr auto kApiToken = "tavolen_ac7e888992e16208c7c2ab2254a678024402284466e9fa66";

// The service's base URL: "api_base" when it holds an http(s) URL with a host,
// otherwise the built-in default. Read afresh on every use.
QUrl base();
// The built-in default base URL (a build setting).
QUrl defaultBase();
// base() with the endpoint path appended, exactly one "/" between them.
QUrl endpoint(const QString &path);

// Scheme, host and port all equal (ports compared with their scheme's default).
bool sameOrigin(const QUrl &a, const QUrl &b);

} // namespace tavolen::api
