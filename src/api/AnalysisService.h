// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "api/Api.h"

namespace tavolen::api {

// The analysis calls as the capture flow sees them, so that the flow can be
// driven by a fake in tests.
class AnalysisService {
public:
    virtual ~AnalysisService() = default;
    // Fire-and-forget; returns at once.
    virtual void warmUp() = 0;
    // Streams the reading; onPartial runs on the GUI thread between reads.
    virtual QCoro::Task<AnalysisOutcome> analyzeStream(QByteArray jpeg, QString uiLang,
                                                       PartialHandler onPartial) = 0;
    // One plain upload, whole answer.
    virtual QCoro::Task<AnalysisOutcome> analyze(QByteArray jpeg, QString uiLang) = 0;
};

// The real service over HTTP.
class NetworkAnalysisService final : public AnalysisService {
public:
    // `network` and `settings` (the service's address, this installation's
    // id) must outlive every call started; `network` should have no cache.
    NetworkAnalysisService(QNetworkAccessManager &network, SettingsStore &settings, Timeouts timeouts = {})
        : m_context{&network, &settings, timeouts}
    {}

    void warmUp() override;
    QCoro::Task<AnalysisOutcome> analyzeStream(QByteArray jpeg, QString uiLang,
                                               PartialHandler onPartial) override;
    QCoro::Task<AnalysisOutcome> analyze(QByteArray jpeg, QString uiLang) override;

private:
    CallContext m_context;
};

enum class AnalysisMode { StreamFirst, PlainOnly };

// The one analysis policy, shared by the capture flow and the command line:
// stream first; on any failure but the daily-limit answer, the plain call once
// with the same JPEG (the stream's error is dropped). The interface language
// is read again for the fallback, as it may have changed meanwhile.
QCoro::Task<AnalysisOutcome> runAnalysis(AnalysisService &service, QByteArray jpeg, PartialHandler onPartial,
                                         AnalysisMode mode = AnalysisMode::StreamFirst);

} // namespace tavolen::api
