#pragma once

#include <QByteArray>
#include <QList>

#include <chrono>
#include <optional>
#include <utility>

namespace tavolen::test {

// One answer of the scripted test service: a status line and headers, then
// the body in pieces with delays between them, then an ending.
struct ScriptedResponse {
    // How the body's end is told: a Content-Length for all pieces (also
    // those never sent), chunked transfer, or the close of the connection.
    enum class Framing { ContentLength, Chunked, UntilClose };
    // What follows the last piece sent: a proper end (the connection stays
    // open for the next request unless framed by its close), nothing ever
    // (a stall), a graceful close, or a reset (TCP RST).
    enum class Ending { Complete, Stall, Close, Reset };
    struct Piece {
        std::chrono::milliseconds delay{0}; // before this piece is sent
        QByteArray bytes;
    };

    int status = 200;
    QByteArray reason = "OK";
    QList<std::pair<QByteArray, QByteArray>> headers;
    Framing framing = Framing::ContentLength;
    QList<Piece> pieces;
    Ending ending = Ending::Complete;
    int endAfter = -1; // the ending comes after this many pieces; -1: all
    std::chrono::milliseconds headDelay{0};
    bool silent = false;               // never sends anything, not even a head
    std::optional<QByteArray> notHttp; // sent instead of any HTTP, then closed

    // A whole body at once, with a Content-Length.
    static ScriptedResponse body(int status, QByteArray bytes, QByteArray contentType = "application/json");
    // A 200 event stream, chunked, one piece per entry, `gap` before each.
    static ScriptedResponse stream(const QList<QByteArray> &pieces,
                                   std::chrono::milliseconds gap = std::chrono::milliseconds{0});
    static ScriptedResponse silence();
    static ScriptedResponse garbage(QByteArray bytes);

    ScriptedResponse &then(std::chrono::milliseconds delay, QByteArray bytes);
    // The ending comes after `sent` pieces, in place of the next one (after
    // its delay); the rest are never sent.
    ScriptedResponse &endWith(Ending how, int sent = -1);

    int piecesToSend() const
    {
        return endAfter < 0 ? int(pieces.size()) : std::min(endAfter, int(pieces.size()));
    }
};

// Lines of an event stream: "event: NAME" and "data: JSON", each with LF.
QByteArray eventLines(const QByteArray &event, const QByteArray &json);

} // namespace tavolen::test
