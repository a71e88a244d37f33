#pragma once

#include <QByteArray>
#include <QList>

#include <optional>
#include <utility>

namespace tavolen::test {

using HeaderList = QList<std::pair<QByteArray, QByteArray>>;

// The first value of a header, names compared case-insensitively.
std::optional<QByteArray> headerValue(const HeaderList &headers, QByteArrayView name);

// One part of a multipart/form-data body, as it arrived.
struct MultipartPart {
    HeaderList headers;
    QByteArray name;     // from Content-Disposition
    QByteArray filename; // from Content-Disposition; empty when none
    QByteArray body;
};

// Parses a multipart body strictly: it must open with the first delimiter,
// and close with the final one and its CRLF, with nothing after it.
std::optional<QList<MultipartPart>> parseMultipart(const QByteArray &body, const QByteArray &boundary);

// One request as the scripted service received it, and what became of its
// answer.
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

    std::optional<QByteArray> header(QByteArrayView name) const { return headerValue(headers, name); }
    // The boundary of the Content-Type header, then the body's parts.
    std::optional<QList<MultipartPart>> parts() const;
};

} // namespace tavolen::test
