#include "support/ScriptedResponse.h"

namespace tavolen::test {

ScriptedResponse ScriptedResponse::body(int status, QByteArray bytes, QByteArray contentType)
{
    ScriptedResponse r;
    r.status = status;
    r.reason = status == 200 ? "OK" : "Scripted";
    r.headers.append(std::pair<QByteArray, QByteArray>("Content-Type", std::move(contentType)));
    r.pieces.append(Piece{std::chrono::milliseconds{0}, std::move(bytes)});
    return r;
}

ScriptedResponse ScriptedResponse::stream(const QList<QByteArray> &pieces, std::chrono::milliseconds gap)
{
    ScriptedResponse r;
    r.framing = Framing::Chunked;
    r.headers.append(std::pair<QByteArray, QByteArray>("Content-Type", "text/event-stream"));
    for (const QByteArray &piece : pieces)
        r.pieces.append(Piece{gap, piece});
    return r;
}

ScriptedResponse ScriptedResponse::silence()
{
    ScriptedResponse r;
    r.silent = true;
    return r;
}

ScriptedResponse ScriptedResponse::garbage(QByteArray bytes)
{
    ScriptedResponse r;
    r.notHttp = std::move(bytes);
    return r;
}

ScriptedResponse &ScriptedResponse::then(std::chrono::milliseconds delay, QByteArray bytes)
{
    pieces.append(Piece{delay, std::move(bytes)});
    return *this;
}

ScriptedResponse &ScriptedResponse::endWith(Ending how, int sent)
{
    ending = how;
    endAfter = sent;
    return *this;
}

QByteArray eventLines(const QByteArray &event, const QByteArray &json)
{
    return "event: " + event + "\ndata: " + json + "\n\n";
}

} // namespace tavolen::test
