// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/Records.h"

#include <QByteArray>
#include <QString>

namespace tavolen::app {

// The lines `tavolen analyze` prints: one compact JSON object each, UTF-8,
// without the line feed. Members come in the records' field order; absent
// optional fields are left out, empty texts are kept.

// {"partial": {...the partial's present fields}}
QByteArray partialLine(const protocol::StreamPartial &partial);
// {"result": {...every present field of the result, flags as an object}}
QByteArray resultLine(const protocol::AnalysisResult &result);
// {"error": TEXT}
QByteArray errorLine(const QString &text);

} // namespace tavolen::app
