#include "support/RecordedRequest.h"

namespace tavolen::test {

namespace {

// The value of `key="value"` in a Content-Disposition header.
QByteArray dispositionParameter(const QByteArray &disposition, const QByteArray &key)
{
    const QByteArray marker = key + "=\"";
    qsizetype at = -1;
    // "name" also occurs inside "filename"; take the one that starts a parameter.
    for (qsizetype from = 0; (at = disposition.indexOf(marker, from)) >= 0; from = at + 1) {
        if (at == 0 || disposition.at(at - 1) == ' ' || disposition.at(at - 1) == ';')
            break;
    }
    if (at < 0)
        return {};
    const qsizetype start = at + marker.size();
    const qsizetype end = disposition.indexOf('"', start);
    return end < 0 ? QByteArray() : disposition.mid(start, end - start);
}

} // namespace

std::optional<QByteArray> headerValue(const HeaderList &headers, QByteArrayView name)
{
    for (const auto &[key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return std::nullopt;
}

std::optional<QList<MultipartPart>> parseMultipart(const QByteArray &body, const QByteArray &boundary)
{
    const QByteArray first = "--" + boundary + "\r\n";
    const QByteArray delimiter = "\r\n--" + boundary;
    if (!body.startsWith(first))
        return std::nullopt;
    QList<MultipartPart> parts;
    qsizetype pos = first.size();
    for (;;) {
        const qsizetype headEnd = body.indexOf("\r\n\r\n", pos);
        if (headEnd < 0)
            return std::nullopt;
        MultipartPart part;
        for (const QByteArray &line : body.mid(pos, headEnd - pos).split('\n')) {
            const QByteArray trimmed = line.trimmed();
            const qsizetype colon = trimmed.indexOf(':');
            if (colon <= 0)
                return std::nullopt;
            part.headers.append({trimmed.left(colon), trimmed.mid(colon + 1).trimmed()});
        }
        const QByteArray disposition =
            headerValue(part.headers, "Content-Disposition").value_or(QByteArray());
        part.name = dispositionParameter(disposition, "name");
        part.filename = dispositionParameter(disposition, "filename");
        const qsizetype contentStart = headEnd + 4;
        const qsizetype next = body.indexOf(delimiter, contentStart);
        if (next < 0)
            return std::nullopt;
        part.body = body.mid(contentStart, next - contentStart);
        parts.append(std::move(part));
        pos = next + delimiter.size();
        if (body.mid(pos) == "--\r\n")
            return parts;
        if (body.mid(pos, 2) != "\r\n")
            return std::nullopt;
        pos += 2;
    }
}

std::optional<QList<MultipartPart>> RecordedRequest::parts() const
{
    const QByteArray type = header("Content-Type").value_or(QByteArray());
    const QByteArray prefix = "multipart/form-data; boundary=";
    if (!type.startsWith(prefix))
        return std::nullopt;
    return parseMultipart(body, type.mid(prefix.size()));
}

} // namespace tavolen::test
