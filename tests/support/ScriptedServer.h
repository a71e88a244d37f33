// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QQueue>
#include <QString>
#include <QThread>

#include <chrono>
#include <memory>
#include <optional>
#include <utility>

namespace tavolen::test {

using HeaderList = QList<std::pair<QByteArray, QByteArray>>;

// The first value of a header, names compared case-insensitively.
std::optional<QByteArray> headerValue(const HeaderList &headers, QByteArrayView name);

// One request as the scripted service received it, and what became of its answer.
struct RecordedRequest {
    enum class Fate {
        Answering, // the script is still running (or stalls)
        Completed, // every piece and the ending went out
        ClientLeft // the client closed the connection before the script ended
    };

    QByteArray method;
    QByteArray path;
    HeaderList headers;
    QByteArray body;
    Fate fate = Fate::Answering;
    int piecesSent = 0;
    qint64 bytesSent = 0; // of the answer, as the kernel took them from the service

    std::optional<QByteArray> header(QByteArrayView name) const { return headerValue(headers, name); }
    // The JPEG in the upload: from its start marker to its end marker (the
    // exact layout of the body is checked where it is built).
    QByteArray jpeg() const
    {
        return body.mid(body.indexOf("\xFF\xD8"),
                        body.lastIndexOf("\xFF\xD9") + 2 - body.indexOf("\xFF\xD8"));
    }
};

// One answer: a status line and headers, then the body in pieces with delays
// between them, then an ending.
struct ScriptedResponse {
    // A Content-Length for all pieces (also those never sent), or chunked.
    enum class Framing { ContentLength, Chunked };
    // After the last piece sent: a proper end (the connection stays open for
    // the next request), nothing ever (a stall), a graceful close, or a reset.
    enum class Ending { Complete, Stall, Close, Reset };
    struct Piece {
        std::chrono::milliseconds delay{0}; // before this piece is sent
        QByteArray bytes;
    };

    int status = 200;
    HeaderList headers{};
    Framing framing = Framing::ContentLength;
    QList<Piece> pieces{};
    Ending ending = Ending::Complete;
    int endAfter = -1;                   // the ending comes after this many pieces; -1: all
    bool silent = false;                 // never sends anything, not even a head
    std::optional<QByteArray> notHttp{}; // sent instead of any HTTP, then closed
    // After the pieces: this unit again and again, as fast as the client
    // takes it (or one every `endlessGap`), for `endlessFor`; then the ending.
    QByteArray endlessUnit{};
    std::chrono::milliseconds endlessGap{0};
    std::chrono::milliseconds endlessFor{std::chrono::minutes(5)};

    // A whole body at once, with a Content-Length.
    static ScriptedResponse body(int status, QByteArray bytes, QByteArray contentType = "application/json")
    {
        return {status, {{"Content-Type", contentType}}, Framing::ContentLength, {{{}, bytes}}};
    }
    // A 200 event stream, chunked, one piece per entry, `gap` before each.
    static ScriptedResponse stream(const QList<QByteArray> &pieces, std::chrono::milliseconds gap = {})
    {
        ScriptedResponse r{200, {{"Content-Type", "text/event-stream"}}, Framing::Chunked};
        for (const QByteArray &piece : pieces)
            r.pieces.append({gap, piece});
        return r;
    }
    // A 200 that never ends (chunked): `unit` for ever, `gap` before each.
    static ScriptedResponse endless(QByteArray unit, std::chrono::milliseconds gap = {})
    {
        ScriptedResponse r = stream({});
        r.endlessUnit = std::move(unit);
        r.endlessGap = gap;
        return r;
    }
    // A model's chat-completions stream writing `text` a few characters a
    // chunk, then [DONE].
    static ScriptedResponse modelWrites(const QByteArray &text);
    static ScriptedResponse silence() { return {.silent = true}; }
    static ScriptedResponse garbage(QByteArray bytes) { return {.notHttp = bytes}; }

    ScriptedResponse &then(std::chrono::milliseconds delay, QByteArray bytes)
    {
        pieces.append({delay, bytes});
        return *this;
    }
    // The ending comes after `sent` pieces, in place of the next one (after
    // its delay); the rest are never sent.
    ScriptedResponse &endWith(Ending how, int sent = -1)
    {
        ending = how;
        endAfter = sent;
        return *this;
    }

    int piecesToSend() const
    {
        return endAfter < 0 ? int(pieces.size()) : std::min(endAfter, int(pieces.size()));
    }
};

// Lines of an event stream: "event: NAME" and "data: JSON", each with LF.
inline QByteArray eventLines(const QByteArray &event, const QByteArray &json)
{
    return "event: " + event + "\ndata: " + json + "\n\n";
}
// A "field" event whose value is the text `value`.
inline QByteArray fieldLines(const QByteArray &field, const QByteArray &value)
{
    return eventLines("field", R"({"field":")" + field + R"(","value":")" + value + "\"}");
}

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
    // On `port`, or any free one; listening() says whether it got it.
    explicit ScriptedServer(quint16 port = 0);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer &) = delete;
    ScriptedServer &operator=(const ScriptedServer &) = delete;

    bool listening() const { return m_port != 0; }
    int port() const { return m_port; }
    // "http://127.0.0.1:PORT", ready for "api_base".
    QString baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }

    // Answers for `path` in the order given, one a request. A request with
    // nothing scripted gets 200 "{}" on /v1/health and 404 elsewhere.
    void script(const QByteArray &path, ScriptedResponse response)
    {
        QMutexLocker lock(&m_state->mutex);
        m_state->scripts[path].enqueue(std::move(response));
    }
    // The answer to every request with nothing scripted for its path.
    void setFallback(ScriptedResponse response)
    {
        QMutexLocker lock(&m_state->mutex);
        m_state->fallback = std::move(response);
    }

    // Every request received so far, in order of arrival; or those for one path.
    QList<RecordedRequest> requests() const
    {
        QMutexLocker lock(&m_state->mutex);
        return m_state->requests;
    }
    QList<RecordedRequest> requests(const QByteArray &path) const
    {
        QList<RecordedRequest> out;
        for (const RecordedRequest &r : requests())
            if (r.path == path)
                out.append(r);
        return out;
    }

private:
    std::shared_ptr<ScriptedState> m_state = std::make_shared<ScriptedState>();
    QThread m_thread;
    QObject *m_home = nullptr; // lives on m_thread; parent of the listener and connections
    quint16 m_port = 0;
};

} // namespace tavolen::test
