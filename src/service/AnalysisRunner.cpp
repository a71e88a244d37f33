// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/AnalysisRunner.h"

#include "core/Log.h"
#include "protocol/Decoding.h"
#include "protocol/Encoding.h"
#include "protocol/StreamReader.h"
#include "service/FloorGate.h"
#include "service/JpegDecoding.h"
#include "service/ReadingGuard.h"

#include <QElapsedTimer>

#include <thread>

namespace tavolen::service {

namespace {
// The envelope's schema version.
constexpr auto kSchemaVersion = "1";
} // namespace

AnalysisRunner::AnalysisRunner(TextExtractor &extractor, std::shared_ptr<Engine> engine)
    : m_extractor(extractor), m_engine(std::move(engine))
{}

std::variant<ExtractedText, ServiceError>
AnalysisRunner::extract(const Upload &upload, const std::atomic<bool> &cancelled, const FieldSink &onField)
{
    // An engine that can say something from the first lines gets them
    // while the rest of the page is read.
    TextSoFar early;
    if (onField) {
        const FieldSink guarded = [onField](const protocol::FieldEvent &event) {
            if (const std::optional<protocol::FieldEvent> field = ReadingGuard::beforeTheFloor(event))
                onField(*field);
        };
        if (auto reader = m_engine->firstLinesReader(guarded))
            early = [reader](const ExtractedText &part) { reader(part.text); };
    }
    QElapsedTimer timer;
    timer.start();
    std::optional<ExtractedText> text = m_extractor.extract(upload.jpeg, cancelled, early);
    // Sizes and times only: never the text read.
    qCDebug(lcService).noquote() << "text extraction:" << (text ? "ok" : "nothing readable") << "in"
                                 << timer.elapsed() << "ms," << (text ? text->text.size() : 0)
                                 << "characters," << (text ? text->language : QString());
    if (!text)
        return ServiceError::unreadableImage(prefersChinese(upload.uiLanguage));
    return *text;
}

std::variant<Reading, ServiceError> AnalysisRunner::run(const Upload &upload, const QString &requestId,
                                                        const QString &path,
                                                        std::chrono::steady_clock::time_point started,
                                                        const FieldSink &onField,
                                                        const std::atomic<bool> &cancelled)
{
    if (m_engine->readsPictures())
        return runPictureFirst(upload, requestId, path, started, onField, cancelled);
    std::variant<ExtractedText, ServiceError> text = extract(upload, cancelled, onField);
    if (const auto *refusal = std::get_if<ServiceError>(&text))
        return *refusal;
    const FieldSink fields = onField ? onField : [](const protocol::FieldEvent &) {};
    return read(upload, std::get<ExtractedText>(text), requestId, path, started, fields, cancelled);
}

std::variant<Reading, ServiceError> AnalysisRunner::read(const Upload &upload, const ExtractedText &text,
                                                         const QString &requestId, const QString &path,
                                                         std::chrono::steady_clock::time_point started,
                                                         const FieldSink &onField,
                                                         const std::atomic<bool> &cancelled)
{
    const AnalysisInput input{text.text, text.language, upload.jpeg, upload.uiLanguage};
    // The floor is known before the engine runs, so that not even an early
    // field can rate the text lower than the phrase lists do.
    ReadingGuard guard(text.text, upload.uiLanguage);
    const FieldSink early = [&](const protocol::FieldEvent &event) {
        if (protocol::isPartialField(event.field))
            guard.passField(event, onField);
    };
    EngineOutcome outcome = m_engine->analyze(input, early, cancelled);
    return finish(upload, std::move(outcome), guard, requestId, path, started);
}

std::variant<Reading, ServiceError>
AnalysisRunner::runPictureFirst(const Upload &upload, const QString &requestId, const QString &path,
                                std::chrono::steady_clock::time_point started, const FieldSink &onField,
                                const std::atomic<bool> &cancelled)
{
    // A picture the extractor could not open is one the model cannot
    // either: it is refused before anyone is asked.
    if (!jpegSize(upload.jpeg))
        return ServiceError::unreadableImage(prefersChinese(upload.uiLanguage));
    FloorGate gate(onField ? onField : [](const protocol::FieldEvent &) {});
    std::variant<ExtractedText, ServiceError> text = ServiceError{};
    EngineOutcome outcome;
    {
        // Recognising a page takes a few hundred milliseconds, which the
        // model spends reading the picture anyway; the text is only needed
        // for the floor, before the first risk field goes out.
        const std::jthread reader([&] {
            text = extract(upload, cancelled);
            const auto *read = std::get_if<ExtractedText>(&text);
            gate.floorKnown(read ? read->text : QString(), upload.uiLanguage);
        });
        const AnalysisInput input{QString(), QString(), upload.jpeg, upload.uiLanguage};
        outcome = m_engine->analyze(
            input,
            [&gate](const protocol::FieldEvent &event) {
                if (protocol::isPartialField(event.field))
                    gate.pass(event);
            },
            cancelled);
    }
    if (const auto *refusal = std::get_if<ServiceError>(&text))
        return *refusal;
    return finish(upload, std::move(outcome), gate.guard(), requestId, path, started);
}

std::variant<Reading, ServiceError> AnalysisRunner::finish(const Upload &upload, EngineOutcome outcome,
                                                           const ReadingGuard &guard,
                                                           const QString &requestId, const QString &path,
                                                           std::chrono::steady_clock::time_point started)
{
    const bool zh = prefersChinese(upload.uiLanguage);
    if (auto *failure = std::get_if<EngineFailure>(&outcome)) {
        qCDebug(lcService).noquote() << "engine" << m_engine->name() << "failed:" << failure->code;
        ServiceError e{502, failure->code.isEmpty() ? QStringLiteral("engine_failed") : failure->code,
                       failure->message_zh.value_or(ServiceError::invalidReading(zh).message),
                       failure->detail};
        return e;
    }
    protocol::AnalyzeEnvelope envelope;
    envelope.request_id = requestId;
    envelope.schema_version = QLatin1String(kSchemaVersion);
    envelope.model = m_engine->name();
    envelope.path = path;
    envelope.latency_ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started)
            .count();
    envelope.result = std::get<protocol::AnalysisResult>(std::move(outcome));
    if (const QStringList changes = guard.apply(envelope.result); !changes.isEmpty())
        qCDebug(lcService).noquote() << "engine" << m_engine->name()
                                     << "reading held to the guard:" << changes.join(u", ") << "(risk floor"
                                     << guard.floorLevel() << ")";

    // What leaves here is what the app will read: checked with its decoder.
    Reading reading{protocol::encodeAnalyzeEnvelope(envelope)};
    const std::optional<protocol::AnalyzeEnvelope> back =
        protocol::decodeAnalyzeEnvelope(reading.envelopeJson);
    if (!back || *back != envelope)
        return ServiceError::invalidReading(zh);
    qCDebug(lcService).noquote() << "engine" << m_engine->name() << "read it in" << envelope.latency_ms
                                 << "ms";
    return reading;
}

} // namespace tavolen::service
