// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/WlCopyClipboard.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

namespace tavolen::platform {

WlCopyClipboard::WlCopyClipboard(QString program)
    : m_program(program.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("wl-copy"))
                                  : std::move(program))
{}

void WlCopyClipboard::replaceWithText(const QString &text, const QList<ClipboardMarker> &markers)
{
    if (m_program.isEmpty()) {
        m_fallback.replaceWithText(text, markers);
        return;
    }
    // wl-copy forks a server that keeps the text and exits itself once
    // another copy replaces it; the process started here ends at once.
    auto *process = new QProcess(QCoreApplication::instance());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    QObject::connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            process->deleteLater();
    });
    process->start(m_program, {QStringLiteral("--type"), QStringLiteral("text/plain;charset=utf-8")});
    process->write(text.toUtf8());
    process->closeWriteChannel();
}

} // namespace tavolen::platform
