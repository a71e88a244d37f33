// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/Records.h"

#include <QByteArray>

namespace tavolen::protocol {

// The records as the service writes them: one compact JSON document, UTF-8,
// members in the order of their tables in Fields.h, absent optional members
// left out (a nullable one written as null), empty texts kept. What decode*() of Decoding.h reads back
// unchanged.
QByteArray encodeAnalysisResult(const AnalysisResult &result);
QByteArray encodeAnalyzeEnvelope(const AnalyzeEnvelope &envelope);
QByteArray encodeAPIError(const APIError &error);
QByteArray encodeAPIErrorEnvelope(const APIErrorEnvelope &envelope);
QByteArray encodeFieldEvent(const FieldEvent &event);
// The fields of a partial reading that have arrived.
QByteArray encodeStreamPartial(const StreamPartial &partial);
// One text as a JSON string.
QByteArray encodeText(const QString &text);

} // namespace tavolen::protocol
