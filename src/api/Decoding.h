#pragma once

#include "api/Records.h"

#include <QByteArray>

#include <optional>

namespace tavolen::api {

// Strict decoding of one JSON document: required members present, non-null
// and of their type; optional members missing or null are absent, but of the
// wrong type fail the whole decode; unknown members are ignored. nullopt is
// the only failure callers need.
std::optional<AnalyzeEnvelope> decodeAnalyzeEnvelope(const QByteArray &json);
std::optional<AnalysisResult> decodeAnalysisResult(const QByteArray &json);
std::optional<APIErrorEnvelope> decodeAPIErrorEnvelope(const QByteArray &json);
std::optional<APIError> decodeAPIError(const QByteArray &json);
std::optional<FieldEvent> decodeFieldEvent(const QByteArray &json);

} // namespace tavolen::api
