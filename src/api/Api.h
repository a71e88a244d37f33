// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "api/APIClientError.h"
#include "protocol/Records.h"
#include "protocol/StreamReader.h"

#include <QByteArray>
#include <QString>

#include <qcoro/qcorotask.h>

#include <chrono>
#include <functional>

class QNetworkAccessManager;

namespace tavolen {
class SettingsStore;
}

namespace tavolen::api {

// Called on the GUI thread with the whole partial reading received so far;
// the next line is not read until it has returned.
using PartialHandler = std::function<void(const protocol::StreamPartial &)>;

// How long one call may take.
struct CallLimits {
    // The longest wait for the connection or for more data.
    std::chrono::milliseconds idle;
    // The whole call, however steadily data arrives: a slow but honest
    // model answers well within it, a service that trickles or streams
    // without end does not keep a run (and the app) busy for ever.
    std::chrono::milliseconds total;
};

struct Timeouts {
    // A plain answer comes only once the whole reading is written, which
    // takes a slow model up to about half a minute.
    CallLimits plain{std::chrono::seconds(25), std::chrono::seconds(60)};
    // A stream shows its first field within seconds and its result about as
    // late as a plain answer would come; 90 s leaves it room for a slow start.
    CallLimits stream{std::chrono::seconds(45), std::chrono::seconds(90)};
};
// What a call needs from the app, copied into each call: the HTTP client, the
// settings that hold the service's address ("api_base", read afresh on every
// call) and this installation's id, and the time limits (tests shorten them
// so that a stall takes seconds, not a minute). The manager and the store
// must outlive every call.
struct CallContext {
    QNetworkAccessManager *network = nullptr;
    SettingsStore *settings = nullptr;
    Timeouts timeouts;
};

// The plain call: uploads the JPEG and decodes the whole answer.
QCoro::Task<AnalysisOutcome> analyze(CallContext context, QByteArray imageData, QString uiLang);

// The streaming call: hands each accepted field to onPartial as it arrives and
// returns the final envelope.
QCoro::Task<AnalysisOutcome> analyzeStream(CallContext context, QByteArray imageData, QString uiLang,
                                           PartialHandler onPartial);

// The client's error for a stream that failed: one it cannot read is a
// decode failure; an error event is the service's own failure, as status 503
// (its status was 200 by then) with the service's message.
APIClientError streamError(const protocol::StreamReader::Failed &failed);

} // namespace tavolen::api
