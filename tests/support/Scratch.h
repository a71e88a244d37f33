// SPDX-FileCopyrightText: 2026 The Tavolen developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFile>
#include <QTcpServer>

#include <sys/stat.h>

namespace tavolen::test {

// A loopback port nothing listens on: one the kernel handed out and took back.
inline quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

// Writes `content` to `path`, replacing it, with permissions `mode`; the path.
inline QString writeFile(const QString &path, const QByteArray &content, int mode = 0600)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
    file.close();
    ::chmod(QFile::encodeName(path).constData(), mode_t(mode));
    return path;
}

// The permission bits of `path`; -1 when there is nothing there.
inline int modeOf(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return int(st.st_mode & 0777);
}

} // namespace tavolen::test
