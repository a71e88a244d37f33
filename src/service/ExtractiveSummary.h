// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace tavolen::service {

// The first meaningful sentence or two of the content, trimmed to a length a
// glance takes in; empty when there is no content.
QString extractiveSummary(const QString &text);

} // namespace tavolen::service
