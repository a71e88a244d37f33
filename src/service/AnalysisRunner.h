// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "service/Engine.h"
#include "service/ReadingGuard.h"
#include "service/ServiceError.h"
#include "service/TextExtractor.h"
#include "service/UploadForm.h"

#include <QByteArray>

#include <chrono>
#include <memory>
#include <variant>

namespace tavolen::service {

// A reading ready to send: the envelope's JSON, already read back with the
// app's own decoder.
struct Reading {
    QByteArray envelopeJson;
};

// The work of one upload, the same for both endpoints: text extraction, the
// engine, and the envelope around its reading.
class AnalysisRunner {
public:
    // The engine is the one the request was handed when it began, kept to
    // its end whatever a reload puts in its place meanwhile.
    AnalysisRunner(TextExtractor &extractor, std::shared_ptr<Engine> engine);

    // The picture's text, then the engine's reading of it. With `onField`,
    // the early fields go there as they are known (see extract and read).
    // `started` is when the request came in, for the envelope's latency.
    std::variant<Reading, ServiceError> run(const Upload &upload, const QString &requestId,
                                            const QString &path,
                                            std::chrono::steady_clock::time_point started,
                                            const FieldSink &onField, const std::atomic<bool> &cancelled);

private:
    // The text of the upload's picture, or the refusal of an unreadable one.
    // With `onField`, fields that the first lines already decide go there
    // while the rest of the picture is read.
    std::variant<ExtractedText, ServiceError>
    extract(const Upload &upload, const std::atomic<bool> &cancelled, const FieldSink &onField = {});

    // Runs the engine on worker thread time; the five early fields go to
    // `onField` (others are dropped). An engine failure or a reading the app
    // could not decode becomes a ServiceError.
    std::variant<Reading, ServiceError> read(const Upload &upload, const ExtractedText &text,
                                             const QString &requestId, const QString &path,
                                             std::chrono::steady_clock::time_point started,
                                             const FieldSink &onField, const std::atomic<bool> &cancelled);

    // For an engine that reads the picture itself: it is asked at once,
    // while the picture's text is read beside it for the risk floor, which
    // holds back its risk fields until it is known.
    std::variant<Reading, ServiceError> runPictureFirst(const Upload &upload, const QString &requestId,
                                                        const QString &path,
                                                        std::chrono::steady_clock::time_point started,
                                                        const FieldSink &onField,
                                                        const std::atomic<bool> &cancelled);

    // The envelope around the engine's outcome, held to the guard and
    // checked with the app's decoder.
    std::variant<Reading, ServiceError> finish(const Upload &upload, EngineOutcome outcome,
                                               const ReadingGuard &guard, const QString &requestId,
                                               const QString &path,
                                               std::chrono::steady_clock::time_point started);

    TextExtractor &m_extractor;
    std::shared_ptr<Engine> m_engine;
};

} // namespace tavolen::service
