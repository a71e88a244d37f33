#pragma once

#include "support/RecordedRequest.h"
#include "support/ScriptedResponse.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QQueue>
#include <QString>
#include <QThread>

#include <chrono>
#include <functional>
#include <memory>

class QObject;

namespace tavolen::test {

// What the service's thread and the test share, under one lock.
struct ScriptedState {
    mutable QMutex mutex;
    QHash<QByteArray, QQueue<ScriptedResponse>> scripts;
    QList<RecordedRequest> requests;
    std::optional<ScriptedResponse> fallback;
};

// A real HTTP/1.1 server on 127.0.0.1 (an ephemeral port) that answers from
// a script. It runs on a thread of its own, so its timing holds whatever the
// test's thread is doing, and records every request it receives.
class ScriptedServer {
public:
    ScriptedServer();
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer &) = delete;
    ScriptedServer &operator=(const ScriptedServer &) = delete;

    quint16 port() const { return m_port; }
    // "http://127.0.0.1:PORT", ready for "api_base".
    QString baseUrl() const;

    // Answers for `path` in the order given, one a request. A request with
    // nothing scripted gets 200 "{}" on /v1/health and 404 elsewhere.
    void script(const QByteArray &path, ScriptedResponse response);
    // The answer to every request with nothing scripted for its path.
    void setFallback(ScriptedResponse response);

    // Every request received so far, in order of arrival; or those for one path.
    QList<RecordedRequest> requests() const;
    QList<RecordedRequest> requests(const QByteArray &path) const;

    // Keeps the calling thread's events flowing until `done` holds or the
    // time is up; the result of the last check.
    bool waitUntil(const std::function<bool()> &done,
                   std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
    // The answer to request `index` (in arrival order) has left the Answering
    // fate; its record, or nullopt after the timeout.
    std::optional<RecordedRequest>
    waitForFate(int index, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;

private:
    std::shared_ptr<ScriptedState> m_state = std::make_shared<ScriptedState>();
    QThread m_thread;
    QObject *m_home = nullptr; // lives on m_thread; parent of the listener and connections
    quint16 m_port = 0;
};

} // namespace tavolen::test
