// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <string>

namespace tavolen::service {

// Whether an Authorization header carries `token` as a bearer token (the
// scheme in any case). Compared without an early exit; an empty token
// matches nothing.
bool bearerMatches(const std::string &authorization, const QString &token);

// The app's X-Request-Id when it is a plain identifier (letters, digits and
// ".:_-", at most 100), else a fresh one: it reaches the envelope and the log.
QString acceptedRequestId(const QString &sent);

} // namespace tavolen::service
