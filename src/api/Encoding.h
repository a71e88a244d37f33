// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "api/Records.h"

#include <QByteArray>

namespace tavolen::api {

// The records as the service writes them: one compact JSON document, UTF-8,
// members in the records' field order, absent optional members left out,
// empty texts kept. What decode*() of Decoding.h reads back unchanged.
QByteArray encodeAnalysisResult(const AnalysisResult &result);
QByteArray encodeAnalyzeEnvelope(const AnalyzeEnvelope &envelope);
QByteArray encodeAPIError(const APIError &error);
QByteArray encodeAPIErrorEnvelope(const APIErrorEnvelope &envelope);
QByteArray encodeFieldEvent(const FieldEvent &event);
// The fields of a partial reading that have arrived.
QByteArray encodeStreamPartial(const StreamPartial &partial);
// One text as a JSON string.
QByteArray encodeText(const QString &text);

} // namespace tavolen::api
