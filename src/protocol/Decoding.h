// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "protocol/Records.h"

#include <QByteArray>

#include <optional>

namespace tavolen::protocol {

// The largest document decoded: a whole plain answer, or one stream line's
// payload. A reading is a few kilobytes.
inline constexpr qsizetype kMaxAnswerDocument = 1024 * 1024;
// Arrays and objects nested deeper than this are refused before any of the
// tree is built; our records nest three deep.
inline constexpr int kMaxNesting = 64;

// Strict decoding of one JSON document: required members present, non-null
// and of their type; optional members missing or null are absent, but of the
// wrong type fail the whole decode; unknown members are ignored. nullopt is
// the only failure callers need, also for documents larger or deeper than
// the bounds above.
std::optional<AnalyzeEnvelope> decodeAnalyzeEnvelope(const QByteArray &json);
std::optional<AnalysisResult> decodeAnalysisResult(const QByteArray &json);
std::optional<APIErrorEnvelope> decodeAPIErrorEnvelope(const QByteArray &json);
std::optional<APIError> decodeAPIError(const QByteArray &json);
std::optional<FieldEvent> decodeFieldEvent(const QByteArray &json);

// Whether arrays and objects in `json` nest no deeper than kMaxNesting, in
// one pass over the text (brackets inside strings do not count). Checked
// before a tree is built: parsing, printing and freeing a tree recurse once
// a level.
bool shallowEnough(QByteArrayView json);

} // namespace tavolen::protocol
