// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "service/RequestLog.h"

#include <QDateTime>

#include <cstdio>

namespace tavolen::service {

namespace {

// The path and method come from the network: no line breaks or escapes
// reach the log through them.
QString printable(const QString &text)
{
    QString out = text.left(200);
    for (QChar &c : out)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.isSpace())
            c = QLatin1Char('?');
    return out;
}

} // namespace

QString formatLogLine(const RequestLogEntry &e)
{
    QString line = QStringLiteral("%1 %2 %3 %4 %5ms engine=%6")
                       .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODate), printable(e.method),
                            printable(e.path))
                       .arg(e.status)
                       .arg(e.ms)
                       .arg(e.engine);
    if (!e.requestId.isEmpty())
        line += QStringLiteral(" id=") + e.requestId;
    if (!e.error.isEmpty())
        line += QStringLiteral(" error=") + e.error;
    if (!e.detail.isEmpty()) {
        // One line whatever the detail holds.
        QString detail = e.detail.left(300);
        for (QChar &c : detail)
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                c = QLatin1Char(' ');
        line += QStringLiteral(" detail=\"") + detail + QLatin1Char('"');
    }
    return line;
}

LogSink stderrLog()
{
    return [](const QString &line) {
        const QByteArray bytes = line.toUtf8() + '\n';
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        std::fflush(stderr);
    };
}

} // namespace tavolen::service
