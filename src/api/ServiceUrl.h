// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QUrl>

namespace tavolen {
class SettingsStore;
}

namespace tavolen::api {

// The service's base URL: "api_base" in `settings` when it holds an http(s)
// URL with a host, otherwise the built-in default.
QUrl base(const SettingsStore &settings);
// The built-in default base URL (a build setting).
QUrl defaultBase();
// base() with the endpoint path appended, exactly one "/" between them.
QUrl endpoint(const SettingsStore &settings, const QString &path);
// `url` with `path` appended, exactly one "/" between them.
QUrl joined(QUrl url, const QString &path);

// An http or https URL with a host: one a service (or a model) can be at.
bool usableBase(const QUrl &url);
// The port, or its scheme's default.
int effectivePort(const QUrl &url);

// Scheme, host and port all equal (ports compared with their scheme's default).
bool sameOrigin(const QUrl &a, const QUrl &b);

} // namespace tavolen::api
