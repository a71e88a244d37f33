#pragma once

#include "api/APIClientError.h"
#include "api/Records.h"

#include <QByteArray>
#include <QString>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <functional>

namespace tavolen::api {

// Called on the GUI thread with the whole partial reading received so far;
// the next line is not read until it has returned.
using PartialHandler = std::function<void(const StreamPartial &)>;

// Idle time-outs: the longest wait for the connection or for more data.
struct Timeouts {
    std::chrono::milliseconds plain{25000};
    std::chrono::milliseconds stream{45000};
};
// Process-wide; tests shorten them so a stall takes seconds, not a minute.
Timeouts &timeouts();

// The plain call: uploads the JPEG and decodes the whole answer.
QCoro::Task<AnalysisOutcome> analyze(QByteArray imageData, QString uiLang);

// The streaming call: hands each accepted field to onPartial as it arrives and
// returns the final envelope.
QCoro::Task<AnalysisOutcome> analyzeStream(QByteArray imageData, QString uiLang, PartialHandler onPartial);

} // namespace tavolen::api
